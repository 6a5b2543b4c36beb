#include <windows.h>

#include "platform/text/ansi_text.h"
#include "platform/text/utf16.h"

namespace qv {

std::u16string AnsiToU16(std::string_view text) {
  if (text.empty()) return {};
  const int length = static_cast<int>(text.size());
  const int units = MultiByteToWideChar(CP_ACP, 0, text.data(), length, nullptr, 0);
  if (units <= 0) return {};
  std::u16string out(static_cast<size_t>(units), u'\0');
  MultiByteToWideChar(CP_ACP, 0, text.data(), length, AsWide(out.data()), units);
  return out;
}

}  // namespace qv
