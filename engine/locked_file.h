// The engine's own file reader: a file opened by wide path for reading, every
// call made atomic by a recursive lock, so that the playback thread's reads
// and the caller's seeks never interleave.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "platform/files/wide_file.h"
#include "platform/sync/counted_lock.h"

namespace qv {

class LockedFile {
 public:
  enum class Origin { Begin, Current, End };
  static constexpr int64_t kClosedPosition = 0x7FFFFFFFFFFFFFFF;

  bool Open(std::u16string_view path);
  void Close();
  bool IsOpen();
  // False on a read error or when closed; *bytesRead 0 at the end of the file.
  bool Read(void* buffer, size_t count, size_t* bytesRead);
  // New position, or kClosedPosition when closed or the target is negative.
  int64_t Seek(int64_t distance, Origin origin);
  int64_t Size();
  CountedRecursiveLock& Lock() { return lock_; }

 private:
  CountedRecursiveLock lock_;
  WideFile file_;
};

}  // namespace qv
