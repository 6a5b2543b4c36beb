// The mouse regions of the painted display.
#pragma once

#include <cstdint>

#include "app/display/display_layout.h"

namespace qv::display {

enum class Region { None, TimeToggle, Seek, Mute, Volume, Repeat, Shuffle };

// The region a left press at client (x, y) reaches, tested in the display's
// order. The volume region follows the slider's values, so a skin without a
// slider has none.
Region RegionAt(int32_t x, int32_t y, const Slider& slider);

// A press in these regions is not passed on to the playlist view and banner.
inline bool EndsPress(Region r) { return r == Region::Seek || r == Region::Mute; }

// The top strip that drags the window: 0 < x <= 210 and 0 < y <= 25.
bool InCaptionStrip(int32_t x, int32_t y);

// True when (x, y) lies inside the arrow's rectangle.
bool InArrow(int32_t x, int32_t y, const ArrowArea& arrow);

}  // namespace qv::display
