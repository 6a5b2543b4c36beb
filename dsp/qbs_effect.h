// The engine's stereo effects, WIDE and REVERB, on 2-channel blocks after
// the effect stage, under their own lock. Each engine has its own object
// with its own filter memories and delay lines.
#pragma once

#include <cstddef>
#include <cstdint>

#include "dsp/effect_records.h"
#include "dsp/qbs_reverb.h"
#include "dsp/qbs_wide.h"
#include "platform/sync/counted_lock.h"

namespace qv {

// Frames converted per pass over a block.
constexpr int kQbsChunkFrames = 2048;

class QbsEffect {
 public:
  QbsEffect() = default;
  QbsEffect(const QbsEffect&) = delete;
  QbsEffect& operator=(const QbsEffect&) = delete;

  // Any thread: takes the nine meaningful fields as given. While a format is
  // known and WIDE or REVERB is on, both restart from silence.
  void SetParams(const QbsParams& params);
  // The nine fields as last set; qbsFlag is 0.
  QbsParams Params() const;

  // Playback thread: a stream's format is known.
  void Format(int bits, int rate, int channels);
  // Playback thread: one block of interleaved PCM, in place. Only 2-channel
  // 8-bit and 16-bit blocks are processed, and only while WIDE or REVERB is on.
  void Process(uint8_t* data, size_t bytes);
  // The same on stereo float frames, without the PCM conversion.
  void ProcessFrames(float* frames, size_t count);

 private:
  // The settings the effects run with, taken from the last record.
  struct Settings {
    int32_t mode = 0;
    int32_t surround = 10;
    int32_t bass = 2;
    int32_t preset = 0;
    int32_t feedback = 5;
    int32_t shortDelay = 10;
    int32_t longDelay = 0;
  };

  bool OnLocked() const { return params_.wideOn != 0 || params_.reverbOn != 0; }
  void InitLocked();
  void RunLocked(float* frames, size_t count);

  mutable CountedRecursiveLock lock_;
  QbsParams params_{};
  Settings settings_;
  int bits_ = 0;
  int rate_ = 0;
  int channels_ = 0;
  WideFilter wide_;
  Reverberator reverb_;
  float buffer_[kQbsChunkFrames * 2];
};

}  // namespace qv
