#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>

#include "platform/files/wide_file.h"
#include "platform/text/utf16.h"

namespace qv {

bool WideFile::Open(std::u16string_view path, FileMode mode) {
  Close();
  if (path.empty()) return false;
  std::string name = ToUtf8(path);
  int flags = O_CLOEXEC;
  switch (mode) {
    case FileMode::Read: flags |= O_RDONLY; break;
    case FileMode::ReadWrite: flags |= O_RDWR; break;
    case FileMode::CreateAlways: flags |= O_RDWR | O_CREAT | O_TRUNC; break;
  }
  int fd = ::open(name.c_str(), flags, 0644);
  if (fd < 0) return false;
  struct stat st;
  if (fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
    ::close(fd);
    return false;
  }
  handle_ = fd;
  return true;
}

void WideFile::Close() {
  if (handle_ != kClosed) ::close(static_cast<int>(handle_));
  handle_ = kClosed;
}

int64_t WideFile::Read(void* buffer, size_t size) {
  if (!IsOpen()) return -1;
  ssize_t n;
  do n = ::read(static_cast<int>(handle_), buffer, size);
  while (n < 0 && errno == EINTR);
  return n;
}

int64_t WideFile::Write(const void* buffer, size_t size) {
  if (!IsOpen()) return -1;
  ssize_t n;
  do n = ::write(static_cast<int>(handle_), buffer, size);
  while (n < 0 && errno == EINTR);
  return n;
}

bool WideFile::Seek(int64_t offset) {
  if (!IsOpen() || offset < 0) return false;
  return ::lseek(static_cast<int>(handle_), static_cast<off_t>(offset), SEEK_SET) == offset;
}

int64_t WideFile::Tell() const {
  if (!IsOpen()) return -1;
  return ::lseek(static_cast<int>(handle_), 0, SEEK_CUR);
}

int64_t WideFile::Size() const {
  if (!IsOpen()) return -1;
  struct stat st;
  if (fstat(static_cast<int>(handle_), &st) != 0) return -1;
  return st.st_size;
}

bool WideFileExists(std::u16string_view path) {
  if (path.empty()) return false;
  struct stat st;
  return ::stat(ToUtf8(path).c_str(), &st) == 0 && !S_ISDIR(st.st_mode);
}

}  // namespace qv
