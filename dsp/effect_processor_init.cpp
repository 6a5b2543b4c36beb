#include <cmath>
#include <cstring>

#include "dsp/effect_processor.h"

namespace qv {
namespace {

template <int Capacity>
void SetCrossoverPassThrough(SectionCascade<Capacity> (&cascades)[kProcessorChannels]) {
  for (auto& c : cascades) SetPassThrough(c);
}

void ClearIfNonFinite(BiquadMemory& m) {
  if (!std::isfinite(m.w1) || !std::isfinite(m.w2)) m = BiquadMemory{0.0, 0.0};
}

template <size_t Channels, size_t Sections>
void ClearIfNonFinite(BiquadMemory (&m)[Channels][Sections]) {
  for (auto& channel : m)
    for (auto& section : channel) ClearIfNonFinite(section);
}

void ClearIfNonFinite(CrossoverMemories& m) {
  ClearIfNonFinite(m.low);
  ClearIfNonFinite(m.midLow);
  ClearIfNonFinite(m.midHigh);
  ClearIfNonFinite(m.high);
}

}  // namespace

void EffectProcessor_Init(EffectProcessor* state, double sampleRate) {
  std::memset(state, 0, sizeof(*state));
  state->sampleRate = sampleRate;
  state->masterGain = 1.0;
  for (auto& c : state->eqCascade) SetPassThrough(c);
  SetCrossoverPassThrough(state->crossover.low);
  SetCrossoverPassThrough(state->crossover.midLow);
  SetCrossoverPassThrough(state->crossover.midHigh);
  SetCrossoverPassThrough(state->crossover.high);
  for (auto& channel : state->bandGain)
    for (double& g : channel) g = 1.0;
  for (auto& band : state->dynamics) InitDynamicsBand(&band, sampleRate);
}

void EffectProcessor_ResetEq(EffectProcessor* state) {
  std::memset(state->eqMemory, 0, sizeof(state->eqMemory));
  for (auto& c : state->eqCascade) SetPassThrough(c);
  state->dcMemory[0] = state->dcMemory[1] = 0.0;
  state->masterGain = 1.0;
  state->nextFrameOdd = 0;
}

void EffectProcessor_ClearNonFinite(EffectProcessor* state) {
  for (double& m : state->dcMemory)
    if (!std::isfinite(m)) m = 0.0;
  ClearIfNonFinite(state->eqMemory);
  ClearIfNonFinite(state->splitMemory);
  ClearIfNonFinite(state->recombineMemory);
  for (auto& band : state->dynamics) {
    if (!std::isfinite(band.meanSquare)) band.meanSquare = 0.0;
    if (!std::isfinite(band.gainDb)) band.gainDb = 0.0;
    if (!std::isfinite(band.gainLinear)) band.gainLinear = 1.0;
  }
}

}  // namespace qv
