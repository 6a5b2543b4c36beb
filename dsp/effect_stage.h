// The engine's effect stage: converts each output block to float, runs the
// effect processor on it and converts back, under its own lock. It keeps the
// engine's copy of the EffectParams record and applies it whenever it is set
// and whenever a stream's format becomes known.
#pragma once

#include <cstddef>
#include <cstdint>

#include "dsp/effect_processor.h"
#include "dsp/effect_records.h"
#include "platform/sync/counted_lock.h"

namespace qv {

// Frames converted per processor call. A multiple of the dynamics block
// length, so a long block gives exactly what one call over it would.
constexpr int kStageChunkFrames = 2048;
static_assert(kStageChunkFrames % kDynamicsBlockLength == 0, "stage chunks hold whole analysis blocks");

class EffectStage {
 public:
  EffectStage();
  EffectStage(const EffectStage&) = delete;
  EffectStage& operator=(const EffectStage&) = delete;

  // Any thread: stores a copy of the record and applies it.
  void SetParams(const EffectParams& params);
  EffectParams Params() const;

  // Playback thread: a stream's format is known. Resets the equalizer and
  // applies the stored record for the new rate.
  void Start(int bits, int rate, int channels);
  // Playback thread: playback ended; processing is off until the next Start.
  void Stop();
  // Playback thread: one block of interleaved PCM, in place. Blocks pass
  // untouched when every enable word is 0, when no stream is open, for
  // sample sizes other than 8 and 16 bits and for more than two channels.
  void Process(uint8_t* data, size_t bytes);

  // A copy of the processor as it stands, for inspection.
  EffectProcessor Snapshot() const;

 private:
  void ApplyLocked();
  bool AnyEnabled() const;

  mutable CountedRecursiveLock lock_;
  EffectParams params_{};
  int32_t lastEqOn_ = 0;
  int32_t crossoverOn_ = 0;
  int32_t qvEqOn_ = 0;
  int32_t myEqOn_ = 0;
  int32_t compressorOn_ = 0;
  int32_t expanderOn_ = 0;
  int bits_ = 0;
  int rate_ = 0;
  int channels_ = 0;
  EffectProcessor processor_;
  float buffer_[kStageChunkFrames * kProcessorChannels];
};

}  // namespace qv
