// Decimal numbers as the skin files write them: leading blanks, an optional
// sign, digits; anything after the digits is ignored and no digits read as 0.
#pragma once

#include <cstdint>
#include <string_view>

namespace qv {

// Values beyond the 32-bit range saturate instead of overflowing.
int32_t ParseDecimalPrefix(std::u16string_view text);

}  // namespace qv
