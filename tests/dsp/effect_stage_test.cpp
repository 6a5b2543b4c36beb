// The effect stage: when it processes, how records become processor
// settings, and the audible results the player depends on.
#include <gtest/gtest.h>

#include <ostream>

#include <atomic>
#include <cmath>
#include <cstring>
#include <limits>
#include <memory>
#include <thread>
#include <vector>

#include "dsp/effect_params_apply.h"
#include "dsp/effect_stage.h"
#include "dsp/filter_design.h"
#include "dsp/sample_convert.h"
#include "tests/dsp/signal_helpers.h"
#include "tests/dsp/stage_helpers.h"

namespace qv::test {
namespace {

std::unique_ptr<EffectStage> MakeStage(const EffectParams& params, int bits, int rate, int channels) {
  auto stage = std::make_unique<EffectStage>();
  stage->SetParams(params);
  stage->Start(bits, rate, channels);
  return stage;
}

double ToneGainDb(const std::vector<int16_t>& in, const std::vector<int16_t>& out, int channels, int channel,
                  double hz, double rate) {
  const size_t frames = in.size() / channels;
  return ToDb(AmplitudeAt(out.data(), frames, channels, channel, hz, rate, frames / 2) /
              AmplitudeAt(in.data(), frames, channels, channel, hz, rate, frames / 2));
}

TEST(EffectStagePassThrough, EveryEnableWordZeroIsByteIdentical) {
  EffectParams params = DefaultRecord();
  for (int b = 0; b < kEqBands; ++b) params.lastEqGain[b][0] = params.drcEqGain[b][1] = 7;
  params.drcEqOn = 1;  // the DRC set alone does not switch the stage on
  params.bandVolumeLeft[2] = 0;
  for (int channels : {1, 2}) {
    auto stage16 = MakeStage(params, 16, 44100, channels);
    std::vector<int16_t> a = Sine16(1000, 44100, 0.5, 30000, channels), a0 = a;
    RunStage(*stage16, a, channels, 1001);
    EXPECT_EQ(a0, a) << channels;

    auto stage8 = MakeStage(params, 8, 22050, channels);
    std::vector<uint8_t> b(30000 * channels);
    for (size_t i = 0; i < b.size(); ++i) b[i] = static_cast<uint8_t>(i * 37 % 256);
    const std::vector<uint8_t> b0 = b;
    RunStage(*stage8, b, channels, 777);
    EXPECT_EQ(b0, b) << channels;
  }
}

TEST(EffectStagePassThrough, IdleUnsupportedAndWideStreamsAreLeftAlone) {
  EffectParams params = DefaultRecord();
  params.lastEqOn = params.crossoverOn = params.compressorOn = 1;
  params.lastEqGain[17][0] = 10;
  const std::vector<int16_t> input = Sine16(1000, 44100, 0.5, 8192, 2);
  struct Setup {
    const char* name;
    int bits, rate, channels;
    bool start, stop;
  };
  for (const Setup& s : {Setup{"no format yet", 16, 44100, 2, false, false},
                         Setup{"stopped", 16, 44100, 2, true, true}, Setup{"24-bit", 24, 44100, 2, true, false},
                         Setup{"32-bit", 32, 44100, 2, true, false}, Setup{"three channels", 16, 44100, 3, true, false},
                         Setup{"six channels", 16, 44100, 6, true, false}}) {
    EffectStage stage;
    stage.SetParams(params);
    if (s.start) stage.Start(s.bits, s.rate, s.channels);
    if (s.stop) stage.Stop();
    std::vector<int16_t> pcm = input;
    stage.Process(reinterpret_cast<uint8_t*>(pcm.data()), pcm.size() * 2);
    EXPECT_EQ(input, pcm) << s.name;
  }
  // The same stage processes once a supported format arrives.
  EffectStage stage;
  stage.SetParams(params);
  stage.Start(16, 44100, 2);
  std::vector<int16_t> pcm = input;
  stage.Process(reinterpret_cast<uint8_t*>(pcm.data()), pcm.size() * 2);
  EXPECT_NE(input, pcm);
}

TEST(EffectStageBlocks, OddAndLongBlocksAreProcessedLikeOneCall) {
  EffectParams params = DefaultRecord();
  params.lastEqOn = params.crossoverOn = params.compressorOn = params.expanderOn = 1;
  for (int b = 0; b < kEqBands; ++b) params.lastEqGain[b][0] = params.lastEqGain[b][1] = (b % 7) - 3.0f;
  for (size_t frames : {1u, 3u, 1001u, 10000u}) {
    auto stage = MakeStage(params, 16, 44100, 2);
    std::vector<int16_t> pcm = Sine16(440, 44100, 0.3, frames, 2), in = pcm;
    pcm.push_back(0x1234);  // half a frame at the end stays as it is
    stage->Process(reinterpret_cast<uint8_t*>(pcm.data()), pcm.size() * 2);
    EXPECT_EQ(0x1234, pcm.back());
    pcm.pop_back();
    if (frames > 1) {
      EXPECT_NE(in, pcm) << frames;
    }

    // The processor over the whole block in one call, by hand.
    std::unique_ptr<EffectProcessor> p(new EffectProcessor);
    EffectProcessor_Init(p.get(), 44100);
    EffectProcessor_ResetEq(p.get());
    ApplyEffectParams(p.get(), params, 44100);
    p->eqOnLast = p->crossoverOn = p->compressorOn = p->expanderOn = 1;
    p->channels = 2;
    std::vector<float> f(in.size());
    PcmToFloats(reinterpret_cast<const uint8_t*>(in.data()), 16, f.data(), f.size());
    EffectProcessor_Process(p.get(), f.data(), frames);
    std::vector<int16_t> expected(in.size());
    FloatsToPcm(f.data(), 16, reinterpret_cast<uint8_t*>(expected.data()), f.size());
    EXPECT_EQ(expected, pcm) << frames;
  }
}

TEST(EffectStageAcceptance, LastEqBand18At10DbGives10DbAt1kHz) {
  EffectParams params = DefaultRecord();
  params.lastEqOn = 1;
  params.lastEqGain[17][0] = params.lastEqGain[17][1] = 10;
  auto stage = MakeStage(params, 16, 44100, 2);
  const std::vector<int16_t> in = Sine16(1000, 44100, 0.25, 2 * 44100, 2);
  std::vector<int16_t> out = in;
  RunStage(*stage, out, 2, 4608);
  EXPECT_NEAR(10.0, ToneGainDb(in, out, 2, 0, 1000, 44100), 0.05);
  EXPECT_NEAR(10.0, ToneGainDb(in, out, 2, 1, 1000, 44100), 0.05);
}

TEST(EffectStageAcceptance, All31BandsAt10DbGive17Point04DbAt1kHz) {
  EffectParams params = DefaultRecord();
  params.lastEqOn = 1;
  for (auto& band : params.lastEqGain) band[0] = band[1] = 10;
  auto stage = MakeStage(params, 16, 44100, 2);
  const std::vector<int16_t> in = Sine16(1000, 44100, 0.1, 2 * 44100, 2);
  std::vector<int16_t> out = in;
  RunStage(*stage, out, 2, 4608);
  EXPECT_NEAR(17.04, ToneGainDb(in, out, 2, 0, 1000, 44100), 0.1);
  EXPECT_NEAR(17.04, ToneGainDb(in, out, 2, 1, 1000, 44100), 0.1);
}

struct BandAlone {
  const char* name;
  int band;  // 0 low .. 3 high
  int32_t hz[3];
  double toneHz;
};

void PrintTo(const BandAlone& c, std::ostream* os) { *os << c.name; }

class EffectStageCrossoverBand : public ::testing::TestWithParam<BandAlone> {};

// One band alone (the others at volume 0): -6.02 dB at its crossover
// frequency, the Linkwitz-Riley crossing point.
TEST_P(EffectStageCrossoverBand, SingleBandIsMinus6DbAtItsCrossover) {
  const BandAlone tc = GetParam();
  EffectParams params = DefaultRecord();
  params.crossoverOn = 1;
  for (int k = 0; k < 3; ++k) params.crossoverHzLeft[k] = params.crossoverHzRight[k] = tc.hz[k];
  for (int b = 0; b < 4; ++b) params.bandVolumeLeft[b] = params.bandVolumeRight[b] = b == tc.band ? 100 : 0;
  auto stage = MakeStage(params, 16, 44100, 2);
  const std::vector<int16_t> in = Sine16(tc.toneHz, 44100, 0.5, 3 * 44100, 2);
  std::vector<int16_t> out = in;
  RunStage(*stage, out, 2, 4608);
  EXPECT_NEAR(-6.02, ToneGainDb(in, out, 2, 0, tc.toneHz, 44100), 0.1);
  EXPECT_NEAR(-6.02, ToneGainDb(in, out, 2, 1, tc.toneHz, 44100), 0.1);
}

INSTANTIATE_TEST_SUITE_P(Bands, EffectStageCrossoverBand,
                         ::testing::Values(BandAlone{"LowAt100", 0, {100, 320, 4000}, 100},
                                           BandAlone{"HighAt4000", 3, {100, 320, 4000}, 4000},
                                           BandAlone{"MidLowAt100", 1, {100, 1000, 8000}, 100},
                                           BandAlone{"MidLowAt1000", 1, {51, 1000, 8000}, 1000},
                                           BandAlone{"MidHighAt250", 2, {51, 250, 8000}, 250},
                                           BandAlone{"MidHighAt8000", 2, {51, 250, 8000}, 8000},
                                           BandAlone{"HighAt1000", 3, {51, 250, 1000}, 1000}),
                         [](const ::testing::TestParamInfo<BandAlone>& info) { return std::string(info.param.name); });

struct Precedence {
  int qv, last, my, drc;
  int expected;  // 0 qv, 1 last, 2 my, 3 drc, -1 none
};

void PrintTo(const Precedence& c, std::ostream* os) {
  *os << "qv" << c.qv << " last" << c.last << " my" << c.my << " drc" << c.drc;
}

class EffectStageEqPrecedence : public ::testing::TestWithParam<Precedence> {};

TEST_P(EffectStageEqPrecedence, FirstEnabledOfQvLastMyDrcFeedsTheEqualizer) {
  const Precedence tc = GetParam();
  EffectParams params = DefaultRecord();
  float(*sets[4])[2] = {params.qvEqGain, params.lastEqGain, params.myEqGain, params.drcEqGain};
  for (int s = 0; s < 4; ++s)
    for (int b = 0; b < kEqBands; ++b) {
      sets[s][b][0] = static_cast<float>(s + 1 + b * 0.25);
      sets[s][b][1] = static_cast<float>(-(s + 1) - b * 0.25);
    }
  params.qvEqOn = tc.qv;
  params.lastEqOn = tc.last;
  params.myEqOn = tc.my;
  params.drcEqOn = tc.drc;
  auto stage = MakeStage(params, 16, 48000, 2);
  const EffectProcessor p = stage->Snapshot();
  for (int c = 0; c < 2; ++c) {
    for (int b : {0, 17, 30}) {
      BiquadSection expected = kPassThroughSection;  // what the format change left
      if (tc.expected >= 0)
        DesignPeakingSection(&expected, 44100, kEqCentreHz[b], kEqQ, sets[tc.expected][b][c]);
      EXPECT_EQ(0, std::memcmp(&expected, &p.eqCascade[c].section[b], sizeof(expected)))
          << "channel " << c << " band " << b + 1;
    }
  }
}

INSTANTIATE_TEST_SUITE_P(Sets, EffectStageEqPrecedence,
                         ::testing::Values(Precedence{1, 1, 1, 1, 0}, Precedence{0, 1, 1, 1, 1},
                                           Precedence{0, 0, 1, 1, 2}, Precedence{0, 0, 0, 1, 3},
                                           Precedence{1, 0, 1, 0, 0}, Precedence{0, 1, 0, 1, 1},
                                           Precedence{0, 0, 0, 0, -1}));

TEST(EffectStageDesign, RatesOfTheEqualizerAndTheCrossover) {
  EffectParams params = DefaultRecord();
  params.lastEqOn = 1;
  params.lastEqGain[17][0] = 12;  // the built-in curve goes beyond +-10: not clamped
  params.lastEqGain[3][1] = -14;
  params.crossoverHzRight[1] = 700;
  auto stage = MakeStage(params, 16, 48000, 2);
  const EffectProcessor p = stage->Snapshot();
  BiquadSection eq, lp, hp;
  DesignPeakingSection(&eq, 44100, 1000, kEqQ, 12);
  EXPECT_EQ(0, std::memcmp(&eq, &p.eqCascade[0].section[17], sizeof(eq)));
  DesignPeakingSection(&eq, 44100, 40, kEqQ, -14);
  EXPECT_EQ(0, std::memcmp(&eq, &p.eqCascade[1].section[3], sizeof(eq)));
  DesignCrossoverPair(&lp, &hp, 48000, 700);  // the stream's own rate
  EXPECT_EQ(0, std::memcmp(&lp, &p.crossover.midLow[1].section[1], sizeof(lp)));
  EXPECT_EQ(0, std::memcmp(&hp, &p.crossover.midHigh[1].section[0], sizeof(hp)));
  DesignCrossoverPair(&lp, &hp, 48000, 100);
  EXPECT_EQ(0, std::memcmp(&lp, &p.crossover.low[0].section[0], sizeof(lp)));
  EXPECT_EQ(44100.0, p.sampleRate);
  EXPECT_EQ(TimeConstantCoef(0.4f, 44100, 32), p.dynamics[0].attackCoef);
}

struct LowRate {
  const char* name;
  int rate;
  int32_t high;  // high crossover
};

void PrintTo(const LowRate& c, std::ostream* os) { *os << c.name; }

class EffectStageLowRates : public ::testing::TestWithParam<LowRate> {};

// Crossover frequencies at or above the Nyquist frequency of low-rate streams
// are designed at 0.45 of the rate, so the output stays finite and audible.
TEST_P(EffectStageLowRates, CrossoverOnGivesFiniteAudibleOutput) {
  const LowRate tc = GetParam();
  EffectParams params = DefaultRecord();
  params.crossoverOn = 1;
  params.crossoverHzLeft[2] = params.crossoverHzRight[2] = tc.high;
  auto stage = MakeStage(params, 16, tc.rate, 2);
  const size_t frames = static_cast<size_t>(tc.rate) * 6;
  std::vector<int16_t> in = Sine16(300, tc.rate, 0.3, frames, 2);
  const std::vector<int16_t> hf = Sine16(tc.rate * 0.3, tc.rate, 0.2, frames, 2);
  for (size_t i = 0; i < in.size(); ++i) in[i] = static_cast<int16_t>(in[i] + hf[i]);
  std::vector<int16_t> out = in;
  RunStage(*stage, out, 2, 4096);
  for (double hz : {300.0, tc.rate * 0.3}) {
    const double gain = ToneGainDb(in, out, 2, 0, hz, tc.rate);
    EXPECT_GT(gain, -3.0) << hz;
    EXPECT_LT(gain, 3.0) << hz;
  }
  const EffectProcessor p = stage->Snapshot();
  for (const auto& m : p.splitMemory.high) EXPECT_TRUE(std::isfinite(m[0].w1) && std::fabs(m[0].w1) < 10);
}

INSTANTIATE_TEST_SUITE_P(Rates, EffectStageLowRates,
                         ::testing::Values(LowRate{"Rate8000", 8000, 4000}, LowRate{"Rate11025", 11025, 4000},
                                           LowRate{"Rate12000", 12000, 4000}, LowRate{"Rate16000", 16000, 4000},
                                           LowRate{"Rate12000High8000", 12000, 8000}),
                         [](const ::testing::TestParamInfo<LowRate>& info) { return std::string(info.param.name); });

// Non-finite values stand for their defaults and negative times for 0: such
// records play exactly like the records they stand for.
TEST(EffectStageRecords, NanAndNegativeTimesPlayLikeTheirSaneEquivalents) {
  const float nan = std::numeric_limits<float>::quiet_NaN();
  const float inf = std::numeric_limits<float>::infinity();
  EffectParams sane = DefaultRecord();
  sane.lastEqOn = sane.crossoverOn = sane.compressorOn = sane.expanderOn = 1;
  for (int b = 0; b < kEqBands; ++b) sane.lastEqGain[b][0] = sane.lastEqGain[b][1] = 0;
  for (int b = 0; b < 4; ++b) sane.compressorAttack[b] = sane.expanderRelease[b] = 0;

  EffectParams bad = sane;
  for (int b = 0; b < kEqBands; ++b) bad.lastEqGain[b][0] = bad.lastEqGain[b][1] = (b % 2) ? nan : inf;
  for (int b = 0; b < 4; ++b) {
    bad.compressorNormalFactor[b] = bad.expanderNormalFactor[b] = nan;
    bad.compressorThreshold[b] = bad.expanderThreshold[b] = -inf;
    bad.compressorAgcRange[b] = nan;
    bad.compressorAttack[b] = -5;  // negative: instant
    bad.expanderRelease[b] = -100;
    bad.compressorRelease[b] = bad.expanderAttack[b] = nan;  // the defaults 4 and 0.4 ms
  }

  auto a = MakeStage(sane, 16, 44100, 2), b = MakeStage(bad, 16, 44100, 2);
  std::vector<int16_t> x = Sine16(440, 44100, 0.3, 3 * 44100, 2), y = x;
  const std::vector<int16_t> in = x;
  RunStage(*a, x, 2, 4096);
  RunStage(*b, y, 2, 4096);
  EXPECT_EQ(x, y);
  // And that is sane audio: the default compressor takes -10.5 dB off a
  // -10.5 dBFS tone, the expander leaves it alone.
  const double gain = ToneGainDb(in, y, 2, 0, 440, 44100);
  EXPECT_GT(gain, -16.0);
  EXPECT_LT(gain, -4.0);
  // The record itself is stored as it came.
  EXPECT_TRUE(std::isnan(b->Params().compressorNormalFactor[0]));
  EXPECT_EQ(-5.0f, b->Params().compressorAttack[0]);
}

// A record so extreme that the filters overflow leaves non-finite memories;
// the next record clears them, so what follows is not silenced.
TEST(EffectStageRecords, OverflowedMemoriesAreClearedByTheNextRecord) {
  EffectParams bad = DefaultRecord();
  bad.lastEqOn = bad.crossoverOn = bad.compressorOn = 1;
  for (auto& band : bad.lastEqGain) band[0] = band[1] = 10000;
  EffectParams good = DefaultRecord();
  good.lastEqOn = good.crossoverOn = good.compressorOn = 1;

  auto stage = MakeStage(bad, 16, 44100, 2);
  std::vector<int16_t> first = Sine16(1000, 44100, 0.3, 44100, 2);
  RunStage(*stage, first, 2, 4096);
  const EffectProcessor broken = stage->Snapshot();
  bool anyNonFinite = false;
  for (const auto& c : broken.eqMemory)
    for (const auto& m : c) anyNonFinite |= !std::isfinite(m.w1) || !std::isfinite(m.w2);
  for (const auto& c : broken.splitMemory.midHigh)
    for (const auto& m : c) anyNonFinite |= !std::isfinite(m.w1) || !std::isfinite(m.w2);
  ASSERT_TRUE(anyNonFinite) << "the bad record did not overflow; the case tests nothing";

  stage->SetParams(good);
  auto fresh = MakeStage(good, 16, 44100, 2);
  const std::vector<int16_t> in = Sine16(1000, 44100, 0.3, 2 * 44100, 2);
  std::vector<int16_t> out = in, reference = in;
  RunStage(*stage, out, 2, 4096);
  RunStage(*fresh, reference, 2, 4096);
  const double expected = ToneGainDb(in, reference, 2, 0, 1000, 44100);
  EXPECT_NEAR(expected, ToneGainDb(in, out, 2, 0, 1000, 44100), 0.05);
  EXPECT_NEAR(expected, ToneGainDb(in, out, 2, 1, 1000, 44100), 0.05);
}

TEST(EffectStage8Bit, EqualizerWorksOnUnsignedSamples) {
  EffectParams params = DefaultRecord();
  params.myEqOn = 1;
  params.myEqGain[17][0] = 6;
  auto stage = MakeStage(params, 8, 44100, 1);
  const size_t frames = 2 * 44100;
  std::vector<uint8_t> pcm(frames);
  std::vector<int16_t> in16(frames), out16(frames);
  for (size_t i = 0; i < frames; ++i)
    pcm[i] = static_cast<uint8_t>(std::lrint(128 + 40 * std::sin(2 * kPi * 1000 * i / 44100.0)));
  for (size_t i = 0; i < frames; ++i) in16[i] = static_cast<int16_t>((pcm[i] - 128) * 256);
  RunStage(*stage, pcm, 1, 3000);
  for (size_t i = 0; i < frames; ++i) out16[i] = static_cast<int16_t>((pcm[i] - 128) * 256);
  EXPECT_NEAR(6.0, ToneGainDb(in16, out16, 1, 0, 1000, 44100), 0.2);
}

// Records arrive from another thread while blocks are processed; the stage's
// lock keeps every block on one whole design.
TEST(EffectStageThreads, RecordsWhileProcessing) {
  EffectParams a = DefaultRecord(), b = DefaultRecord();
  a.lastEqOn = a.crossoverOn = a.compressorOn = 1;
  b.lastEqOn = b.expanderOn = 1;
  for (auto& band : b.lastEqGain) band[0] = band[1] = -3;
  auto stage = MakeStage(a, 16, 44100, 2);
  std::atomic<bool> done{false};
  std::thread ui([&] {
    for (int i = 0; !done.load(); ++i) stage->SetParams(i % 2 ? a : b);
  });
  const std::vector<int16_t> input = Sine16(440, 44100, 0.3, 44100, 2);
  int audibleRounds = 0;
  for (int round = 0; round < 20; ++round) {
    std::vector<int16_t> pcm = input;
    RunStage(*stage, pcm, 2, 1024);
    int loud = 0;
    for (int16_t s : pcm) loud = std::max(loud, std::abs(static_cast<int>(s)));
    audibleRounds += loud > 1000 && loud < 32767;
  }
  done.store(true);
  ui.join();
  EXPECT_EQ(20, audibleRounds);
}

}  // namespace
}  // namespace qv::test
