// The OggVorbis source kind: ".ogg" files decoded by the engine itself over
// Tremor, with their Vorbis comments as tags.
#pragma once

#include <memory>

#include "engine/player_engine.h"
#include "engine/source_ops.h"
#include "engine/vorbis/vorbis_file.h"

namespace qv {

struct VorbisState : SourceState {
  std::unique_ptr<OggFile> ogg;
};

extern const SourceOps kVorbisSourceOps;

}  // namespace qv
