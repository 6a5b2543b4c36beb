#include "app/skin/colour.h"

#include "app/skin/decimal.h"

namespace qv {

int32_t ParseColour(std::u16string_view text) {
  size_t first = text.find(u',');
  if (first == std::u16string_view::npos) return kNoColour;
  size_t second = text.find(u',', first + 1);
  if (second == std::u16string_view::npos) return kNoColour;
  uint32_t red = static_cast<uint32_t>(ParseDecimalPrefix(text.substr(0, first)));
  uint32_t green = static_cast<uint32_t>(ParseDecimalPrefix(text.substr(first + 1, second - first - 1)));
  uint32_t blue = static_cast<uint32_t>(ParseDecimalPrefix(text.substr(second + 1)));
  return static_cast<int32_t>((red & 0xFF) | ((green << 8) & 0xFFFF) | ((blue << 16) & 0xFFFFFF));
}

}  // namespace qv
