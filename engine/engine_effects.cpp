#include "engine/engine_effects.h"

namespace qv {

EngineEffects::EngineEffects() = default;

// Copies and applies the record under the stage's lock.
void EngineEffects::SetEffectParams(const EffectParams& params) { stage_.SetParams(params); }

EffectParams EngineEffects::GetEffectParams() const { return stage_.Params(); }

void EngineEffects::SetSurroundParams(const QbsParams& params) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    qbsCopy_ = params;
  }
  qbs_.SetParams(params);
}

// The first nine words come from the effect; qbsFlag stays as last set.
QbsParams EngineEffects::GetSurroundParams() {
  const QbsParams fromEffect = qbs_.Params();
  std::lock_guard<std::mutex> lock(mutex_);
  const int32_t flag = qbsCopy_.qbsFlag;
  qbsCopy_ = fromEffect;
  qbsCopy_.qbsFlag = flag;
  return qbsCopy_;
}

bool EngineEffects::SetByType(int type, const SmallEffectParams& params) {
  std::lock_guard<std::mutex> lock(mutex_);
  return small_.Set(type, params);
}

bool EngineEffects::GetByType(int type, SmallEffectParams* params) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return small_.Get(type, params);
}

void EngineEffects::EnableSpectrum(bool on) { spectrumOn_.store(on); }

bool EngineEffects::SpectrumEnabled() const { return spectrumOn_.load(); }

void EngineEffects::SetSpectrumMode(int mode) { analyser_.SetMode(mode); }

int EngineEffects::SpectrumMode() const { return analyser_.Mode(); }

bool EngineEffects::GetSpectrum(SpectrumBands* out) const {
  *out = analyser_.Levels();
  return spectrumOn_.load();
}

void EngineEffects::Start(int bits, int rate, int channels) {
  channels_.store(channels);
  analyser_.Format(bits, rate, channels);
  // Takes the format, resets the equalizer and re-applies the stored record.
  stage_.Start(bits, rate, channels);
  qbs_.Format(bits, rate, channels);
}

void EngineEffects::Process(uint8_t* data, size_t bytes) {
  stage_.Process(data, bytes);
  if (channels_.load(std::memory_order_relaxed) == 2) qbs_.Process(data, bytes);
  if (spectrumOn_.load(std::memory_order_relaxed)) analyser_.Analyse(data, bytes);
}

// The stereo effects keep their format and memories until the next stream.
void EngineEffects::Stop() {
  stage_.Stop();
  analyser_.Clear();
}

}  // namespace qv
