// The production processor against the plain reference form: same samples
// and same state, bit for bit, on long random input with every stage on,
// block sizes of every kind and parameters changing between blocks.
#include <gtest/gtest.h>

#include <ostream>

#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "dsp/effect_processor.h"
#include "dsp/filter_design.h"
#include "tests/dsp/reference_processor.h"
#include "tests/dsp/signal_helpers.h"

namespace qv::test {
namespace {

struct ProcessorPair {
  std::unique_ptr<EffectProcessor> fast{new EffectProcessor};
  std::unique_ptr<EffectProcessor> reference{new EffectProcessor};
};

// Random but plausible settings, written identically into both processors.
void Randomise(EffectProcessor* a, EffectProcessor* b, std::mt19937& rng, bool everyStageOn) {
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  auto gainDb = [&] { return unit(rng) < 0.3 ? 0.0 : -12.0 + 24.0 * unit(rng); };
  for (EffectProcessor* p : {a, b}) (void)p;
  BiquadSection eq[2][kEqBandCount];
  for (auto& channel : eq)
    for (int k = 0; k < kEqBandCount; ++k) DesignPeakingSection(&channel[k], 44100, kEqCentreHz[k], kEqQ, gainDb());
  const double rate = unit(rng) < 0.5 ? 44100.0 : 8000.0 + 40000.0 * unit(rng);
  BiquadSection lp[2][3], hp[2][3];
  for (int c = 0; c < 2; ++c) {
    const double f[3] = {51 + 200 * unit(rng), 250 + 750 * unit(rng), 1000 + 7000 * unit(rng)};
    for (int k = 0; k < 3; ++k) DesignCrossoverPair(&lp[c][k], &hp[c][k], rate, f[k]);
  }
  double bandGain[2][4];
  for (auto& channel : bandGain)
    for (double& g : channel) g = unit(rng) < 0.15 ? 0.0 : 2.0 * unit(rng);
  DynamicsBand dyn[8];
  for (auto& d : dyn) {
    d.threshold = -60.0 * unit(rng);
    d.gainCeiling = unit(rng) < 0.5 ? 0.0 : 30.0 * unit(rng);
    const double s = unit(rng);
    d.slope = s < 0.15 ? 1.0 : (s < 0.25 ? 0.0 : s);
    d.attackCoef = unit(rng);
    d.releaseCoef = unit(rng);
  }
  const uint32_t on[5] = {everyStageOn || unit(rng) < 0.7 ? 1u : 0u, everyStageOn || unit(rng) < 0.7 ? 1u : 0u,
                          everyStageOn || unit(rng) < 0.7 ? 1u : 0u, everyStageOn || unit(rng) < 0.7 ? 1u : 0u,
                          unit(rng) < 0.5 ? 1u : 0u};
  for (EffectProcessor* p : {a, b}) {
    p->eqOnLast = on[0];
    p->eqOnQv = on[4];
    p->crossoverOn = on[1];
    p->compressorOn = on[2];
    p->expanderOn = on[3];
    for (int c = 0; c < 2; ++c) {
      for (int k = 0; k < kEqBandCount; ++k) p->eqCascade[c].section[k] = eq[c][k];
      p->crossover.low[c].section[0] = lp[c][0];
      p->crossover.midLow[c].section[0] = hp[c][0];
      p->crossover.midLow[c].section[1] = lp[c][1];
      p->crossover.midHigh[c].section[0] = hp[c][1];
      p->crossover.midHigh[c].section[1] = lp[c][2];
      p->crossover.high[c].section[0] = hp[c][2];
      for (int k = 0; k < 4; ++k) p->bandGain[c][k] = bandGain[c][k];
    }
    for (int k = 0; k < 8; ++k) {
      p->dynamics[k].threshold = dyn[k].threshold;
      p->dynamics[k].gainCeiling = dyn[k].gainCeiling;
      p->dynamics[k].slope = dyn[k].slope;
      p->dynamics[k].attackCoef = dyn[k].attackCoef;
      p->dynamics[k].releaseCoef = dyn[k].releaseCoef;
    }
  }
}

// Input with loud, quiet and silent stretches, so that the dynamics move.
std::vector<float> RandomInput(std::mt19937& rng, size_t frames, int channels) {
  std::uniform_real_distribution<float> sample(-1.0f, 1.0f);
  std::uniform_int_distribution<int> level(0, 5);
  std::vector<float> out(frames * channels);
  float scale = 1.0f;
  for (size_t i = 0; i < frames; ++i) {
    if (i % 3000 == 0) {
      const int l = level(rng);
      scale = l == 0 ? 0.0f : static_cast<float>(std::pow(10.0, -0.6 * (l - 1)));
    }
    for (int c = 0; c < channels; ++c) out[i * channels + c] = scale * sample(rng);
  }
  return out;
}

template <typename T>
bool SameBits(const T& a, const T& b) {
  return std::memcmp(&a, &b, sizeof(T)) == 0;
}

void ExpectSameState(const EffectProcessor& a, const EffectProcessor& b) {
  EXPECT_TRUE(SameBits(a.dcMemory, b.dcMemory));
  EXPECT_TRUE(SameBits(a.eqMemory, b.eqMemory));
  EXPECT_TRUE(SameBits(a.splitMemory, b.splitMemory));
  EXPECT_TRUE(SameBits(a.recombineMemory, b.recombineMemory));
  EXPECT_EQ(a.nextFrameOdd, b.nextFrameOdd);
  for (int k = 0; k < 8; ++k) {
    EXPECT_TRUE(SameBits(a.dynamics[k].meanSquare, b.dynamics[k].meanSquare)) << "band " << k;
    EXPECT_TRUE(SameBits(a.dynamics[k].gainDb, b.dynamics[k].gainDb)) << "band " << k;
    EXPECT_TRUE(SameBits(a.dynamics[k].gainLinear, b.dynamics[k].gainLinear)) << "band " << k;
  }
}

struct Case {
  const char* name;
  int channels;
  std::vector<size_t> blocks;  // cycled through
  bool everyStageOn;
};

void PrintTo(const Case& c, std::ostream* os) { *os << c.name; }

class BitIdentity : public ::testing::TestWithParam<Case> {};

TEST_P(BitIdentity, FastFormMatchesReferenceBitForBit) {
  const Case& tc = GetParam();
  std::mt19937 rng(12345u + tc.channels * 7u + static_cast<unsigned>(tc.blocks.size()));
  ProcessorPair pair;
  EffectProcessor_Init(pair.fast.get(), 44100);
  EffectProcessor_Init(pair.reference.get(), 44100);
  pair.fast->channels = pair.reference->channels = tc.channels;

  const size_t total = 120000;
  std::vector<float> input = RandomInput(rng, total, tc.channels);
  std::vector<float> fast = input, reference = input;
  size_t at = 0, index = 0, changes = 0;
  while (at < total) {
    if (index % 3 == 0) {
      Randomise(pair.fast.get(), pair.reference.get(), rng, tc.everyStageOn);
      ++changes;
    }
    const size_t n = std::min(tc.blocks[index % tc.blocks.size()], total - at);
    EffectProcessor_Process(pair.fast.get(), fast.data() + at * tc.channels, n);
    ReferenceProcess(pair.reference.get(), reference.data() + at * tc.channels, n);
    ASSERT_EQ(0, std::memcmp(fast.data() + at * tc.channels, reference.data() + at * tc.channels,
                             n * tc.channels * sizeof(float)))
        << "block " << index << " at frame " << at << " (" << n << " frames)";
    at += n;
    ++index;
  }
  ExpectSameState(*pair.fast, *pair.reference);
  EXPECT_GT(changes, 3u);
  // The comparison means something only if the processing changed the input.
  EXPECT_NE(0, std::memcmp(fast.data(), input.data(), fast.size() * sizeof(float)));
}

INSTANTIATE_TEST_SUITE_P(
    Blocks, BitIdentity,
    ::testing::Values(Case{"StereoPow2", 2, {4096, 1024, 256, 32}, true},
                      Case{"StereoOddAndRagged", 2, {1, 3, 31, 33, 255, 257, 1001, 4097, 2, 6}, true},
                      Case{"StereoNonMultiplesOf32", 2, {100, 250, 514, 1234, 3000}, false},
                      Case{"MonoPow2", 1, {4096, 512, 64}, true},
                      Case{"MonoOddAndRagged", 1, {1, 7, 33, 99, 255, 777, 2049}, true},
                      Case{"MonoMixedStages", 1, {300, 64, 1500, 45}, false}),
    [](const ::testing::TestParamInfo<Case>& info) { return std::string(info.param.name); });

// A mono stream must leave the right channel's memories alone, so that a
// following stereo stream continues exactly like the reference.
TEST(BitIdentitySwitch, MonoThenStereoKeepsTheRightChannel) {
  std::mt19937 rng(99);
  ProcessorPair pair;
  EffectProcessor_Init(pair.fast.get(), 44100);
  EffectProcessor_Init(pair.reference.get(), 44100);
  for (int channels : {2, 1, 2, 1, 2}) {
    pair.fast->channels = pair.reference->channels = channels;
    Randomise(pair.fast.get(), pair.reference.get(), rng, true);
    std::vector<float> fast = RandomInput(rng, 20000, channels), reference = fast;
    for (size_t at = 0; at < 20000; at += 1000) {
      EffectProcessor_Process(pair.fast.get(), fast.data() + at * channels, 1000);
      ReferenceProcess(pair.reference.get(), reference.data() + at * channels, 1000);
    }
    ASSERT_EQ(0, std::memcmp(fast.data(), reference.data(), fast.size() * sizeof(float))) << channels;
    ExpectSameState(*pair.fast, *pair.reference);
  }
}

}  // namespace
}  // namespace qv::test
