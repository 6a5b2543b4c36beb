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

int64_t StdioFileSize(std::FILE* file) {
#ifdef _WIN32
  if (_fseeki64(file, 0, SEEK_END) != 0) return -1;
  const int64_t size = _ftelli64(file);
  if (_fseeki64(file, 0, SEEK_SET) != 0) return -1;
#else
  if (fseeko(file, 0, SEEK_END) != 0) return -1;
  const int64_t size = ftello(file);
  if (fseeko(file, 0, SEEK_SET) != 0) return -1;
#endif
  return size;
}

}  // namespace qv
