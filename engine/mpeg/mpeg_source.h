// The MpegAudio source kind: MPEG-1, MPEG-2 and MPEG-2.5 audio, layers I to
// III, decoded by libmad, with ID3 version 1 tags.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/mpeg/mpeg_decoder.h"
#include "engine/mpeg/mpeg_dither.h"
#include "engine/mpeg/mpeg_header.h"
#include "engine/player_engine.h"
#include "engine/source_ops.h"

namespace qv {

struct MpegState : SourceState {
  MpegHeader first;     // the stream's first frame
  MpegStreamId stream;  // version, layer and rate every decoded frame must have
  // The exact average frame size, spanBytes / spanFrames, for seeking.
  uint64_t spanBytes = 0;
  uint64_t spanFrames = 1;
  std::unique_ptr<MpegDecoder> decoder;
  // Set by a reposition for the decode loop: sample frames between the
  // frame decoding resumes at and the position asked for.
  uint64_t seekSkip = 0;
  // Noise-shaping state per output channel; it carries across seeks and
  // playbacks of the source.
  DitherChannel dither[2];
};

extern const SourceOps kMpegSourceOps;

// The decode loop (mpeg_decode_loop.cpp).
LoopResult MpegDecodeLoop(PlayerEngine& engine);

}  // namespace qv
