// The APE plug-in's getter.
#pragma once

#include "engine/plugins/decoder_plugin.h"

namespace qv {

DecoderPlugin* GetApePlugin();

}  // namespace qv
