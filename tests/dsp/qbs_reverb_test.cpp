// REVERB from impulses: line lengths per rate, the tap positions and gains of
// the all-pass chain, the crossed feedback and which frame it reads, the
// preset table, and the tail cleared by a new record.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <string>
#include <vector>

#include "dsp/qbs_reverb.h"
#include "tests/dsp/qbs_helpers.h"

namespace qv::test {
namespace {

struct LengthCase {
  const char* name;
  int rate;
  std::array<size_t, kReverbLines> lengths;
};

class ReverbLengths : public ::testing::TestWithParam<LengthCase> {};

TEST_P(ReverbLengths, FollowTheRate) {
  Reverberator reverb;
  ASSERT_TRUE(reverb.Init(GetParam().rate));
  for (int k = 0; k < kReverbLines; ++k) EXPECT_EQ(GetParam().lengths[k], reverb.LineLength(k)) << "line " << k;
}

// 35 ms at 44100 Hz is exactly 1543.5 samples before the half is taken off:
// evaluated as fs * (T / 1000) it would round up to 1544.
INSTANTIATE_TEST_SUITE_P(
    Rates, ReverbLengths,
    ::testing::Values(LengthCase{"Rate8000", 8000, {120, 176, 66, 280, 240, 528}},
                      LengthCase{"Rate44100", 44100, {661, 970, 366, 1543, 1323, 2911}},
                      LengthCase{"Rate48000", 48000, {720, 1056, 398, 1680, 1440, 3168}},
                      LengthCase{"Rate96000", 96000, {1440, 2112, 797, 3360, 2880, 6336}},
                      LengthCase{"Rate192000", 192000, {2880, 4224, 1594, 6720, 5760, 12672}},
                      LengthCase{"Rate20HzKeepsOneSample", 20, {1, 1, 1, 1, 1, 1}}),
    [](const ::testing::TestParamInfo<LengthCase>& info) { return std::string(info.param.name); });

TEST(Reverb, RefusesRatesItCannotSize) {
  Reverberator reverb;
  for (int rate : {0, -44100, kReverbMaxRate + 1}) {
    EXPECT_FALSE(reverb.Init(rate)) << rate;
    std::vector<float> frames = {0.5f, -0.25f, 0.125f, 0.0f};
    const std::vector<float> before = frames;
    reverb.Process(frames.data(), 2, {10, 10, 10});
    EXPECT_EQ(before, frames);
  }
}

// One echo of an impulse in the left channel: its frame after the impulse
// and its gain per unit of input.
struct Echo {
  size_t at;
  double gain;
};

// With the feedback off, the left channel's answer to an impulse is the dry
// impulse minus the taps of a cascade of all-pass stages, each of which
// passes -g at once and (1 - g^2) one line length later. At 44100 Hz the
// first line delays everything by 661 frames; the short tap reads after the
// 366-, 970- and 1543-frame stages, the long tap after all five.
void ExpectEchoes(int shortTap, int longTap, const std::vector<Echo>& echoes) {
  const size_t frames = 5000;
  std::vector<float> in(2 * frames, 0.0f);
  in[0] = 0.5f;
  QbsRun run(ReverbRecord(3, 0, shortTap, longTap));
  const std::vector<float> out = run.Frames(in);
  EXPECT_EQ(0.5f, out[0]);
  for (size_t n = 0; n < frames; ++n) ASSERT_EQ(0.0f, out[2 * n + 1]) << "right channel, frame " << n;
  for (size_t n = 1; n < 661; ++n) ASSERT_EQ(0.0f, out[2 * n]) << "before the first line, frame " << n;
  for (const Echo& e : echoes) EXPECT_NEAR(0.5 * e.gain, out[2 * e.at], 1e-7) << "frame " << e.at;
}

TEST(Reverb, ShortTapEchoes) {
  const double g2 = 0.4, g3 = 0.6, g4 = 0.3;
  const double tap = 0.5;  // step 10
  ExpectEchoes(10, 0,
               {{661, -tap * (-g2) * (-g3) * (-g4)},
                {661 + 366, -tap * (-g2) * (1 - g3 * g3) * (-g4)},
                {661 + 2 * 366, -tap * (-g2) * (1 - g3 * g3) * g3 * (-g4)},
                {661 + 970, -tap * (1 - g2 * g2) * (-g3) * (-g4)},
                {661 + 1543, -tap * (-g2) * (-g3) * (1 - g4 * g4)},
                {661 + 100, 0.0}});
}

TEST(Reverb, LongTapEchoes) {
  const double g[5] = {0.4, 0.6, 0.3, 0.4, 0.1};
  const double direct = -g[0] * -g[1] * -g[2] * -g[3] * -g[4];
  const double tap = 0.05 * 7;  // step 7
  ExpectEchoes(0, 7,
               {{661, -tap * direct},
                {661 + 1323, -tap * direct / -g[3] * (1 - g[3] * g[3])},
                {661 + 2911, -tap * direct / -g[4] * (1 - g[4] * g[4])},
                {661 + 366, -tap * direct / -g[1] * (1 - g[1] * g[1])}});
}

// Each channel feeds back what the other one low-passed in the previous
// frame, the right channel included: with an impulse in the left channel
// only, the right channel first sounds one frame after two passes through
// the first line.
TEST(Reverb, FeedbackCrossesChannelsOneFrameLate) {
  const size_t frames = 3000, n1 = 661;
  std::vector<float> in(2 * frames, 0.0f);
  in[0] = 1.0f;
  QbsRun run(ReverbRecord(3, 10, 0, 10));
  const std::vector<float> out = run.Frames(in);

  Reverberator probe;
  ASSERT_TRUE(probe.Init(44100));
  const double a = probe.LowPassCoefficient();
  const double chain = 0.4 * 0.6 * 0.3 * 0.4 * 0.1;  // the five stages at once, sign (-1)^5
  const double leftLowPassed = (1 - a) * -chain;      // left's low-passed output at frame n1
  const double fedToRight = -0.65 * leftLowPassed;
  const double rightAnswer = -0.5 * (fedToRight * -chain);

  for (size_t n = 0; n <= 2 * n1; ++n) ASSERT_EQ(0.0f, out[2 * n + 1]) << "right channel, frame " << n;
  EXPECT_NEAR(rightAnswer, out[2 * (2 * n1 + 1) + 1], 1e-9);
}

TEST(Reverb, ChannelsAreMirrorImages) {
  const std::vector<int16_t> pcm = MusicPcm16(20000, 2, 5);
  std::vector<float> in(pcm.size()), swapped(pcm.size());
  for (size_t i = 0; i < pcm.size(); ++i) in[i] = pcm[i] / 32768.0f;
  for (size_t i = 0; i < pcm.size(); i += 2) {
    swapped[i] = in[i + 1];
    swapped[i + 1] = in[i];
  }
  QbsRun a(ReverbRecord(1, 0, 0, 0)), b(ReverbRecord(1, 0, 0, 0));
  const std::vector<float> out = a.Frames(in), outSwapped = b.Frames(swapped);
  ASSERT_NE(in, out);
  for (size_t i = 0; i < out.size(); i += 2) {
    ASSERT_EQ(out[i], outSwapped[i + 1]) << "frame " << i / 2;
    ASSERT_EQ(out[i + 1], outSwapped[i]) << "frame " << i / 2;
  }
}

struct PresetCase {
  const char* name;
  int preset, feedback, shortTap, longTap;
  ReverbSteps want;
};

class ReverbPreset : public ::testing::TestWithParam<PresetCase> {};

TEST_P(ReverbPreset, ChoosesItsSteps) {
  const PresetCase& c = GetParam();
  const ReverbSteps got = ReverbPresetSteps(c.preset, c.feedback, c.shortTap, c.longTap);
  EXPECT_EQ(c.want.feedback, got.feedback);
  EXPECT_EQ(c.want.shortTap, got.shortTap);
  EXPECT_EQ(c.want.longTap, got.longTap);
}

INSTANTIATE_TEST_SUITE_P(
    Table, ReverbPreset,
    ::testing::Values(PresetCase{"Preset0", 0, 1, 2, 3, {5, 10, 0}}, PresetCase{"Preset1", 1, 1, 2, 3, {6, 10, 8}},
                      PresetCase{"Preset2", 2, 1, 2, 3, {10, 0, 10}}, PresetCase{"Custom", 3, 1, 2, 3, {1, 2, 3}},
                      PresetCase{"CustomClampedHigh", 3, 11, 200, 1 << 30, {10, 10, 10}},
                      PresetCase{"CustomClampedLow", 3, -1, -200, INT32_MIN, {0, 0, 0}},
                      PresetCase{"PresetAboveTable", 9, 1, 2, 3, {5, 10, 0}},
                      PresetCase{"PresetNegative", -1, 1, 2, 3, {5, 10, 0}}),
    [](const ::testing::TestParamInfo<PresetCase>& info) { return std::string(info.param.name); });

// Preset 2 ignores the custom steps, all the way through the effect.
TEST(Reverb, FixedPresetIgnoresCustomSteps) {
  const std::vector<int16_t> pcm = MusicPcm16(8000, 2, 9);
  std::vector<float> in(pcm.size());
  for (size_t i = 0; i < pcm.size(); ++i) in[i] = pcm[i] / 32768.0f;
  QbsRun a(ReverbRecord(2, 0, 0, 0)), b(ReverbRecord(2, 7, 3, 1));
  const std::vector<float> outA = a.Frames(in);
  EXPECT_EQ(outA, b.Frames(in));
  EXPECT_NE(in, outA);
}

// A record set while a stream plays restarts the reverberation from silence.
TEST(Reverb, NewRecordClearsTheTail) {
  std::vector<float> in(2 * 3000, 0.0f);
  in[0] = in[1] = 0.8f;
  QbsRun run(ReverbRecord(1, 0, 0, 0));
  const std::vector<float> first = run.Frames(in);
  ASSERT_NE(0.0f, first[2 * 661]);

  std::vector<float> silence(2 * 1000, 0.0f);
  const std::vector<float> tail = run.Frames(silence);
  ASSERT_NE(silence, tail);
  run.effect.SetParams(ReverbRecord(1, 0, 0, 0));
  EXPECT_EQ(silence, run.Frames(silence));
}

}  // namespace
}  // namespace qv::test
