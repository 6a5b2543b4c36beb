// Scrolling of the title and the stream information line: a text wider than
// its 160-pixel area moves left by 8 pixels every 500 ms, followed by a gap
// of 25 pixels and its own beginning again.
#pragma once

#include <cstdint>
#include <vector>

namespace qv::display {

class TextScroll {
 public:
  explicit TextScroll(int32_t areaWidth = 160, int32_t gap = 25) : area_(areaWidth), gap_(gap) {}

  // After the text was measured. True when the period changed: the line's
  // timer is stopped and the scroll starts over; it runs again only when
  // Wider() (a text exactly as wide as the area stays still).
  bool SetTextWidth(int32_t width);
  bool Wider() const { return period_ - gap_ > area_; }
  int32_t Period() const { return period_; }
  int32_t Offset() const { return offset_; }

  // A timer tick. True when the line must be repainted: from the second
  // tick on, with the scrolling option on and a text wider than the area.
  bool OnTick(bool scrollOption);

  // Brings the offset back into the text's cycle before drawing.
  void Normalize();

  // Whether the text is drawn once at the area's left edge (not scrolling).
  bool DrawnStill(bool scrollOption) const { return !scrollOption || !Wider(); }

  // Left edges (client x, for an area starting at areaX) of the copies of the
  // text strip (one period wide) that cover the area; callers clip to it.
  std::vector<int32_t> StripPositions(int32_t areaX) const;

 private:
  int32_t area_;
  int32_t gap_;
  int32_t period_ = 0;
  int32_t offset_ = 0;
  int32_t ticks_ = 0;
};

}  // namespace qv::display
