#include "app/display/pointer_controls.h"

#include <algorithm>

namespace qv::display {

SeekThumb SeekThumbAt(int32_t positionMs, int32_t lengthMs) {
  if (positionMs <= 0) return {true, 0};
  int64_t length = lengthMs > 0 ? lengthMs : 1;
  int64_t x = static_cast<int64_t>(kSeekSpan) * positionMs / length;
  return {false, static_cast<int32_t>(std::clamp<int64_t>(x, 0, kSeekSpan))};
}

int32_t SeekPositionFromX(int32_t x, int32_t lengthMs) {
  if (lengthMs <= 0) return 0;
  double position = static_cast<double>(x - kSeekX) / (kSeekWidth - 9) * lengthMs;
  return static_cast<int32_t>(std::clamp(position, 0.0, static_cast<double>(lengthMs)));
}

int32_t VolumeFromX(int32_t x, const Slider& slider) {
  int32_t travel = slider.width - slider.thumbWidth + 1;
  if (travel <= 0) return 0;
  double v = static_cast<double>(x - slider.x - slider.thumbWidth / 2) * kMaxVolume / travel;
  return static_cast<int32_t>(std::clamp(v, 0.0, static_cast<double>(kMaxVolume)));
}

int32_t VolumeLevelPixels(int32_t volume, const Slider& slider) {
  double perStep = static_cast<double>(slider.width - slider.thumbWidth) / kMaxVolume;
  return static_cast<int32_t>(perStep * std::clamp(volume, 0, kMaxVolume));
}

int32_t SteppedVolume(int32_t volume, int32_t delta) {
  return std::clamp(volume + delta, 0, kMaxVolume);
}

}  // namespace qv::display
