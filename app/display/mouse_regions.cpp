#include "app/display/mouse_regions.h"

namespace qv::display {

Region RegionAt(int32_t x, int32_t y, const Slider& slider) {
  if (x >= 94 && x <= 141 && y >= 37 && y <= 44) return Region::TimeToggle;
  if (x > 10 && x < 145 && y > 290 && y < 300) return Region::Seek;
  if (x > 153 && x < 161 && y > 292 && y < 300) return Region::Mute;
  if (x >= slider.x && x < slider.x + slider.width && y >= slider.y + 1 && y < slider.y + 1 + slider.height)
    return Region::Volume;
  if (x > 235 && x <= 252 && y > 24 && y <= 33) return Region::Repeat;
  if (x > 217 && x <= 234 && y > 22 && y <= 33) return Region::Shuffle;
  return Region::None;
}

bool InCaptionStrip(int32_t x, int32_t y) { return x > 0 && x <= 210 && y > 0 && y <= 25; }

bool InArrow(int32_t x, int32_t y, const ArrowArea& arrow) {
  return x >= arrow.x && x < arrow.x + arrow.width && y >= arrow.y && y < arrow.y + arrow.height;
}

}  // namespace qv::display
