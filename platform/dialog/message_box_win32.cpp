#include <windows.h>

#include "platform/dialog/message_box.h"
#include "platform/text/utf16.h"

namespace qv {

int ShowSystemMessageBox(WindowHandle owner, const char16_t* text, const char16_t* title, MessageBoxIcon icon) {
  const UINT style = MB_OK | (icon == MessageBoxIcon::Information ? MB_ICONINFORMATION : 0);
  MessageBoxW(static_cast<HWND>(owner), AsWide(text), AsWide(title), style);
  return 1;
}

}  // namespace qv
