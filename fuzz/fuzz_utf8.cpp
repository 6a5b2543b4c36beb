// UTF-8 and UTF-16 conversions take names from files and playlists: any bytes
// must convert without overrun, and valid text must survive a round trip.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/text/utf16.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  std::u16string wide = qv::FromUtf8(bytes);
  std::string back = qv::ToUtf8(wide);
  // Whatever came in, the result is valid UTF-8 and converts back unchanged.
  if (qv::FromUtf8(back) != wide) std::abort();

  std::u16string units(size / 2, u'\0');
  for (size_t i = 0; i < units.size(); ++i) units[i] = char16_t(data[2 * i] | (data[2 * i + 1] << 8));
  std::string utf8 = qv::ToUtf8(units);
  if (qv::ToUtf8(qv::FromUtf8(utf8)) != utf8) std::abort();

  char16_t fixed[8];
  qv::U16CopyTruncated(fixed, sizeof fixed / sizeof fixed[0], wide);
  if (qv::U16Length(fixed) > 7) std::abort();
  return 0;
}
