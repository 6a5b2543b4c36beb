// Expander and compressor rules. The crossover is left at its pass-through
// sections, so every band carries the whole signal and the output is the sum
// of four identically treated bands: 4 * gain * input.
#include <gtest/gtest.h>

#include <ostream>

#include <cmath>
#include <cstring>
#include <memory>
#include <vector>

#include "dsp/effect_processor.h"
#include "tests/dsp/signal_helpers.h"

namespace qv::test {
namespace {

struct ProcessorDeleter {
  void operator()(EffectProcessor* p) const { DeleteProcessor(p); }
};
using Processor = std::unique_ptr<EffectProcessor, ProcessorDeleter>;

constexpr double kRate = 44100;
constexpr double kToneHz = kRate / 32;  // every analysis block holds one period

// Level the detector reads for a steady sine of this amplitude.
double LevelOf(double amplitude) { return 10.0 * std::log10(amplitude * amplitude / 2 + 1e-8) + 3.01; }

struct RuleCase {
  const char* name;
  int channels;
  bool expander;
  double slope;
  double threshold;
  double ceiling;
  double toneLevelDb;  // nominal 20 log10(amplitude)
  double expectedDb;   // where the gain settles; NAN: computed from the rule
};

void PrintTo(const RuleCase& c, std::ostream* os) { *os << c.name; }

Processor MakeDynamics(const RuleCase& tc) {
  Processor p(NewProcessor(tc.channels));
  (tc.expander ? p->expanderOn : p->compressorOn) = 1;
  for (int b = 0; b < 4; ++b) {
    DynamicsBand& r = p->dynamics[(tc.expander ? kExpanderBand0 : kCompressorBand0) + b];
    r.slope = tc.slope;
    r.threshold = tc.threshold;
    r.gainCeiling = tc.expander ? 0.0 : tc.ceiling;
  }
  return p;
}

class DynamicsRuleTone : public ::testing::TestWithParam<RuleCase> {};

TEST_P(DynamicsRuleTone, GainSettlesWhereTheRuleSays) {
  const RuleCase tc = GetParam();
  Processor p = MakeDynamics(tc);
  const double amplitude = std::pow(10.0, tc.toneLevelDb / 20.0);
  const size_t frames = 2800 * 32;  // whole analysis blocks only
  std::vector<float> x = Sine(kToneHz, kRate, amplitude, frames, tc.channels);
  ProcessInBlocks(p.get(), x, 4096);
  const double level = LevelOf(amplitude);
  double expected = tc.expectedDb;
  if (std::isnan(expected)) {
    expected = tc.expander ? std::min(0.0, tc.slope * (level - tc.threshold))
                           : std::min(tc.ceiling, (tc.threshold - level) * tc.slope);
  }
  for (int c = 0; c < tc.channels; ++c) {
    const double gain = AmplitudeAt(x.data(), frames, tc.channels, c, kToneHz, kRate, frames / 2) / (4 * amplitude);
    if (expected < -100) {
      EXPECT_LT(ToDb(gain), -100.0) << "channel " << c;
    } else {
      EXPECT_NEAR(expected, ToDb(gain), 0.01) << "channel " << c;
    }
  }
  const DynamicsBand& r = p->dynamics[tc.expander ? kExpanderBand0 : kCompressorBand0];
  if (expected >= -100) {
    EXPECT_NEAR(expected, r.gainDb, 1e-3);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rules, DynamicsRuleTone,
    ::testing::Values(
        RuleCase{"CompressorSlope0KeepsUnity", 2, false, 0.0, -30, 0, -6, 0.0},
        RuleCase{"CompressorSlope0KeepsUnityQuiet", 2, false, 0.0, -30, 0, -50, 0.0},
        RuleCase{"CompressorLimiter10dBAbove", 2, false, 1.0, -30, 0, -20, NAN},
        RuleCase{"CompressorLimiter10dBAboveMono", 1, false, 1.0, -30, 0, -20, NAN},
        RuleCase{"CompressorHalfSlope", 2, false, 0.5, -30, 0, -10, NAN},
        RuleCase{"CompressorCeiling0LeavesQuietAlone", 2, false, 0.5, -30, 0, -45, 0.0},
        RuleCase{"CompressorAgcRaisesUpToCeiling", 2, false, 0.5, -30, 6, -50, 6.0},
        RuleCase{"ExpanderHalfSlope10dBBelow", 2, true, 0.5, -30, 0, -40, NAN},
        RuleCase{"ExpanderHalfSlope10dBBelowMono", 1, true, 0.5, -30, 0, -40, NAN},
        RuleCase{"ExpanderAboveThresholdUnity", 2, true, 0.5, -30, 0, -20, 0.0},
        RuleCase{"GateBelowThreshold", 2, true, 1.0, -30, 0, -40, -144.0},
        RuleCase{"GateBelowThresholdMono", 1, true, 1.0, -30, 0, -40, -144.0},
        RuleCase{"GateAboveThreshold", 2, true, 1.0, -30, 0, -25, 0.0}),
    [](const ::testing::TestParamInfo<RuleCase>& info) { return std::string(info.param.name); });

TEST(DynamicsRuleSanity, SettledValuesMatchTheNominalCases) {
  // Slope 1 and a tone 10 dB above the threshold: -10 dB; expander slope 0.5
  // and a tone 10 dB below: -5 dB (to within the detector's 1e-8 floor).
  EXPECT_NEAR(-10.0, std::min(0.0, (-30 - LevelOf(0.1)) * 1.0), 0.001);
  EXPECT_NEAR(-5.0, std::min(0.0, 0.5 * (LevelOf(std::pow(10.0, -2)) + 30)), 0.01);
}

// A mono stream is treated exactly like a stereo one whose channels agree:
// the linked rules average two equal mean squares. With the compressor rule
// in place of the expander rule for mono this would not hold.
TEST(DynamicsMono, MatchesAStereoStreamWithEqualChannels) {
  for (bool expander : {true, false}) {
    RuleCase tc{"", 1, expander, 0.5, -30, 3, -40, NAN};
    Processor mono = MakeDynamics(tc);
    tc.channels = 2;
    Processor stereo = MakeDynamics(tc);
    std::vector<float> m = Sine(700, kRate, 0.01, 50000, 1);
    std::vector<float> s = Sine(700, kRate, 0.01, 50000, 2);
    for (size_t i = 20000; i < 30000; ++i) {  // a louder stretch in the middle
      m[i] *= 20;
      s[2 * i] *= 20;
      s[2 * i + 1] *= 20;
    }
    ProcessInBlocks(mono.get(), m, 1000);
    ProcessInBlocks(stereo.get(), s, 1000);
    for (size_t i = 0; i < m.size(); ++i) ASSERT_EQ(m[i], s[2 * i]) << "frame " << i << " expander " << expander;
  }
}

// The gain moves linearly across each 32-frame block, from the last block's
// final gain to the new one: no step inside a block.
TEST(DynamicsRamp, GainIsLinearWithinEachBlock) {
  RuleCase tc{"", 2, false, 1.0, -30, 0, 0, NAN};
  Processor p = MakeDynamics(tc);
  for (int b = 0; b < 4; ++b) p->dynamics[b].attackCoef = 0.9;  // several blocks to settle
  Processor plain(NewProcessor(2));  // DC blocker and bias only: the band stage's input
  const size_t frames = 8192;
  std::vector<float> x(2 * frames);
  for (size_t i = 0; i < frames; ++i) {
    const float a = i < 4096 ? 0.01f : 0.5f;  // a jump at a block boundary
    x[2 * i] = x[2 * i + 1] = (i % 2 == 0) ? a : -a;
  }
  std::vector<float> in = x;
  EffectProcessor_Process(p.get(), x.data(), frames);
  EffectProcessor_Process(plain.get(), in.data(), frames);
  std::vector<double> gain(frames);
  for (size_t i = 0; i < frames; ++i) gain[i] = x[2 * i] / (4.0 * in[2 * i]);
  double largestSlope = 0;
  for (size_t block = 4096 / 32; block < frames / 32; ++block) {
    const size_t start = block * 32;
    const double slope = gain[start + 1] - gain[start];
    largestSlope = std::max(largestSlope, std::fabs(slope));
    for (size_t i = start + 1; i < start + 32; ++i)
      ASSERT_NEAR(slope, gain[i] - gain[i - 1], 1e-6) << "frame " << i;
    // Across the boundary the gain continues from where it ended.
    if (block > 4096 / 32) {
      EXPECT_LT(std::fabs(gain[start] - gain[start - 1]), 2 * std::fabs(slope) + 1e-6);
    }
  }
  EXPECT_GT(largestSlope, 1e-3);  // the gain did move
  // Settled: a square wave of 0.5 reads 10 log10(0.25) + 3.01 dB; the limiter
  // brings it down to the threshold.
  const double level = 10.0 * std::log10(0.25 + 1e-8) + 3.01;
  EXPECT_NEAR(-30.0 - level, ToDb(gain[frames - 1]), 0.01);
}

}  // namespace
}  // namespace qv::test
