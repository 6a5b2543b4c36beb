#include "dsp/effect_params_apply.h"

#include <cmath>

namespace qv {
namespace {

double FiniteOr(float value, double fallback) { return std::isfinite(value) ? value : fallback; }

// A time in ms: non-finite gives the default, negative gives 0 (instant).
double TimeMs(float value, double fallback) {
  const double t = FiniteOr(value, fallback);
  return t < 0.0 ? 0.0 : t;
}

void DesignCrossover(EffectProcessor* p, int channel, const int32_t hz[3], double rate) {
  CrossoverCascades& x = p->crossover;
  DesignCrossoverPair(&x.low[channel].section[0], &x.midLow[channel].section[0], rate, hz[0]);
  DesignCrossoverPair(&x.midLow[channel].section[1], &x.midHigh[channel].section[0], rate, hz[1]);
  DesignCrossoverPair(&x.midHigh[channel].section[1], &x.high[channel].section[0], rate, hz[2]);
}

void ApplyBand(DynamicsBand* band, double rate, float slopePercent, float threshold, float attackMs,
               float releaseMs) {
  band->slope = FiniteOr(slopePercent, kDefaultSlope * 100.0) / 100.0;
  band->threshold = FiniteOr(threshold, kDefaultThresholdDb);
  band->attackCoef = TimeConstantCoef(TimeMs(attackMs, kDefaultAttackMs), rate, band->blockLength);
  band->releaseCoef = TimeConstantCoef(TimeMs(releaseMs, kDefaultReleaseMs), rate, band->blockLength);
}

}  // namespace

const float (*SelectEqGains(const EffectParams& params))[2] {
  if (params.qvEqOn) return params.qvEqGain;
  if (params.lastEqOn) return params.lastEqGain;
  if (params.myEqOn) return params.myEqGain;
  if (params.drcEqOn) return params.drcEqGain;
  return nullptr;
}

void ApplyEffectParams(EffectProcessor* p, const EffectParams& params, int streamRate) {
  if (streamRate > 0) {
    p->sampleRate = kDesignRate;
    DesignCrossover(p, 0, params.crossoverHzLeft, streamRate);
    DesignCrossover(p, 1, params.crossoverHzRight, streamRate);
    for (int b = 0; b < kCrossoverBands; ++b) {
      p->bandGain[0][b] = params.bandVolumeLeft[b] / 100.0;
      p->bandGain[1][b] = params.bandVolumeRight[b] / 100.0;
    }
    const float(*gains)[2] = SelectEqGains(params);
    if (gains != nullptr) {
      for (int c = 0; c < kProcessorChannels; ++c) {
        for (int band = 0; band < kEqBandCount; ++band) {
          DesignPeakingSection(&p->eqCascade[c].section[band], kDesignRate, kEqCentreHz[band], kEqQ,
                               FiniteOr(gains[band][c], 0.0));
        }
      }
    }
  }

  // The rate of the time constants: 44100 while a stream is open.
  const double rate = p->sampleRate > 0.0 && std::isfinite(p->sampleRate) ? p->sampleRate : kDesignRate;
  for (int b = 0; b < kCrossoverBands; ++b) {
    DynamicsBand& c = p->dynamics[kCompressorBand0 + b];
    ApplyBand(&c, rate, params.compressorNormalFactor[b], params.compressorThreshold[b],
              params.compressorAttack[b], params.compressorRelease[b]);
    c.gainCeiling = FiniteOr(params.compressorAgcRange[b], 0.0);
    ApplyBand(&p->dynamics[kExpanderBand0 + b], rate, params.expanderNormalFactor[b],
              params.expanderThreshold[b], params.expanderAttack[b], params.expanderRelease[b]);
  }
  EffectProcessor_ClearNonFinite(p);
}

}  // namespace qv
