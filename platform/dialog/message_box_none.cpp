#include "platform/dialog/message_box.h"

namespace qv {

// No window system natively: the box is taken as shown and closed.
int ShowSystemMessageBox(WindowHandle, const char16_t*, const char16_t*, MessageBoxIcon) { return 1; }

}  // namespace qv
