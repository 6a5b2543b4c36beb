// The effect records the engine keeps for the UI, and the point where the
// playback thread runs the effect chain on every block: the effect stage,
// then WIDE and REVERB for 2-channel streams, then the spectrum analyser
// while its feed is on.
//
// Each member of the chain has its own lock and the chain never holds two of
// them at once; mutex_ guards only the engine's own record copies and is
// never held while a member of the chain runs.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>
#include <mutex>

#include "dsp/effect_records.h"
#include "dsp/effect_stage.h"
#include "dsp/qbs_effect.h"
#include "dsp/small_effects.h"
#include "dsp/spectrum_analyser.h"

namespace qv {

class EngineEffects {
 public:
  EngineEffects();

  void SetEffectParams(const EffectParams& params);
  EffectParams GetEffectParams() const;
  void SetSurroundParams(const QbsParams& params);
  QbsParams GetSurroundParams();
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
  EffectStage stage_;
  QbsEffect qbs_;
  SpectrumAnalyser analyser_;
  std::atomic<bool> spectrumOn_{false};
  std::atomic<int> channels_{0};

  mutable std::mutex mutex_;
  QbsParams qbsCopy_{};  // the last record set; only its qbsFlag is not the effect's
  SmallEffects small_;
};

}  // namespace qv
