// The Wave source kind: RIFF WAVE files, PCM played directly, anything else
// converted to PCM by the audio compression manager.
#pragma once

#include <cstdint>
#include <memory>

#include "engine/player_engine.h"
#include "engine/source_ops.h"
#include "platform/acm/compression.h"

namespace qv {

struct WavState : SourceState {
  WaveFormatBytes source;  // the "fmt " chunk as read
  PcmFormat dest;          // what the decode loop produces
  bool pcm = false;        // format tag 1: read straight into the blocks
  std::unique_ptr<AudioConversionStream> stream;  // other formats
  uint64_t dataOffset = 0;
  uint64_t dataLength = 0;
  uint64_t consumed = 0;   // bytes of sample data read so far
};

extern const SourceOps kWavSourceOps;

// The two decode loops (wav_decode.cpp).
LoopResult WavPcmLoop(PlayerEngine& engine, WavState& wav);
LoopResult WavCompressedLoop(PlayerEngine& engine, WavState& wav);

}  // namespace qv
