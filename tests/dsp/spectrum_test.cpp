// The spectrum analyser: the FFT against a plain DFT, the levels of silence
// in each mode, a full-scale tone on each bar's bin, channel selection, mono
// blocks, short blocks and sample sizes.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <complex>
#include <cstring>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "dsp/fft.h"
#include "dsp/spectrum_analyser.h"
#include "tests/dsp/signal_helpers.h"

namespace qv::test {
namespace {

using Levels = std::array<int32_t, kSpectrumBars>;

constexpr Levels kSilenceSingle = {-10, -11, -11, -11, -12, -12, -12, -13, -13, -14,
                                   -14, -14, -15, -15, -15, -16, -16, -16, -17, -17};
constexpr Levels kSilenceBoth = {-10, -11, -12, -12, -13, -14, -15, -15, -16, -17,
                                 -10, -11, -12, -12, -13, -14, -15, -15, -16, -17};
// The bins the bars read.
constexpr int kSingleBins[kSpectrumBars] = {1,  2,  3,  4,   6,   9,   12,  18,  24,  35,
                                            46, 74, 93, 139, 186, 238, 290, 331, 372, 464};
constexpr int kHalfBins[kSpectrumBars / 2] = {1, 3, 6, 12, 24, 46, 93, 186, 290, 372};

Levels AsArray(const SpectrumBands& b) {
  Levels out;
  std::memcpy(out.data(), b.level, sizeof b.level);
  return out;
}

// Analyses one block, in a buffer of exactly its size so that AddressSanitizer
// sees any read past it.
template <typename T>
Levels Analyse(const std::vector<T>& samples, int bits, int channels, int mode) {
  auto analyser = std::make_unique<SpectrumAnalyser>();
  analyser->Format(bits, 44100, channels);
  analyser->SetMode(mode);
  const size_t bytes = samples.size() * sizeof(T);
  std::unique_ptr<uint8_t[]> block(new uint8_t[bytes]);
  std::memcpy(block.get(), samples.data(), bytes);
  analyser->Analyse(block.get(), bytes);
  return AsArray(analyser->Levels());
}

// A full-scale tone exactly on FFT bin k, in the chosen channels.
std::vector<int16_t> BinTone(int bin, size_t frames, int channels, bool left, bool right) {
  std::vector<int16_t> out(frames * channels, 0);
  for (size_t i = 0; i < frames; ++i) {
    const int16_t v = static_cast<int16_t>(std::lrint(32767 * std::sin(2 * kPi * bin * double(i) / 1024)));
    if (left) out[i * channels] = v;
    if (right && channels > 1) out[i * channels + 1] = v;
  }
  return out;
}

TEST(Fft, MatchesTheDefinition) {
  std::mt19937 rng(3);
  std::uniform_real_distribution<float> value(-1000, 1000);
  for (size_t n : {1u, 2u, 8u, 64u, 1024u}) {
    std::vector<float> x(n), re(n), im(n);
    for (float& v : x) v = value(rng);
    ASSERT_TRUE(ForwardFft(x.data(), re.data(), im.data(), n));
    for (size_t k = 0; k < n; k += (n > 64 ? 37 : 1)) {
      std::complex<double> want = 0;
      for (size_t t = 0; t < n; ++t) want += double(x[t]) * std::polar(1.0, -2 * kPi * double(k * t) / double(n));
      const double tolerance = 1e-4 * 1000 * double(n);
      EXPECT_NEAR(want.real(), re[k], tolerance) << "n " << n << " bin " << k;
      EXPECT_NEAR(want.imag(), im[k], tolerance) << "n " << n << " bin " << k;
    }
  }
}

TEST(Fft, RefusesSizesThatAreNotPowersOfTwo) {
  for (size_t n : {0u, 3u, 1000u, 1023u}) {
    std::vector<float> x(1024, 1.0f), re(1024, 7.0f), im(1024, 7.0f);
    EXPECT_FALSE(ForwardFft(x.data(), re.data(), im.data(), n)) << n;
    EXPECT_EQ(std::vector<float>(1024, 7.0f), re);
    EXPECT_EQ(std::vector<float>(1024, 7.0f), im);
  }
}

struct SilenceCase {
  const char* name;
  int mode;
  Levels want;
};

class SpectrumSilence : public ::testing::TestWithParam<SilenceCase> {};

// Modes outside 1 to 3 read as mode 1.
TEST_P(SpectrumSilence, LevelsInEachMode) {
  const SilenceCase& c = GetParam();
  EXPECT_EQ(c.want, Analyse(std::vector<int16_t>(2 * 2048, 0), 16, 2, c.mode));
  EXPECT_EQ(c.want, Analyse(std::vector<uint8_t>(2 * 600, 128), 8, 2, c.mode));
  EXPECT_EQ(c.want, Analyse(std::vector<int16_t>(1500, 0), 16, 1, c.mode));
}

INSTANTIATE_TEST_SUITE_P(
    Modes, SpectrumSilence,
    ::testing::Values(SilenceCase{"Left", 1, kSilenceSingle}, SilenceCase{"Right", 2, kSilenceSingle},
                      SilenceCase{"Both", 3, kSilenceBoth}, SilenceCase{"ZeroAsLeft", 0, kSilenceSingle},
                      SilenceCase{"FourAsLeft", 4, kSilenceSingle},
                      SilenceCase{"NegativeAsLeft", -7, kSilenceSingle}),
    [](const ::testing::TestParamInfo<SilenceCase>& info) { return std::string(info.param.name); });

class SpectrumBar : public ::testing::TestWithParam<int> {};

// A full-scale tone on a bar's bin drives that bar to the cap and leaves
// the others low.
TEST_P(SpectrumBar, FullScaleToneSaturatesItsBar) {
  const int bar = GetParam();
  const Levels single = Analyse(BinTone(kSingleBins[bar], 2048, 2, true, true), 16, 2, 1);
  for (int i = 0; i < kSpectrumBars; ++i) {
    if (i == bar)
      EXPECT_EQ(kSpectrumCap, single[i]);
    else
      EXPECT_LT(single[i], 0) << "bar " << i;
  }
  if (bar >= kSpectrumBars / 2) return;
  const Levels both = Analyse(BinTone(kHalfBins[bar], 2048, 2, true, true), 16, 2, 3);
  for (int i = 0; i < kSpectrumBars; ++i) {
    if (i % 10 == bar)
      EXPECT_EQ(kSpectrumCap, both[i]) << "bar " << i;
    else
      EXPECT_LT(both[i], 0) << "bar " << i;
  }
}

INSTANTIATE_TEST_SUITE_P(Bars, SpectrumBar, ::testing::Range(0, kSpectrumBars));

TEST(Spectrum, ModeChoosesTheChannel) {
  const int bar = 8;
  const std::vector<int16_t> leftOnly = BinTone(kSingleBins[bar], 2048, 2, true, false);
  const std::vector<int16_t> rightOnly = BinTone(kSingleBins[bar], 2048, 2, false, true);
  EXPECT_EQ(kSpectrumCap, Analyse(leftOnly, 16, 2, 1)[bar]);
  EXPECT_EQ(kSilenceSingle, Analyse(leftOnly, 16, 2, 2));
  EXPECT_EQ(kSilenceSingle, Analyse(rightOnly, 16, 2, 1));
  EXPECT_EQ(kSpectrumCap, Analyse(rightOnly, 16, 2, 2)[bar]);

  const std::vector<int16_t> leftBoth = BinTone(kHalfBins[4], 2048, 2, true, false);
  const Levels both = Analyse(leftBoth, 16, 2, 3);
  EXPECT_EQ(kSpectrumCap, both[4]);
  EXPECT_EQ(Levels(kSilenceBoth).back(), both[19]);
  for (int i = 10; i < kSpectrumBars; ++i) EXPECT_EQ(kSilenceBoth[i], both[i]) << "bar " << i;
  const Levels right = Analyse(BinTone(kHalfBins[4], 2048, 2, false, true), 16, 2, 3);
  EXPECT_EQ(kSpectrumCap, right[14]);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(kSilenceBoth[i], right[i]) << "bar " << i;
}

// A mono sample fills both channels of its position: a mono tone reads at
// its own frequency in every mode, like the same tone in both channels of a
// stereo block of as many frames.
TEST(Spectrum, MonoBlocksReadAsMono) {
  for (size_t frames : {size_t(2048), size_t(700), size_t(3)}) {
    const std::vector<int16_t> mono = BinTone(kSingleBins[11], frames, 1, true, false);
    const std::vector<int16_t> stereo = BinTone(kSingleBins[11], frames, 2, true, true);
    for (int mode : {1, 2, 3}) EXPECT_EQ(Analyse(stereo, 16, 2, mode), Analyse(mono, 16, 1, mode)) << frames;
  }
  const Levels mono = Analyse(BinTone(kSingleBins[11], 2048, 1, true, false), 16, 1, 2);
  EXPECT_EQ(kSpectrumCap, mono[11]);
  EXPECT_LT(mono[15], 0);  // not at twice the frequency
}

// Position i holds frame i only while i + 2 <= frames: the last frame of a
// short block is not read, the rest is zero.
TEST(Spectrum, ShortBlocksArePaddedFromTheirLastFrame) {
  std::mt19937 rng(11);
  std::uniform_int_distribution<int> sample(-20000, 20000);
  std::vector<int16_t> full(2 * 1024, 0);
  for (size_t i = 0; i < 2 * 299; ++i) full[i] = static_cast<int16_t>(sample(rng));
  std::vector<int16_t> shortBlock(full.begin(), full.begin() + 2 * 300);
  shortBlock[2 * 299] = 32767;
  shortBlock[2 * 299 + 1] = -32768;
  for (int mode : {1, 2, 3}) EXPECT_EQ(Analyse(full, 16, 2, mode), Analyse(shortBlock, 16, 2, mode));
  // Frames beyond the first 1024 are not read.
  std::vector<int16_t> longBlock = full;
  longBlock.resize(2 * 5000, 12345);
  for (int mode : {1, 2, 3}) EXPECT_EQ(Analyse(full, 16, 2, mode), Analyse(longBlock, 16, 2, mode));
}

TEST(Spectrum, EightBitReadsAsSixteen) {
  std::vector<uint8_t> pcm8(2 * 1500);
  std::vector<int16_t> pcm16(pcm8.size());
  for (size_t i = 0; i < pcm8.size(); ++i) {
    pcm8[i] = static_cast<uint8_t>(std::lrint(128 + 120 * std::sin(2 * kPi * 93 * double(i / 2) / 1024 + (i % 2))));
    pcm16[i] = static_cast<int16_t>((pcm8[i] - 128) * 256);
  }
  for (int mode : {1, 2, 3}) EXPECT_EQ(Analyse(pcm16, 16, 2, mode), Analyse(pcm8, 8, 2, mode)) << mode;
}

TEST(Spectrum, LevelsStayWithoutAFormatOrWithOtherSampleSizes) {
  SpectrumAnalyser analyser;
  std::vector<int16_t> tone = BinTone(kSingleBins[5], 2048, 2, true, true);
  auto* bytes = reinterpret_cast<const uint8_t*>(tone.data());
  const size_t size = tone.size() * 2;
  analyser.Analyse(bytes, size);  // no format yet
  EXPECT_EQ(Levels{}, AsArray(analyser.Levels()));

  analyser.Format(16, 44100, 2);
  analyser.Analyse(bytes, size);
  const Levels toneLevels = AsArray(analyser.Levels());
  EXPECT_EQ(kSpectrumCap, toneLevels[5]);
  analyser.Format(24, 44100, 2);  // a new format clears the levels
  EXPECT_EQ(Levels{}, AsArray(analyser.Levels()));
  analyser.Analyse(bytes, size);
  EXPECT_EQ(Levels{}, AsArray(analyser.Levels()));

  analyser.Format(16, 44100, 2);
  analyser.Analyse(bytes, size);
  EXPECT_EQ(toneLevels, AsArray(analyser.Levels()));
  analyser.Clear();
  EXPECT_EQ(Levels{}, AsArray(analyser.Levels()));
  analyser.Analyse(bytes, size);  // idle until the next format
  EXPECT_EQ(Levels{}, AsArray(analyser.Levels()));
  analyser.Format(16, 44100, 0);  // no channels: nothing to read
  analyser.Analyse(bytes, size);
  EXPECT_EQ(Levels{}, AsArray(analyser.Levels()));
}

}  // namespace
}  // namespace qv::test
