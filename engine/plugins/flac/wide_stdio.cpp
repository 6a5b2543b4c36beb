#include "engine/plugins/flac/wide_stdio.h"

#include <string>

#include "platform/text/utf16.h"

#ifdef _WIN32
#include <stdio.h>
#endif

namespace qv {

std::FILE* OpenWideStdio(const char16_t* path) {
  if (!path || !path[0]) return nullptr;
#ifdef _WIN32
  return _wfopen(AsWide(path), L"rb");
#else
  return std::fopen(ToUtf8(path).c_str(), "rb");
#endif
}

namespace {

bool SeekFrom(std::FILE* file, int64_t offset, int origin) {
#ifdef _WIN32
  return _fseeki64(file, offset, origin) == 0;
#else
  return fseeko(file, static_cast<off_t>(offset), origin) == 0;
#endif
}

}  // namespace

int64_t StdioFileSize(std::FILE* file) {
  if (!SeekFrom(file, 0, SEEK_END)) return -1;
  const int64_t size = StdioTell(file);
  if (!SeekFrom(file, 0, SEEK_SET)) return -1;
  return size;
}

bool StdioSeek(std::FILE* file, int64_t offset) {
  if (offset < 0 || !SeekFrom(file, offset, SEEK_SET)) return false;
  std::clearerr(file);
  return true;
}

int64_t StdioTell(std::FILE* file) {
#ifdef _WIN32
  return _ftelli64(file);
#else
  return static_cast<int64_t>(ftello(file));
#endif
}

}  // namespace qv
