// Reads a WideFile through a buffer, for libraries that read a few hundred
// bytes at a time (Tremor): one system read per buffer instead of one per
// call, which counts most under wine. Seeks inside the buffer keep it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "platform/files/wide_file.h"

namespace qv {

class BufferedReader {
 public:
  // The file stays the caller's and must outlive the reader; reading starts
  // at the file's current position.
  BufferedReader(WideFile& file, size_t capacity);

  // As WideFile: bytes read (0 at the end), or -1 when the first byte could
  // not be read.
  int64_t Read(void* buffer, size_t size);
  // Absolute position; false when negative or the seek fails.
  bool Seek(int64_t offset);
  int64_t Tell() const { return filePos_ - static_cast<int64_t>(end_ - at_); }
  int64_t Size() const { return file_.Size(); }
  WideFile& File() { return file_; }

 private:
  WideFile& file_;
  const size_t capacity_;
  std::unique_ptr<uint8_t[]> buffer_;
  size_t at_ = 0, end_ = 0;  // unread bytes: buffer_[at_, end_)
  int64_t filePos_ = 0;      // the file's position: just after buffer_[end_)
};

}  // namespace qv
