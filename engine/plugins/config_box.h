// Entries the built-in FLAC and APE plug-ins share.
#pragma once

#include "engine/plugins/decoder_plugin.h"

namespace qv {

// ShowConfig: the plug-ins have nothing to configure and say so.
int ShowNoConfigurationBox(WindowHandle owner);

// Copies an extension and its description into GetExt's buffers.
int CopyExtension(const char16_t* extension, const char16_t* description, char16_t* extensionOut,
                  char16_t* descriptionOut);

}  // namespace qv
