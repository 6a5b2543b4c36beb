// The delivered PCM: 8-bit sources as unsigned bytes, everything else as
// 16-bit, wider samples keeping their top 16 bits.
#include <gtest/gtest.h>

#include <algorithm>
#include <ostream>
#include <vector>

#include "engine/plugins/pcm_reduce.h"

namespace qv {
namespace {

TEST(DeliveredBits, EightStaysEightEverythingElseIsSixteen) {
  for (int bits : {4, 12, 16, 20, 24, 32}) EXPECT_EQ(DeliveredBits(bits), 16) << bits;
  EXPECT_EQ(DeliveredBits(8), 8);
}

struct Reduction {
  int bits;
  int32_t sample;
  int16_t expected;
};

void PrintTo(const Reduction& c, std::ostream* os) { *os << c.bits << " bits, " << c.sample; }

class InterleaveReducedTest : public ::testing::TestWithParam<Reduction> {};

TEST_P(InterleaveReducedTest, OneSampleOfEachWidth) {
  const int32_t left = GetParam().sample, right = -GetParam().sample;
  const int32_t* planes[] = {&left, &right};
  uint8_t out[4] = {};
  InterleaveReduced(planes, 1, 2, GetParam().bits, out);
  EXPECT_EQ(int16_t(out[0] | out[1] << 8), GetParam().expected);
  // The negative goes down the same way (arithmetic shift: towards minus infinity).
  const int16_t negated = int16_t(out[2] | out[3] << 8);
  if (GetParam().bits > 16)
    EXPECT_EQ(negated, int16_t(int64_t(right) >> (GetParam().bits - 16)));
  else
    EXPECT_EQ(negated, int16_t(-GetParam().expected));
}

INSTANTIATE_TEST_SUITE_P(
    Widths, InterleaveReducedTest,
    ::testing::Values(Reduction{16, 12345, 12345}, Reduction{16, 32767, 32767}, Reduction{24, 0x123456, 0x1234},
                      Reduction{24, 0x7FFFFF, 0x7FFF}, Reduction{24, 255, 0}, Reduction{20, 0x12345, 0x1234},
                      Reduction{32, 0x12345678, 0x1234}, Reduction{12, 0x123, 0x1230}, Reduction{4, 7, 0x7000}));

TEST(InterleaveReduced, EightBitSignedSamplesBecomeUnsigned) {
  const int32_t mono[] = {-128, -1, 0, 1, 127};
  const int32_t* planes[] = {mono};
  uint8_t out[5] = {};
  InterleaveReduced(planes, 5, 1, 8, out);
  EXPECT_EQ(std::vector<uint8_t>(out, out + 5), (std::vector<uint8_t>{0, 127, 128, 129, 255}));
}

TEST(InterleaveReduced, ChannelsAreInterleavedFrameByFrame) {
  const int32_t a[] = {1, 2, 3}, b[] = {10, 20, 30}, c[] = {100, 200, 300};
  const int32_t* planes[] = {a, b, c};
  uint8_t out[18] = {};
  InterleaveReduced(planes, 3, 3, 16, out);
  std::vector<int> got;
  for (int i = 0; i < 9; ++i) got.push_back(int16_t(out[2 * i] | out[2 * i + 1] << 8));
  EXPECT_EQ(got, (std::vector<int>{1, 10, 100, 2, 20, 200, 3, 30, 300}));
}

int16_t Le16(const std::vector<uint8_t>& bytes, size_t index) {
  return static_cast<int16_t>(bytes[2 * index] | bytes[2 * index + 1] << 8);
}

// Long blocks (the wide paths take eight frames at a time) of 1 to 3
// channels and lengths that leave a tail, against the per-sample rules.
struct BlockShape {
  uint32_t channels;
  uint32_t frames;
  uint32_t first;  // for the 16-bit planes: the first frame taken
};

void PrintTo(const BlockShape& c, std::ostream* os) {
  *os << c.channels << " channels, " << c.frames << " frames from " << c.first;
}

class WideBlocks : public ::testing::TestWithParam<BlockShape> {};

TEST_P(WideBlocks, SixteenBitSourcesAreClippedAndInterleaved) {
  const BlockShape shape = GetParam();
  std::vector<std::vector<int32_t>> planes(shape.channels);
  std::vector<const int32_t*> pointers;
  for (uint32_t c = 0; c < shape.channels; ++c) {
    // Values across and beyond the 16-bit range, different per channel.
    for (uint32_t f = 0; f < shape.frames; ++f)
      planes[c].push_back(static_cast<int32_t>((f * 7919u + c * 104729u) % 140000u) - 70000);
    pointers.push_back(planes[c].data());
  }
  std::vector<uint8_t> out(size_t(shape.frames) * shape.channels * 2 + 1, 0xAB);
  InterleaveReduced(pointers.data(), shape.frames, shape.channels, 16, out.data());
  for (uint32_t f = 0; f < shape.frames; ++f)
    for (uint32_t c = 0; c < shape.channels; ++c)
      ASSERT_EQ(Le16(out, size_t(f) * shape.channels + c), std::clamp(planes[c][f], -32768, 32767))
          << "frame " << f << " channel " << c;
  EXPECT_EQ(out.back(), 0xAB);  // nothing written past the block
}

TEST_P(WideBlocks, SixteenBitPlanesAreInterleavedFromTheFirstFrameAsked) {
  const BlockShape shape = GetParam();
  const uint32_t total = shape.first + shape.frames;
  std::vector<std::vector<int16_t>> planes(shape.channels);
  std::vector<const int16_t*> pointers;
  for (uint32_t c = 0; c < shape.channels; ++c) {
    for (uint32_t f = 0; f < total; ++f) planes[c].push_back(static_cast<int16_t>(f * 40503u + c * 977u));
    pointers.push_back(planes[c].data());
  }
  std::vector<uint8_t> out(size_t(shape.frames) * shape.channels * 2 + 1, 0xAB);
  InterleavePlanes16(pointers.data(), shape.first, shape.frames, shape.channels, out.data());
  for (uint32_t f = 0; f < shape.frames; ++f)
    for (uint32_t c = 0; c < shape.channels; ++c)
      ASSERT_EQ(Le16(out, size_t(f) * shape.channels + c), planes[c][shape.first + f])
          << "frame " << f << " channel " << c;
  EXPECT_EQ(out.back(), 0xAB);
}

TEST_P(WideBlocks, FloatPlanesAreRoundedClippedAndInterleaved) {
  const BlockShape shape = GetParam();
  std::vector<std::vector<float>> planes(shape.channels);
  std::vector<const float*> pointers;
  for (uint32_t c = 0; c < shape.channels; ++c) {
    for (uint32_t f = 0; f < shape.frames; ++f)
      planes[c].push_back(static_cast<float>(int32_t((f * 7919u + c * 104729u) % 2600u) - 1300) / 1000.0f);
    pointers.push_back(planes[c].data());
  }
  std::vector<uint8_t> out(size_t(shape.frames) * shape.channels * 2 + 1, 0xAB);
  InterleaveFloatPlanes16(pointers.data(), shape.frames, shape.channels, out.data());
  for (uint32_t f = 0; f < shape.frames; ++f)
    for (uint32_t c = 0; c < shape.channels; ++c)
      ASSERT_EQ(Le16(out, size_t(f) * shape.channels + c), FloatTo16(planes[c][f]))
          << "frame " << f << " channel " << c;
  EXPECT_EQ(out.back(), 0xAB);
}

INSTANTIATE_TEST_SUITE_P(Shapes, WideBlocks,
                         ::testing::Values(BlockShape{2, 4096, 0}, BlockShape{2, 4093, 3}, BlockShape{1, 1157, 5},
                                           BlockShape{2, 7, 1}, BlockShape{3, 1000, 2}, BlockShape{2, 0, 0}));

struct FloatCase {
  float in;
  int16_t out;
};

void PrintTo(const FloatCase& c, std::ostream* os) { *os << c.in; }

class FloatTo16Test : public ::testing::TestWithParam<FloatCase> {};

TEST_P(FloatTo16Test, ScaledRoundedToNearestEvenAndClipped) { EXPECT_EQ(FloatTo16(GetParam().in), GetParam().out); }

INSTANTIATE_TEST_SUITE_P(Values, FloatTo16Test,
                         ::testing::Values(FloatCase{0.0f, 0}, FloatCase{0.5f, 16384}, FloatCase{-0.5f, -16384},
                                           FloatCase{1.0f, 32767}, FloatCase{-1.0f, -32768},
                                           FloatCase{1.5f, 32767}, FloatCase{-2.0f, -32768},
                                           FloatCase{0.5f / 32768, 0},          // 0.5 rounds to even 0
                                           FloatCase{1.5f / 32768, 2},          // 1.5 rounds to even 2
                                           FloatCase{-2.5f / 32768, -2},        // -2.5 rounds to even -2
                                           FloatCase{100.4f / 32768, 100}));

TEST(ReducePacked, TwentyFourAndThirtyTwoBitsKeepTheirTopBytesInPlace) {
  // Two 24-bit samples: 0x123456 and -2 (0xFFFFFE).
  std::vector<uint8_t> b24 = {0x56, 0x34, 0x12, 0xFE, 0xFF, 0xFF};
  ReducePacked(b24.data(), 2, 24, b24.data());
  EXPECT_EQ(std::vector<uint8_t>(b24.begin(), b24.begin() + 4), (std::vector<uint8_t>{0x34, 0x12, 0xFF, 0xFF}));
  std::vector<uint8_t> b32 = {0x78, 0x56, 0x34, 0x12, 0x00, 0x00, 0x00, 0x80};
  ReducePacked(b32.data(), 2, 32, b32.data());
  EXPECT_EQ(std::vector<uint8_t>(b32.begin(), b32.begin() + 4), (std::vector<uint8_t>{0x34, 0x12, 0x00, 0x80}));
  std::vector<uint8_t> b16 = {1, 2, 3, 4}, out(4);
  ReducePacked(b16.data(), 2, 16, out.data());
  EXPECT_EQ(out, b16);
}

}  // namespace
}  // namespace qv
