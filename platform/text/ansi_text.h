// 8-bit text in the system's ANSI code page, as old file formats store it
// (ID3 version 1 tags). Windows converts with the active code page; the
// native build reads Windows-1252, the usual western one.
#pragma once

#include <string>
#include <string_view>

namespace qv {

std::u16string AnsiToU16(std::string_view text);

}  // namespace qv
