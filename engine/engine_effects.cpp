#include "engine/engine_effects.h"

#include <algorithm>

namespace qv {

EngineEffects::EngineEffects() {
  for (auto& d : delay_) d = SmallEffectParams{0, 100, 20};
}

void EngineEffects::SetEffectParams(const EffectParams& params) {
  std::lock_guard<std::mutex> lock(mutex_);
  params_ = params;
}

EffectParams EngineEffects::GetEffectParams() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return params_;
}

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
  switch (type) {
    case 0:
    case 1:
      delay_[type] = params;
      return true;
    case 2:
      surroundOn_ = params.on;
      surroundLevel_ = std::clamp(params.value2, 0, 100);
      return true;
    case 3:
      spatialOn_ = params.on;
      spatialLevel_ = params.value2;
      return true;
    default:
      return false;
  }
}

bool EngineEffects::GetByType(int type, SmallEffectParams* params) const {
  std::lock_guard<std::mutex> lock(mutex_);
  switch (type) {
    case 0:
    case 1:
      *params = delay_[type];
      return true;
    case 2:
      params->on = surroundOn_;
      params->value1 = 0;
      params->value2 = surroundLevel_;
      return true;
    case 3:
      // The spatial effect has no first value; the caller's stays as it was.
      params->on = spatialOn_;
      params->value2 = spatialLevel_;
      return true;
    default:
      return false;
  }
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
  std::lock_guard<std::mutex> lock(mutex_);
  bits_ = bits;
  rate_ = rate;
  channels_ = channels;
  spectrum_ = SpectrumBands{};
}

// Pass-through until the effect chain is built; see the header.
void EngineEffects::Process(uint8_t* /*data*/, size_t /*bytes*/) {}

void EngineEffects::Stop() {
  std::lock_guard<std::mutex> lock(mutex_);
  bits_ = 0;
  rate_ = 0;
}

}  // namespace qv
