#include "engine/output/sample_ops.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <vector>

#include "output_test_support.h"

namespace qv {
namespace {

using test::Sample16At;
using test::Samples16;

struct Gain16Case {
  int gain;
  int16_t in;
  int16_t out;
};

std::ostream& operator<<(std::ostream& os, const Gain16Case& c) {
  return os << "gain " << c.gain << " sample " << c.in;
}

class Gain16 : public ::testing::TestWithParam<Gain16Case> {};

TEST_P(Gain16, ScalesAndClips) {
  const auto c = GetParam();
  auto bytes = Samples16({c.in, c.in});
  ApplyGain(bytes.data(), bytes.size(), 16, c.gain);
  EXPECT_EQ(Sample16At(bytes, 0), c.out);
  EXPECT_EQ(Sample16At(bytes, 1), c.out);
}

INSTANTIATE_TEST_SUITE_P(Values, Gain16,
                         ::testing::Values(Gain16Case{kHeadroomGain, 32767, 17407},
                                           Gain16Case{kHeadroomGain, -32768, -17408},
                                           Gain16Case{kHeadroomGain, 1000, 531},
                                           Gain16Case{kHeadroomGain, -1000, -532},  // shift rounds down
                                           Gain16Case{256, 12345, 12345},
                                           Gain16Case{128, -20001, -10001},
                                           Gain16Case{0, 30000, 0},
                                           Gain16Case{300, 32767, 32767},    // clipped high
                                           Gain16Case{512, -20000, -32768}  // clipped low
                                           ));

// Every 16-bit value, in a block whose length is no multiple of eight and
// that starts one byte into its buffer, against the rule itself: the sample
// times the gain, shifted down by 8 (towards minus infinity), clipped.
class Gain16EveryValue : public ::testing::TestWithParam<int> {};

TEST_P(Gain16EveryValue, MatchesTheRuleAtAnyPositionAndAlignment) {
  const int gain = GetParam();
  const size_t samples = 65536 + 5;
  std::vector<uint8_t> buffer(1 + 2 * samples);
  uint8_t* bytes = buffer.data() + 1;
  for (size_t i = 0; i < samples; ++i) {
    const auto v = static_cast<uint16_t>(i * 40503u);  // every value once, scattered (40503 is odd)
    bytes[2 * i] = static_cast<uint8_t>(v);
    bytes[2 * i + 1] = static_cast<uint8_t>(v >> 8);
  }
  const std::vector<uint8_t> before(buffer);
  ApplyGain(bytes, 2 * samples, 16, gain);
  EXPECT_EQ(buffer[0], before[0]);
  for (size_t i = 0; i < samples; ++i) {
    const int64_t in = static_cast<int16_t>(before[1 + 2 * i] | before[2 + 2 * i] << 8);
    const int64_t want = gain == 256 ? in : std::min<int64_t>(std::max<int64_t>((in * gain) >> 8, -32768), 32767);
    const int16_t got = static_cast<int16_t>(bytes[2 * i] | bytes[2 * i + 1] << 8);
    ASSERT_EQ(got, want) << "sample " << i << " in " << in;
  }
}

INSTANTIATE_TEST_SUITE_P(Gains, Gain16EveryValue,
                         ::testing::Values(kHeadroomGain, 0, 1, 128, 255, 256, 257, 512, -1, -300, 32767, 40000,
                                           -40000));

struct Gain8Case {
  int gain;
  uint8_t in;
  uint8_t out;
};

std::ostream& operator<<(std::ostream& os, const Gain8Case& c) {
  return os << "gain " << c.gain << " byte " << int(c.in);
}

class Gain8 : public ::testing::TestWithParam<Gain8Case> {};

TEST_P(Gain8, ScalesAroundMidpointAndClips) {
  const auto c = GetParam();
  std::vector<uint8_t> bytes{c.in, c.in, c.in};
  ApplyGain(bytes.data(), bytes.size(), 8, c.gain);
  EXPECT_EQ(bytes, (std::vector<uint8_t>{c.out, c.out, c.out}));
}

INSTANTIATE_TEST_SUITE_P(Values, Gain8,
                         ::testing::Values(Gain8Case{kHeadroomGain, 255, 195}, Gain8Case{kHeadroomGain, 0, 60},
                                           Gain8Case{kHeadroomGain, 128, 128}, Gain8Case{kHeadroomGain, 127, 127},
                                           Gain8Case{128, 200, 164}, Gain8Case{0, 17, 128},
                                           Gain8Case{256, 3, 3}, Gain8Case{512, 250, 255},
                                           Gain8Case{512, 5, 0}));

// Samples wider than 16 bits are never read as 16-bit ones.
TEST(WideSamples, EveryRoutineLeavesThemUntouched) {
  for (int bits : {24, 32}) {
    std::vector<uint8_t> data(6 * 100);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 37 + 11);
    const auto original = data;

    ApplyGain(data.data(), data.size(), bits, kHeadroomGain);
    ApplyGain(data.data(), data.size(), bits, 17);
    FadeIn fade;
    fade.Arm(44100);
    fade.Apply(data.data(), data.size(), bits, 2);
    EXPECT_EQ(data, original) << bits << "-bit";

    std::vector<uint8_t> zeros(data.size(), 0);
    EXPECT_EQ(MeasureSilenceFromStart(zeros.data(), zeros.size(), bits, 2), 0u) << bits;
    EXPECT_EQ(MeasureSilenceFromEnd(zeros.data(), zeros.size(), bits, 2), 0u) << bits;
  }
}

struct SilenceCase {
  const char* name;
  int bits;
  int channels;
  std::vector<uint8_t> data;
  size_t fromStart;
  size_t fromEnd;
};

std::vector<uint8_t> Frames16(std::initializer_list<int16_t> samples) { return Samples16(samples); }

std::ostream& operator<<(std::ostream& os, const SilenceCase& c) { return os << c.name; }

class MeasureSilence : public ::testing::TestWithParam<SilenceCase> {};

TEST_P(MeasureSilence, CountsWholeNearSilentFramesFromEachEnd) {
  const auto& c = GetParam();
  EXPECT_EQ(MeasureSilenceFromStart(c.data.data(), c.data.size(), c.bits, c.channels), c.fromStart);
  EXPECT_EQ(MeasureSilenceFromEnd(c.data.data(), c.data.size(), c.bits, c.channels), c.fromEnd);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, MeasureSilence,
    ::testing::Values(
        SilenceCase{"StereoFirstFrameAudible", 16, 2, Frames16({0, 17, 0, 0}), 0, 4},
        SilenceCase{"StereoEdgesOfNearSilence", 16, 2, Frames16({16, -16, 0, 0, 100, 0, 0, -16}), 8, 4},
        SilenceCase{"SeventeenIsAudible", 16, 2, Frames16({-17, 0, 5, 5}), 0, 4},
        SilenceCase{"MonoAllSilent", 16, 1, Frames16({0, 1, -1, 16, -16}), 10, 10},
        SilenceCase{"EightBitMono", 8, 1, {128, 128, 129, 128}, 2, 1},
        SilenceCase{"EightBitStereoOneChannelAudible", 8, 2, {128, 128, 127, 128}, 2, 0},
        SilenceCase{"EightBitZeroIsLoud", 8, 1, {0, 128}, 0, 1},
        SilenceCase{"PartialTrailingFrameIgnored", 16, 2, {0, 0, 0, 0, 0, 0}, 4, 4},
        SilenceCase{"Empty", 16, 2, {}, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

struct ArmCase {
  int rate;
  int32_t step;
  uint32_t frames;
};

std::ostream& operator<<(std::ostream& os, const ArmCase& c) { return os << c.rate << "Hz"; }

class FadeArm : public ::testing::TestWithParam<ArmCase> {};

TEST_P(FadeArm, StepAndLengthFollowTheRate) {
  const auto c = GetParam();
  FadeIn fade;
  fade.Arm(c.rate);
  EXPECT_EQ(fade.gain, 0);
  EXPECT_EQ(fade.step, c.step);
  EXPECT_EQ(fade.framesLeft, c.frames);
}

INSTANTIATE_TEST_SUITE_P(Rates, FadeArm,
                         ::testing::Values(ArmCase{44100, 2, 33075}, ArmCase{48000, 2, 36000},
                                           ArmCase{22050, 4, 16537}, ArmCase{11025, 8, 8268},
                                           ArmCase{8000, 11, 6000}));

TEST(FadeIn, RisesLinearlyOver32768FramesAt44100AcrossBlocks) {
  const size_t frames = 40000;
  std::vector<int16_t> samples(frames * 2);
  for (size_t i = 0; i < frames; ++i) {
    samples[2 * i] = 30000;
    samples[2 * i + 1] = -30000;
  }
  auto bytes = Samples16(samples);
  FadeIn fade;
  fade.Arm(44100);
  // Blocks of uneven sizes must continue the ramp where the last one ended.
  size_t offset = 0;
  for (size_t chunk : {4u * 1000, 4u * 12345, 4u * 30000}) {
    const size_t n = std::min(chunk, bytes.size() - offset);
    fade.Apply(bytes.data() + offset, n, 16, 2);
    offset += n;
  }
  EXPECT_FALSE(fade.Active());
  for (size_t i = 0; i < frames; ++i) {
    const int32_t gain = i < 32768 ? static_cast<int32_t>(2 * i) : 65536;
    ASSERT_EQ(Sample16At(bytes, 2 * i), (30000 * gain) >> 16) << "frame " << i;
    ASSERT_EQ(Sample16At(bytes, 2 * i + 1), (-30000 * gain) >> 16) << "frame " << i;
  }
  EXPECT_EQ(Sample16At(bytes, 0), 0);  // starts from silence
}

TEST(FadeIn, EightBitSamplesFadeAroundTheMidpoint) {
  std::vector<uint8_t> bytes(7000, 255);
  FadeIn fade;
  fade.Arm(8000);  // step 11, 6000 frames at most
  fade.Apply(bytes.data(), bytes.size(), 8, 1);
  for (size_t i = 0; i < bytes.size(); ++i) {
    const int64_t gain = std::min<int64_t>(11 * static_cast<int64_t>(i), 65536);
    const int expected = i * 11 < 65536 ? static_cast<int>(((127 * gain) >> 16) + 128) : 255;
    ASSERT_EQ(bytes[i], expected) << "frame " << i;
  }
  EXPECT_EQ(bytes[0], 128);
}

TEST(FadeIn, CancelLeavesDataAlone) {
  auto bytes = Samples16({1000, 2000, 3000, 4000});
  const auto original = bytes;
  FadeIn fade;
  fade.Arm(44100);
  fade.Cancel();
  fade.Apply(bytes.data(), bytes.size(), 16, 2);
  EXPECT_EQ(bytes, original);
}

}  // namespace
}  // namespace qv
