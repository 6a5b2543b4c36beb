#include "app/display/text_scroll.h"

namespace qv::display {

bool TextScroll::SetTextWidth(int32_t width) {
  int32_t period = (width > 0 ? width : 0) + gap_;
  if (period == period_) return false;
  period_ = period;
  offset_ = 0;
  ticks_ = 0;
  return true;
}

bool TextScroll::OnTick(bool scrollOption) {
  if (ticks_ < 2) ++ticks_;
  if (ticks_ < 2 || !scrollOption || !Wider()) return false;
  offset_ += 8;
  return true;
}

void TextScroll::Normalize() {
  if (period_ <= 0) return;
  while (offset_ >= area_) offset_ -= period_;
  if (offset_ >= period_) offset_ = 0;
}

std::vector<int32_t> TextScroll::StripPositions(int32_t areaX) const {
  std::vector<int32_t> xs;
  if (period_ <= 0) return xs;
  // The strip repeats every period: start with the copy that covers the
  // area's left edge (the offset may be negative after Normalize).
  int32_t first = areaX - offset_;
  while (first > areaX) first -= period_;
  while (first + period_ <= areaX) first += period_;
  for (int32_t x = first; x < areaX + area_; x += period_) xs.push_back(x);
  return xs;
}

}  // namespace qv::display
