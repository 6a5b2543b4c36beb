// The effect records the engine keeps for the UI, and the point where the
// playback thread runs the effect chain on every block.
//
// The chain itself (effect stage, stereo effects, spectrum analyser) is not
// built yet: Process passes blocks through unchanged and the spectrum stays at
// zero. The records are stored and returned as the UI expects, so the chain
// can attach here without changing the playback thread.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>

#include "dsp/effect_records.h"

namespace qv {

class EngineEffects {
 public:
  EngineEffects();

  void SetEffectParams(const EffectParams& params);
  EffectParams GetEffectParams() const;
  void SetSurroundParams(const QbsParams& params);
  QbsParams GetSurroundParams() const;
  // Types 0-3; other types do nothing and return false.
  bool SetByType(int type, const SmallEffectParams& params);
  bool GetByType(int type, SmallEffectParams* params) const;

  void EnableSpectrum(bool on);
  bool SpectrumEnabled() const;
  void SetSpectrumMode(int mode);
  int SpectrumMode() const;
  // Copies the bar levels; returns the feed's on/off flag.
  bool GetSpectrum(SpectrumBands* out) const;

  // Playback thread: the stream's format is known (before the first block).
  void Start(int bits, int rate, int channels);
  // Playback thread: every block, in place, before it goes to the output.
  void Process(uint8_t* data, size_t bytes);
  // Playback thread: playback ended or stopped.
  void Stop();

 private:
  mutable std::mutex mutex_;
  EffectParams params_{};
  QbsParams qbs_{};
  SmallEffectParams delay_[2];
  int32_t surroundOn_ = 0;
  int32_t surroundLevel_ = 20;
  int32_t spatialOn_ = 0;
  int32_t spatialLevel_ = 50;
  bool spectrumOn_ = false;
  int spectrumMode_ = 0;
  SpectrumBands spectrum_{};
  int bits_ = 0;
  int rate_ = 0;
  int channels_ = 0;
};

}  // namespace qv
