// Message boxes for the few places outside the UI that show one (the
// plug-ins' configuration boxes). MessageBoxW on Win32; natively nothing is
// shown. Tests install a hook that receives every box instead.
#pragma once

#include <functional>

#include "platform/notify/notify_sink.h"

namespace qv {

enum class MessageBoxIcon { None, Information };

// Shows a modal box with an OK button; returns 1 once it is closed.
int ShowMessageBox(WindowHandle owner, const char16_t* text, const char16_t* title, MessageBoxIcon icon);

using MessageBoxHook = std::function<int(WindowHandle owner, const char16_t* text, const char16_t* title,
                                         MessageBoxIcon icon)>;
// Replaces the system box while set; an empty hook restores it.
void SetMessageBoxHookForTesting(MessageBoxHook hook);

}  // namespace qv
