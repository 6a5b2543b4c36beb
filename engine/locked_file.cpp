#include "engine/locked_file.h"

namespace qv {

bool LockedFile::Open(std::u16string_view path) {
  CountedLockGuard guard(lock_);
  file_.Close();
  return file_.Open(path, FileMode::Read);
}

void LockedFile::Close() {
  CountedLockGuard guard(lock_);
  file_.Close();
}

bool LockedFile::IsOpen() {
  CountedLockGuard guard(lock_);
  return file_.IsOpen();
}

bool LockedFile::Read(void* buffer, size_t count, size_t* bytesRead) {
  CountedLockGuard guard(lock_);
  *bytesRead = 0;
  if (!file_.IsOpen()) return false;
  int64_t n = file_.Read(buffer, count);
  if (n < 0) return false;
  *bytesRead = static_cast<size_t>(n);
  return true;
}

int64_t LockedFile::Seek(int64_t distance, Origin origin) {
  CountedLockGuard guard(lock_);
  if (!file_.IsOpen()) return kClosedPosition;
  int64_t base = 0;
  if (origin == Origin::Current) base = file_.Tell();
  if (origin == Origin::End) base = file_.Size();
  if (base < 0) return kClosedPosition;
  // Guard the sum against overflow before forming it.
  if (distance > 0 && base > INT64_MAX - distance) return kClosedPosition;
  int64_t target = base + distance;
  if (target < 0 || !file_.Seek(target)) return kClosedPosition;
  return target;
}

int64_t LockedFile::Size() {
  CountedLockGuard guard(lock_);
  return file_.IsOpen() ? file_.Size() : 0;
}

}  // namespace qv
