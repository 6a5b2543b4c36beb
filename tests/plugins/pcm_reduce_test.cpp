// The delivered PCM: 8-bit sources as unsigned bytes, everything else as
// 16-bit, wider samples keeping their top 16 bits.
#include <gtest/gtest.h>

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
