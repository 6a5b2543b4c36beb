// Records every posted message; lets a test wait for a status.
#pragma once

#include <chrono>
#include <condition_variable>
#include <mutex>
#include <utility>
#include <vector>

#include "platform/notify/notify_sink.h"

namespace qv {

class RecordingNotifySink : public NotifySink {
 public:
  struct Message {
    WindowHandle window;
    uint32_t message;
    uintptr_t wParam;
    intptr_t lParam;
  };

  void Post(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.push_back({window, message, wParam, lParam});
    changed_.notify_all();
  }

  std::vector<Message> Messages() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return messages_;
  }

  // Every WM_ENGINE_STATUS as (wParam, lParam), in order.
  std::vector<std::pair<int, int>> Statuses() const {
    std::lock_guard<std::mutex> lock(mutex_);
    std::vector<std::pair<int, int>> out;
    for (const auto& m : messages_)
      if (m.message == kWmEngineStatus) out.emplace_back(static_cast<int>(m.wParam), static_cast<int>(m.lParam));
    return out;
  }

  size_t Count(uint32_t message) const {
    std::lock_guard<std::mutex> lock(mutex_);
    size_t n = 0;
    for (const auto& m : messages_) n += m.message == message;
    return n;
  }

  // Waits until the n-th WM_ENGINE_STATUS with this status has been posted.
  bool WaitForStatus(int status, int nth = 1, std::chrono::milliseconds timeout = std::chrono::seconds(30)) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout, [&] {
      int seen = 0;
      for (const auto& m : messages_)
        if (m.message == kWmEngineStatus && static_cast<int>(m.wParam) == status) ++seen;
      return seen >= nth;
    });
  }

  void Clear() {
    std::lock_guard<std::mutex> lock(mutex_);
    messages_.clear();
  }

 private:
  mutable std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<Message> messages_;
};

}  // namespace qv
