// The WMA plug-in's getter. Registered first among the built-ins.
#pragma once

#include "engine/plugins/decoder_plugin.h"

namespace qv {

DecoderPlugin* GetWmaPlugin();

}  // namespace qv
