// Files opened by a UTF-16 path. Windows opens the wide name directly; the
// native build converts it to UTF-8.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

enum class FileMode {
  Read,          // existing file, read only; others may read and write it
  ReadWrite,     // existing file, read and write
  CreateAlways,  // new or truncated file, read and write
};

class WideFile {
 public:
  WideFile() = default;
  ~WideFile() { Close(); }
  WideFile(const WideFile&) = delete;
  WideFile& operator=(const WideFile&) = delete;
  WideFile(WideFile&& other) noexcept : handle_(other.handle_) { other.handle_ = kClosed; }
  WideFile& operator=(WideFile&& other) noexcept;

  bool Open(std::u16string_view path, FileMode mode);
  void Close();
  bool IsOpen() const { return handle_ != kClosed; }

  // Bytes read (0 at the end), or -1 on failure.
  int64_t Read(void* buffer, size_t size);
  // Bytes written, or -1 on failure.
  int64_t Write(const void* buffer, size_t size);
  // Absolute position; false when the position is negative or the seek fails.
  bool Seek(int64_t offset);
  int64_t Tell() const;
  int64_t Size() const;

 private:
  static constexpr intptr_t kClosed = -1;
  intptr_t handle_ = kClosed;
};

bool WideFileExists(std::u16string_view path);

// Reads a whole file of at most maxBytes; false when it cannot be opened or
// read, or is larger.
bool ReadWholeFile(std::u16string_view path, size_t maxBytes, std::vector<uint8_t>& out);

}  // namespace qv
