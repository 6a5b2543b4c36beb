// 8-bit text as the INI-style files hold it. Windows decodes it in the system
// code page (as a text-mode C file would be read); elsewhere it is taken as
// UTF-8.
#pragma once

#include <string>
#include <string_view>

namespace qv {

std::u16string DecodeAnsiText(std::string_view bytes);

}  // namespace qv
