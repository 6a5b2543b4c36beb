#include "engine/plugins/config_box.h"

#include "platform/dialog/message_box.h"
#include "platform/text/utf16.h"

namespace qv {

int ShowNoConfigurationBox(WindowHandle owner) {
  return ShowMessageBox(owner, u"No configurations yet!", u"Sorry", MessageBoxIcon::None);
}

int CopyExtension(const char16_t* extension, const char16_t* description, char16_t* extensionOut,
                  char16_t* descriptionOut) {
  if (extensionOut) U16CopyTruncated(extensionOut, kPluginTextChars, extension);
  if (descriptionOut) U16CopyTruncated(descriptionOut, kPluginTextChars, description);
  return 1;
}

}  // namespace qv
