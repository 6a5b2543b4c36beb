#include "app/skin/ansi_text.h"

#include "platform/text/utf16.h"

namespace qv {

std::u16string DecodeAnsiText(std::string_view bytes) { return FromUtf8(bytes); }

}  // namespace qv
