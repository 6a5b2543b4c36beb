// The processor's stages against their mathematics: DC blocker, equalizer,
// crossover and band gains, odd blocks and the bias parity.
#include <gtest/gtest.h>

#include <ostream>

#include <cmath>
#include <complex>
#include <cstring>
#include <memory>
#include <random>
#include <vector>

#include "dsp/effect_processor.h"
#include "dsp/filter_design.h"
#include "tests/dsp/signal_helpers.h"

namespace qv::test {
namespace {

struct ProcessorDeleter {
  void operator()(EffectProcessor* p) const { DeleteProcessor(p); }
};
using Processor = std::unique_ptr<EffectProcessor, ProcessorDeleter>;
Processor Make(int channels) { return Processor(NewProcessor(channels)); }

void DesignEq(EffectProcessor* p, const double (&gainDb)[kEqBandCount]) {
  for (int c = 0; c < 2; ++c)
    for (int k = 0; k < kEqBandCount; ++k)
      DesignPeakingSection(&p->eqCascade[c].section[k], 44100, kEqCentreHz[k], kEqQ, gainDb[k]);
}

void DesignCrossover(EffectProcessor* p, double rate, double f1, double f2, double f3) {
  for (int c = 0; c < 2; ++c) {
    DesignCrossoverPair(&p->crossover.low[c].section[0], &p->crossover.midLow[c].section[0], rate, f1);
    DesignCrossoverPair(&p->crossover.midLow[c].section[1], &p->crossover.midHigh[c].section[0], rate, f2);
    DesignCrossoverPair(&p->crossover.midHigh[c].section[1], &p->crossover.high[c].section[0], rate, f3);
  }
}

std::complex<double> SectionResponse(const BiquadSection& s, double hz, double rate) {
  const std::complex<double> z1 = std::polar(1.0, -2.0 * kPi * hz / rate);
  return (s.c2 + s.c3 * z1 + s.c4 * z1 * z1) / (1.0 - s.c0 * z1 - s.c1 * z1 * z1);
}

std::complex<double> DcBlockerResponse(double hz, double rate) {
  const std::complex<double> z1 = std::polar(1.0, -2.0 * kPi * hz / rate);
  return kDcGain * (1.0 - z1) / (1.0 - kDcPole * z1);
}

TEST(DcBlocker, StepDecaysLikeTheFirstOrderHighPass) {
  auto p = Make(1);
  const float h = 0.5f;
  std::vector<float> x(44100 * 10, h);
  EffectProcessor_Process(p.get(), x.data(), x.size());
  for (size_t n : {0u, 1u, 100u, 1000u, 5000u, 20000u}) {
    const double expected = kDcGain * h * std::pow(kDcPole, static_cast<double>(n));
    EXPECT_NEAR(expected, x[n], 1e-7) << n;  // float output plus the 1e-8 bias
  }
  // A constant input decays toward 0: only the bias is left.
  for (size_t n = x.size() - 100; n < x.size(); ++n) EXPECT_LT(std::fabs(x[n]), 2e-8) << n;
}

TEST(DcBlocker, SilenceCarriesOnlyTheAlternatingBias) {
  auto p = Make(2);
  std::vector<float> x(2 * 4000, 0.0f);
  EffectProcessor_Process(p.get(), x.data(), 4000);
  for (size_t n = 3000; n < 4000; ++n) {
    const float expected = (n % 2 == 0) ? 1e-8f : -1e-8f;
    EXPECT_NEAR(expected, x[2 * n], 1e-12) << n;
    EXPECT_EQ(x[2 * n], x[2 * n + 1]);
  }
}

TEST(Equalizer, AllBandsAtZeroDbLeaveTheSignalUnchanged) {
  auto off = Make(2), on = Make(2);
  const double flat[kEqBandCount] = {};
  DesignEq(on.get(), flat);
  on->eqOnMy = 1;
  std::vector<float> a = Sine(997, 44100, 0.7, 20000, 2), b = a;
  EffectProcessor_Process(off.get(), a.data(), 20000);
  EffectProcessor_Process(on.get(), b.data(), 20000);
  EXPECT_EQ(0, std::memcmp(a.data(), b.data(), a.size() * sizeof(float)));
}

struct ToneCase {
  int band;       // 1..31, the one band raised
  double gainDb;  // its gain
  double toneHz;  // where the sine is
};

void PrintTo(const ToneCase& c, std::ostream* os) {
  *os << "band " << c.band << " " << c.gainDb << " dB at " << c.toneHz << " Hz";
}

class EqualizerTone : public ::testing::TestWithParam<ToneCase> {};

// Sines at band centres and between them get the gain of the cascade there
// (the other bands are flat, so it is that band's section and the DC blocker).
TEST_P(EqualizerTone, SineGetsTheDesignedGain) {
  const ToneCase tc = GetParam();
  auto p = Make(2);
  double gains[kEqBandCount] = {};
  gains[tc.band - 1] = tc.gainDb;
  DesignEq(p.get(), gains);
  p->eqOnLast = 1;
  const size_t frames = 3 * 44100;
  std::vector<float> x = Sine(tc.toneHz, 44100, 0.25, frames, 2);
  ProcessInBlocks(p.get(), x, 4096);
  BiquadSection s;
  DesignPeakingSection(&s, 44100, kEqCentreHz[tc.band - 1], kEqQ, tc.gainDb);
  const double expected = ToDb(SectionMagnitude(s, tc.toneHz, 44100) * std::abs(DcBlockerResponse(tc.toneHz, 44100)));
  for (int c = 0; c < 2; ++c) {
    const double measured = ToDb(AmplitudeAt(x.data(), frames, 2, c, tc.toneHz, 44100, 44100) / 0.25);
    EXPECT_NEAR(expected, measured, 0.005) << "channel " << c;
  }
  if (tc.toneHz == kEqCentreHz[tc.band - 1]) {
    EXPECT_NEAR(tc.gainDb, ToDb(SectionMagnitude(s, tc.toneHz, 44100)), 1e-9);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Tones, EqualizerTone,
    ::testing::Values(ToneCase{18, 10, 1000}, ToneCase{18, -10, 1000}, ToneCase{18, 10, 1122.46},
                      ToneCase{8, 10, 100}, ToneCase{8, 6, 89.1}, ToneCase{24, -8, 4000}, ToneCase{24, -8, 4490},
                      ToneCase{28, 10, 10000}, ToneCase{2, 10, 25}));

// An impulse through the whole equalizer: its spectrum is the product of the
// DC blocker's and every section's response.
TEST(Equalizer, ImpulseResponseMatchesTheCascade) {
  auto p = Make(1);
  double gains[kEqBandCount];
  std::mt19937 rng(7);
  std::uniform_real_distribution<double> g(-10, 10);
  for (double& v : gains) v = g(rng);
  DesignEq(p.get(), gains);
  p->eqOnQv = 1;
  const size_t n = 1 << 17;
  std::vector<float> x(n, 0.0f);
  x[0] = 0.5f;
  ProcessInBlocks(p.get(), x, 1000);
  for (double hz : {40.0, 315.0, 1000.0, 1800.0, 6300.0, 15000.0}) {
    std::complex<double> measured = 0;
    for (size_t i = 0; i < n; ++i) measured += static_cast<double>(x[i]) * std::polar(1.0, -2.0 * kPi * hz * i / 44100);
    std::complex<double> expected = DcBlockerResponse(hz, 44100);
    for (int k = 0; k < kEqBandCount; ++k) expected *= SectionResponse(p->eqCascade[0].section[k], hz, 44100);
    EXPECT_NEAR(ToDb(std::abs(expected)), ToDb(std::abs(measured) / 0.5), 0.01) << hz;
  }
}

// Each band passes twice through its cascade (a Linkwitz-Riley band), with
// its gain, and the bands are summed: the response is the sum of the squared
// band responses.
TEST(Crossover, SumOfSquaredBandsWithTheirGains) {
  const double bandGain[4] = {1.0, 0.5, 2.0, 0.25};
  for (double hz : {50.0, 100.0, 320.0, 1000.0, 4000.0, 12000.0}) {
    auto p = Make(2);
    DesignCrossover(p.get(), 44100, 100, 320, 4000);
    for (int b = 0; b < 4; ++b) p->bandGain[0][b] = p->bandGain[1][b] = bandGain[b];
    p->crossoverOn = 1;
    const size_t frames = 2 * 44100;
    std::vector<float> x = Sine(hz, 44100, 0.25, frames, 2);
    ProcessInBlocks(p.get(), x, 2048);
    const CrossoverCascades& xo = p->crossover;
    auto r = [&](const BiquadSection& s) { return SectionResponse(s, hz, 44100); };
    const std::complex<double> bands[4] = {
        r(xo.low[0].section[0]), r(xo.midLow[0].section[0]) * r(xo.midLow[0].section[1]),
        r(xo.midHigh[0].section[0]) * r(xo.midHigh[0].section[1]), r(xo.high[0].section[0])};
    std::complex<double> sum = 0;
    for (int b = 0; b < 4; ++b) sum += bandGain[b] * bands[b] * bands[b];
    const double expected = ToDb(std::abs(sum * DcBlockerResponse(hz, 44100)));
    EXPECT_NEAR(expected, ToDb(AmplitudeAt(x.data(), frames, 2, 0, hz, 44100, 44100) / 0.25), 0.005) << hz;
    EXPECT_NEAR(expected, ToDb(AmplitudeAt(x.data(), frames, 2, 1, hz, 44100, 44100) / 0.25), 0.005) << hz;
  }
}

TEST(Crossover, BandGainZeroIsAppliedAs1e8) {
  auto unity = Make(2), zero = Make(2);
  for (EffectProcessor* p : {unity.get(), zero.get()}) {
    DesignCrossover(p, 44100, 100, 320, 4000);
    p->crossoverOn = 1;
  }
  for (auto& channel : zero->bandGain)
    for (double& g : channel) g = 0.0;
  const size_t frames = 44100;
  std::vector<float> a = Sine(1000, 44100, 0.5, frames, 2), b = a;
  ProcessInBlocks(unity.get(), a, 4096);
  ProcessInBlocks(zero.get(), b, 4096);
  const double ratio = AmplitudeAt(b.data(), frames, 2, 0, 1000, 44100, 22050) /
                       AmplitudeAt(a.data(), frames, 2, 0, 1000, 44100, 22050);
  EXPECT_NEAR(-160.0, ToDb(ratio), 0.001);
}

TEST(OddBlocks, OneAndThreeFrameBlocksAreProcessed) {
  for (size_t n : {1u, 3u, 5u}) {
    auto p = Make(2);
    double gains[kEqBandCount] = {};
    gains[17] = 10;
    DesignEq(p.get(), gains);
    p->eqOnLast = 1;
    std::vector<float> x(2 * n, 0.25f), in = x;
    EffectProcessor_Process(p.get(), x.data(), n);
    EXPECT_NE(0, std::memcmp(x.data(), in.data(), x.size() * sizeof(float))) << n;
    EXPECT_EQ(n % 2, p->nextFrameOdd);
  }
}

// Without the dynamics every stage works sample by sample, so any split into
// blocks, odd ones included, must give the bits of one long block: the bias
// follows the frame's parity across blocks.
TEST(OddBlocks, BiasParityCarriesAcrossBlocks) {
  std::mt19937 rng(3);
  std::uniform_int_distribution<size_t> size(1, 97);
  for (int channels : {1, 2}) {
    auto whole = Make(channels), split = Make(channels);
    double gains[kEqBandCount];
    for (int k = 0; k < kEqBandCount; ++k) gains[k] = (k % 5) - 2.0;
    for (EffectProcessor* p : {whole.get(), split.get()}) {
      DesignEq(p, gains);
      DesignCrossover(p, 44100, 120, 900, 5000);
      p->bandGain[0][1] = p->bandGain[1][2] = 0.5;
      p->eqOnLast = p->crossoverOn = 1;
    }
    const size_t frames = 30000;
    std::vector<float> a = Sine(440, 44100, 0.3, frames, channels);
    std::vector<float> b = a;
    EffectProcessor_Process(whole.get(), a.data(), frames);
    for (size_t at = 0; at < frames;) {
      const size_t n = std::min(size(rng), frames - at);
      EffectProcessor_Process(split.get(), b.data() + at * channels, n);
      at += n;
    }
    EXPECT_EQ(0, std::memcmp(a.data(), b.data(), a.size() * sizeof(float))) << channels;
  }
}

TEST(Channels, MoreThanTwoLeaveTheBlockAlone) {
  auto p = Make(3);
  p->eqOnLast = p->crossoverOn = p->compressorOn = 1;
  std::vector<float> x = Sine(440, 44100, 0.3, 1000, 3), in = x;
  EffectProcessor_Process(p.get(), x.data(), 1000);
  EXPECT_EQ(0, std::memcmp(x.data(), in.data(), x.size() * sizeof(float)));
}

TEST(ResetEq, FlattensTheEqualizerAndKeepsTheRest) {
  auto p = Make(2);
  double gains[kEqBandCount] = {};
  gains[3] = 5;
  DesignEq(p.get(), gains);
  DesignCrossover(p.get(), 44100, 100, 320, 4000);
  p->eqOnLast = p->crossoverOn = p->compressorOn = 1;
  p->bandGain[1][2] = 0.3;
  std::vector<float> x = Sine(440, 44100, 0.3, 5000, 2);
  EffectProcessor_Process(p.get(), x.data(), 5000);
  const CrossoverMemories split = p->splitMemory;
  const DynamicsBand band = p->dynamics[2];
  EffectProcessor_ResetEq(p.get());
  EXPECT_EQ(0, p->dcMemory[0]);
  EXPECT_EQ(0, p->eqMemory[1][3].w1);
  EXPECT_EQ(31.0, p->eqCascade[0].count);
  EXPECT_EQ(1.0, p->eqCascade[1].section[3].c2);
  EXPECT_EQ(0.0, p->eqCascade[1].section[3].c0);
  EXPECT_EQ(0, std::memcmp(&split, &p->splitMemory, sizeof(split)));
  EXPECT_EQ(band.gainDb, p->dynamics[2].gainDb);
  EXPECT_EQ(0.3, p->bandGain[1][2]);
}

}  // namespace
}  // namespace qv::test
