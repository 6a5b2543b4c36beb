// The FLAC plug-in's getter.
#pragma once

#include "engine/plugins/decoder_plugin.h"

namespace qv {

DecoderPlugin* GetFlacPlugin();

}  // namespace qv
