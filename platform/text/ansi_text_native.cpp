#include "platform/text/ansi_text.h"

namespace qv {

namespace {

// Windows-1252 at 0x80-0x9F; the undefined positions map to themselves as
// Windows does. Everything else equals its Latin-1 code point.
constexpr char16_t kHigh[32] = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

}  // namespace

std::u16string AnsiToU16(std::string_view text) {
  std::u16string out;
  out.reserve(text.size());
  for (char c : text) {
    const unsigned char b = static_cast<unsigned char>(c);
    out += (b >= 0x80 && b < 0xA0) ? kHigh[b - 0x80] : static_cast<char16_t>(b);
  }
  return out;
}

}  // namespace qv
