#include <gtest/gtest.h>

#include <ostream>

#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <vector>

#include "dsp/sample_convert.h"

namespace qv {
namespace {

TEST(SampleConvert, Every16BitValueSurvivesTheRoundTrip) {
  for (int v = -32768; v <= 32767; ++v) {
    const int16_t s = static_cast<int16_t>(v);
    ASSERT_EQ(s, FloatToPcm16(PcmToFloat(s))) << v;
  }
}

TEST(SampleConvert, Every8BitValueSurvivesTheRoundTrip) {
  for (int v = 0; v <= 255; ++v) {
    const uint8_t u = static_cast<uint8_t>(v);
    ASSERT_EQ(u, FloatToPcm8(PcmToFloat(u))) << v;
  }
  EXPECT_EQ(0.0f, PcmToFloat(uint8_t{128}));
  EXPECT_EQ(-1.0f, PcmToFloat(uint8_t{0}));
  EXPECT_EQ(-1.0f, PcmToFloat(int16_t{-32768}));
}

struct Saturation {
  float x;
  int16_t pcm16;
  uint8_t pcm8;
};

void PrintTo(const Saturation& c, std::ostream* os) { *os << c.x; }

class SampleSaturation : public ::testing::TestWithParam<Saturation> {};

TEST_P(SampleSaturation, SaturatesTruncatesAndNeverWraps) {
  const Saturation tc = GetParam();
  EXPECT_EQ(tc.pcm16, FloatToPcm16(tc.x)) << tc.x;
  EXPECT_EQ(tc.pcm8, FloatToPcm8(tc.x)) << tc.x;
}

INSTANTIATE_TEST_SUITE_P(
    Values, SampleSaturation,
    ::testing::Values(Saturation{1.0f, 32767, 255}, Saturation{2.0f, 32767, 255}, Saturation{1e30f, 32767, 255},
                      Saturation{std::numeric_limits<float>::infinity(), 32767, 255},
                      Saturation{-1.0f, -32768, 0}, Saturation{-3.5f, -32768, 0},
                      Saturation{-std::numeric_limits<float>::infinity(), -32768, 0},
                      Saturation{std::numeric_limits<float>::quiet_NaN(), 0, 128},
                      Saturation{-std::numeric_limits<float>::quiet_NaN(), 0, 128},
                      Saturation{1.9f / 32768, 1, 128}, Saturation{-1.9f / 32768, -1, 127},
                      Saturation{0.999f, 32735, 255}, Saturation{255.9f / 32768, 255, 128},
                      Saturation{256.0f / 32768, 256, 129}, Saturation{-256.0f / 32768, -256, 127},
                      Saturation{-257.0f / 32768, -257, 126}));

TEST(SampleConvert, BuffersConvertEachSample) {
  const int16_t in16[4] = {-32768, -1, 0, 32767};
  float f[4];
  PcmToFloats(reinterpret_cast<const uint8_t*>(in16), 16, f, 4);
  f[3] = 7.0f;  // saturates on the way back
  int16_t out16[4];
  FloatsToPcm(f, 16, reinterpret_cast<uint8_t*>(out16), 4);
  EXPECT_EQ(-32768, out16[0]);
  EXPECT_EQ(-1, out16[1]);
  EXPECT_EQ(0, out16[2]);
  EXPECT_EQ(32767, out16[3]);

  const uint8_t in8[3] = {0, 128, 255};
  PcmToFloats(in8, 8, f, 3);
  f[1] = std::numeric_limits<float>::quiet_NaN();
  uint8_t out8[3];
  FloatsToPcm(f, 8, out8, 3);
  EXPECT_EQ(0, out8[0]);
  EXPECT_EQ(128, out8[1]);
  EXPECT_EQ(255, out8[2]);
}

}  // namespace
}  // namespace qv
