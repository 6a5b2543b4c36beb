// The crossover band stage over one chunk, both channels in one pass.
#include <algorithm>

#include "dsp/processor_lanes.h"

namespace qv {
namespace {

const LanePair* Coef(const ProcessorLanes& lanes, int section) {
  return lanes.crossoverCoef + section * kSectionCoefs;
}

// Each band buffer receives the work buffer through its band's cascade, then
// the band gain (1.0 when the crossover is off, which leaves it unchanged).
void SplitBands(ProcessorLanes& lanes, int n) {
  LanePair* m = lanes.splitMemory;
  LanePair l1 = m[0], l2 = m[1], a1 = m[2], a2 = m[3], b1 = m[4], b2 = m[5];
  LanePair c1 = m[6], c2 = m[7], d1 = m[8], d2 = m[9], h1 = m[10], h2 = m[11];
  const LanePair g0 = lanes.bandGain[0], g1 = lanes.bandGain[1];
  const LanePair g2 = lanes.bandGain[2], g3 = lanes.bandGain[3];
  for (int i = 0; i < n; ++i) {
    const LanePair x = lanes.work[i];
    lanes.band[0][i] = RunSection(Coef(lanes, kXoLow), l1, l2, x) * g0;
    const LanePair ml = RunSection(Coef(lanes, kXoMidLowA), a1, a2, x);
    lanes.band[1][i] = RunSection(Coef(lanes, kXoMidLowB), b1, b2, ml) * g1;
    const LanePair mh = RunSection(Coef(lanes, kXoMidHighA), c1, c2, x);
    lanes.band[2][i] = RunSection(Coef(lanes, kXoMidHighB), d1, d2, mh) * g2;
    lanes.band[3][i] = RunSection(Coef(lanes, kXoHigh), h1, h2, x) * g3;
  }
  m[0] = l1, m[1] = l2, m[2] = a1, m[3] = a2, m[4] = b1, m[5] = b2;
  m[6] = c1, m[7] = c2, m[8] = d1, m[9] = d2, m[10] = h1, m[11] = h2;
}

// The work buffer becomes the sum of the bands, each filtered a second time
// through its own cascade: ((low + mid-low) + mid-high) + high.
void RecombineBands(ProcessorLanes& lanes, int n) {
  LanePair* m = lanes.recombineMemory;
  LanePair l1 = m[0], l2 = m[1], a1 = m[2], a2 = m[3], b1 = m[4], b2 = m[5];
  LanePair c1 = m[6], c2 = m[7], d1 = m[8], d2 = m[9], h1 = m[10], h2 = m[11];
  for (int i = 0; i < n; ++i) {
    LanePair sum = RunSection(Coef(lanes, kXoLow), l1, l2, lanes.band[0][i]);
    const LanePair ml = RunSection(Coef(lanes, kXoMidLowA), a1, a2, lanes.band[1][i]);
    sum = sum + RunSection(Coef(lanes, kXoMidLowB), b1, b2, ml);
    const LanePair mh = RunSection(Coef(lanes, kXoMidHighA), c1, c2, lanes.band[2][i]);
    sum = sum + RunSection(Coef(lanes, kXoMidHighB), d1, d2, mh);
    sum = sum + RunSection(Coef(lanes, kXoHigh), h1, h2, lanes.band[3][i]);
    lanes.work[i] = sum;
  }
  m[0] = l1, m[1] = l2, m[2] = a1, m[3] = a2, m[4] = b1, m[5] = b2;
  m[6] = c1, m[7] = c2, m[8] = d1, m[9] = d2, m[10] = h1, m[11] = h2;
}

// One rule on the four bands over the analysis block [start, start + len).
// With two channels the rule is linked: one gain from the mean of both
// channels' mean squares, applied to both.
void RunRuleOnBlock(ProcessorLanes& lanes, DynamicsBand* bands, DynamicsRule rule, bool stereo, int start,
                    int len) {
  LanePair sum[kCrossoverBands] = {};
  for (int i = start; i < start + len; ++i) {
    for (int b = 0; b < kCrossoverBands; ++b) sum[b] = sum[b] + lanes.band[b][i] * lanes.band[b][i];
  }
  double step[kCrossoverBands];
  double gain[kCrossoverBands];
  for (int b = 0; b < kCrossoverBands; ++b) {
    DynamicsBand& r = bands[b];
    // A short last block is measured and ramped over its own length.
    const double scale = len == kDynamicsBlockLength ? r.blockScale : 1.0 / len;
    const double ms = stereo ? (sum[b][0] + sum[b][1]) * 0.5 * scale : sum[b][0] * scale;
    step[b] = DynamicsBlockStep(&r, rule, ms, scale);
    gain[b] = r.gainLinear;
  }
  for (int i = start; i < start + len; ++i) {
    for (int b = 0; b < kCrossoverBands; ++b) {
      gain[b] += step[b];
      lanes.band[b][i] = lanes.band[b][i] * Broadcast(gain[b]);
    }
  }
  for (int b = 0; b < kCrossoverBands; ++b) bands[b].gainLinear = gain[b];
}

}  // namespace

void RunBandStage(EffectProcessor* state, ProcessorLanes& lanes, int n) {
  SplitBands(lanes, n);
  const bool stereo = state->channels == 2;
  // The expander's analysis block k never depends on the compressor's, so
  // running both block by block gives the same result as one after the other.
  if (state->expanderOn || state->compressorOn) {
    for (int start = 0; start < n; start += kDynamicsBlockLength) {
      const int len = std::min(kDynamicsBlockLength, n - start);
      if (state->expanderOn)
        RunRuleOnBlock(lanes, state->dynamics + kExpanderBand0, DynamicsRule::Expander, stereo, start, len);
      if (state->compressorOn)
        RunRuleOnBlock(lanes, state->dynamics + kCompressorBand0, DynamicsRule::Compressor, stereo, start,
                       len);
    }
  }
  RecombineBands(lanes, n);
}

}  // namespace qv
