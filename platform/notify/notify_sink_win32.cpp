#include <windows.h>

#include "platform/notify/notify_sink.h"

namespace qv {

namespace {

class PostMessageSink : public NotifySink {
 public:
  // A missing or destroyed window just loses the message.
  void Post(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    if (window == nullptr) return;
    PostMessageW(static_cast<HWND>(window), message, static_cast<WPARAM>(wParam), static_cast<LPARAM>(lParam));
  }
};

}  // namespace

std::unique_ptr<NotifySink> CreateSystemNotifySink() { return std::make_unique<PostMessageSink>(); }

}  // namespace qv
