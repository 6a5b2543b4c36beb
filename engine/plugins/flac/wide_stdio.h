// Standard-library files opened by a UTF-16 path, for libraries that read
// from a FILE*: _wfopen on Windows, the UTF-8 name natively.
#pragma once

#include <cstdint>
#include <cstdio>

namespace qv {

// Opens an existing file for reading in binary mode; null when it cannot.
std::FILE* OpenWideStdio(const char16_t* path);

// The file's size in bytes, leaving its position at the start; -1 on failure.
int64_t StdioFileSize(std::FILE* file);

// 64-bit positions: an absolute seek (false on failure; it also clears the
// end-of-file indicator) and the current position (-1 on failure).
bool StdioSeek(std::FILE* file, int64_t offset);
int64_t StdioTell(std::FILE* file);

}  // namespace qv
