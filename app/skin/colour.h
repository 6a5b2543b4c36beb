// Colours of the skin file: "red,green,blue" in decimal.
#pragma once

#include <cstdint>
#include <string_view>

namespace qv {

// A colour value laid out as the Windows COLORREF (red in the low byte).
using ColourRef = uint32_t;
// ParseColour's answer for text that is not a colour.
constexpr int32_t kNoColour = -1;

inline constexpr ColourRef MakeColour(int red, int green, int blue) {
  return ColourRef(red & 0xFF) | (ColourRef(green & 0xFF) << 8) | (ColourRef(blue & 0xFF) << 16);
}

// Three comma-separated decimal numbers, each cut to its low 8 bits; -1 when
// the text lacks one of the two commas.
int32_t ParseColour(std::u16string_view text);

}  // namespace qv
