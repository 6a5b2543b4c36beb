// Where the engine's window messages go. Win32 posts them to the window;
// tests record them.
#pragma once

#include <cstdint>
#include <memory>

namespace qv {

using WindowHandle = void*;

constexpr uint32_t kWmEngineStatus = 11025;  // WM_USER + 10001
constexpr uint32_t kWmEngineBlock = 11026;   // WM_USER + 10002

class NotifySink {
 public:
  virtual ~NotifySink() = default;
  // Posts, never sends: must not block. A null window drops the message.
  virtual void Post(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) = 0;
};

// PostMessageW on Win32; natively a sink that drops everything.
std::unique_ptr<NotifySink> CreateSystemNotifySink();

}  // namespace qv
