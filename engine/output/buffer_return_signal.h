// Counts the device buffers the driver has handed back to always-open mode
// and carries the output thread's quit request. One lock guards both, so a
// return that races with the thread's take is never lost, and a quit posted
// before the thread first waits is still seen.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>

namespace qv {

class BufferReturnSignal {
 public:
  void Start(int returned) {
    std::lock_guard<std::mutex> lock(mutex_);
    returned_ = returned;
    quit_ = false;
  }
  // Called from the driver's callback thread.
  void Give() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      ++returned_;
    }
    changed_.notify_all();
  }
  // Waits for a returned buffer and takes it; false once quit is requested.
  bool Take() {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return quit_ || returned_ > 0; });
    if (quit_) return false;
    --returned_;
    return true;
  }
  void Quit() {
    {
      std::lock_guard<std::mutex> lock(mutex_);
      quit_ = true;
    }
    changed_.notify_all();
  }
  // Sleeps up to `time` unless quit is requested; true when it was.
  bool WaitForQuit(std::chrono::milliseconds time) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, time, [this] { return quit_; });
  }

 private:
  std::mutex mutex_;
  std::condition_variable changed_;
  int returned_ = 0;
  bool quit_ = false;
};

}  // namespace qv
