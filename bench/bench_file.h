// Opens a file named in UTF-8 for reading, by its wide name on Windows, so
// that the benchmarks open any path the player can.
#pragma once

#include <cstdio>
#include <string>

#include "platform/text/utf16.h"

namespace bench {

inline std::FILE* OpenForReading(const std::string& utf8) {
#ifdef _WIN32
  return _wfopen(qv::AsWide(qv::FromUtf8(utf8).c_str()), L"rb");
#else
  return std::fopen(utf8.c_str(), "rb");
#endif
}

}  // namespace bench
