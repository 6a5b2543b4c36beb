#include "platform/files/wide_file.h"

namespace qv {

WideFile& WideFile::operator=(WideFile&& other) noexcept {
  if (this != &other) {
    Close();
    handle_ = other.handle_;
    other.handle_ = kClosed;
  }
  return *this;
}

bool ReadWholeFile(std::u16string_view path, size_t maxBytes, std::vector<uint8_t>& out) {
  out.clear();
  WideFile file;
  if (!file.Open(path, FileMode::Read)) return false;
  int64_t size = file.Size();
  if (size < 0 || static_cast<uint64_t>(size) > maxBytes) return false;
  out.resize(static_cast<size_t>(size));
  size_t done = 0;
  while (done < out.size()) {
    int64_t n = file.Read(out.data() + done, out.size() - done);
    if (n <= 0) break;
    done += static_cast<size_t>(n);
  }
  out.resize(done);  // a file that shrank while being read gives what was there
  return true;
}

}  // namespace qv
