// The effect records the engine keeps for the UI, and the point where the
// playback thread runs the effect chain on every block.
//
// The effect stage keeps the engine's EffectParams and runs on every block
// under its own lock. The stereo effects and the spectrum analyser are not
// built yet: their records are stored and returned as the UI expects and the
// spectrum stays at zero.
#pragma once

#include <cstddef>
#include <cstdint>
#include <mutex>

#include "dsp/effect_records.h"
#include "dsp/effect_stage.h"
#include "dsp/small_effects.h"

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
  // The stage has its own lock; mutex_ guards the rest and is never held
  // while the stage runs, so the chain's locks are never held together.
  EffectStage stage_;
  mutable std::mutex mutex_;
  QbsParams qbs_{};
  SmallEffects small_;
  bool spectrumOn_ = false;
  int spectrumMode_ = 0;
  SpectrumBands spectrum_{};
  int bits_ = 0;
  int rate_ = 0;
  int channels_ = 0;
};

}  // namespace qv
