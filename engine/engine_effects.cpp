#include "engine/engine_effects.h"

namespace qv {

EngineEffects::EngineEffects() = default;

// Copies and applies the record under the stage's lock.
void EngineEffects::SetEffectParams(const EffectParams& params) { stage_.SetParams(params); }

EffectParams EngineEffects::GetEffectParams() const { return stage_.Params(); }

void EngineEffects::SetSurroundParams(const QbsParams& params) {
  std::lock_guard<std::mutex> lock(mutex_);
  qbs_ = params;
}

QbsParams EngineEffects::GetSurroundParams() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return qbs_;
}

bool EngineEffects::SetByType(int type, const SmallEffectParams& params) {
  std::lock_guard<std::mutex> lock(mutex_);
  return small_.Set(type, params);
}

bool EngineEffects::GetByType(int type, SmallEffectParams* params) const {
  std::lock_guard<std::mutex> lock(mutex_);
  return small_.Get(type, params);
}

void EngineEffects::EnableSpectrum(bool on) {
  std::lock_guard<std::mutex> lock(mutex_);
  spectrumOn_ = on;
}

bool EngineEffects::SpectrumEnabled() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return spectrumOn_;
}

void EngineEffects::SetSpectrumMode(int mode) {
  std::lock_guard<std::mutex> lock(mutex_);
  spectrumMode_ = mode;
}

int EngineEffects::SpectrumMode() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return spectrumMode_;
}

bool EngineEffects::GetSpectrum(SpectrumBands* out) const {
  std::lock_guard<std::mutex> lock(mutex_);
  *out = spectrum_;
  return spectrumOn_;
}

void EngineEffects::Start(int bits, int rate, int channels) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    bits_ = bits;
    rate_ = rate;
    channels_ = channels;
    spectrum_ = SpectrumBands{};
  }
  // Takes the format, resets the equalizer and re-applies the stored record.
  stage_.Start(bits, rate, channels);
}

void EngineEffects::Process(uint8_t* data, size_t bytes) { stage_.Process(data, bytes); }

void EngineEffects::Stop() {
  stage_.Stop();
  std::lock_guard<std::mutex> lock(mutex_);
  bits_ = 0;
  rate_ = 0;
}

}  // namespace qv
