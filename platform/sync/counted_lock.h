// A recursive lock that counts its entries. Unlocking is ignored when the
// count is already zero, so an unbalanced release (for example on an error
// path that left early) can never release a lock this thread does not hold.
#pragma once

#include <atomic>
#include <mutex>

namespace qv {

class CountedRecursiveLock {
 public:
  void lock() {
    mutex_.lock();
    ++entries_;
  }
  bool try_lock() {
    if (!mutex_.try_lock()) return false;
    ++entries_;
    return true;
  }
  // Only the owning thread can observe entries_ > 0 after taking the mutex,
  // so the check is made under the mutex itself.
  void unlock() {
    if (!mutex_.try_lock()) return;  // held by another thread: not ours to release
    if (entries_ > 0) {
      --entries_;
      mutex_.unlock();
    }
    mutex_.unlock();
  }
  int entries() const { return entries_.load(std::memory_order_relaxed); }

 private:
  std::recursive_mutex mutex_;
  std::atomic<int> entries_{0};
};

// Scoped entry, like std::lock_guard.
class CountedLockGuard {
 public:
  explicit CountedLockGuard(CountedRecursiveLock& lock) : lock_(lock) { lock_.lock(); }
  ~CountedLockGuard() { lock_.unlock(); }
  CountedLockGuard(const CountedLockGuard&) = delete;
  CountedLockGuard& operator=(const CountedLockGuard&) = delete;

 private:
  CountedRecursiveLock& lock_;
};

}  // namespace qv
