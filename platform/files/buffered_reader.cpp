#include "platform/files/buffered_reader.h"

#include <algorithm>
#include <cstring>

namespace qv {

BufferedReader::BufferedReader(WideFile& file, size_t capacity)
    : file_(file), capacity_(std::max<size_t>(capacity, 1)), buffer_(new uint8_t[capacity_]) {
  filePos_ = std::max<int64_t>(file_.Tell(), 0);
}

int64_t BufferedReader::Read(void* buffer, size_t size) {
  auto* out = static_cast<uint8_t*>(buffer);
  size_t done = 0;
  while (done < size) {
    if (at_ < end_) {
      const size_t n = std::min(end_ - at_, size - done);
      std::memcpy(out + done, buffer_.get() + at_, n);
      at_ += n;
      done += n;
      continue;
    }
    // Empty: a request as large as the buffer skips it.
    const bool direct = size - done >= capacity_;
    const int64_t got = direct ? file_.Read(out + done, size - done) : file_.Read(buffer_.get(), capacity_);
    if (got < 0) return done > 0 ? static_cast<int64_t>(done) : -1;
    if (got == 0) break;
    filePos_ += got;
    if (direct) {
      done += static_cast<size_t>(got);
    } else {
      at_ = 0;
      end_ = static_cast<size_t>(got);
    }
  }
  return static_cast<int64_t>(done);
}

bool BufferedReader::Seek(int64_t offset) {
  if (offset < 0) return false;
  const int64_t bufferStart = filePos_ - static_cast<int64_t>(end_);
  if (offset >= bufferStart && offset <= filePos_) {
    at_ = static_cast<size_t>(offset - bufferStart);
    return true;
  }
  at_ = end_ = 0;
  if (!file_.Seek(offset)) {
    filePos_ = std::max<int64_t>(file_.Tell(), 0);
    return false;
  }
  filePos_ = offset;
  return true;
}

}  // namespace qv
