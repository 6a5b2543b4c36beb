#include "platform/dialog/message_box.h"

#include <mutex>

namespace qv {

int ShowSystemMessageBox(WindowHandle owner, const char16_t* text, const char16_t* title, MessageBoxIcon icon);

namespace {

std::mutex hookMutex;
MessageBoxHook& Hook() {
  static MessageBoxHook hook;
  return hook;
}

}  // namespace

int ShowMessageBox(WindowHandle owner, const char16_t* text, const char16_t* title, MessageBoxIcon icon) {
  MessageBoxHook hook;
  {
    std::lock_guard<std::mutex> lock(hookMutex);
    hook = Hook();
  }
  if (hook) return hook(owner, text, title, icon);
  return ShowSystemMessageBox(owner, text, title, icon);
}

void SetMessageBoxHookForTesting(MessageBoxHook hook) {
  std::lock_guard<std::mutex> lock(hookMutex);
  Hook() = std::move(hook);
}

}  // namespace qv
