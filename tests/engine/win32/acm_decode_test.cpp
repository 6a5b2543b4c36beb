// Compressed WAV files through the system's compression manager (msacm32
// under wine): IMA ADPCM, MS ADPCM and GSM 6.10 decode to the tone they
// hold, and G.711 decodes exactly as the built-in G.711 manager does.
#include <gtest/gtest.h>

#include <cmath>

#include "platform/text/utf16.h"
#include "tests/engine/engine_test_support.h"

namespace qv::test {
namespace {

const StatusList kWholePlay = {{3, 0}, {1, 0}, {0, 0}};
constexpr double kPi = 3.14159265358979323846;

std::vector<double> Channel(const Bytes& pcm16, int channels, int channel) {
  std::vector<double> out;
  for (size_t i = size_t(channel) * 2; i + 1 < pcm16.size(); i += size_t(channels) * 2)
    out.push_back(int16_t(pcm16[i] | pcm16[i + 1] << 8));
  return out;
}

// Goertzel power of one frequency.
double PowerAt(const std::vector<double>& x, double hz, double rate) {
  const double k = 2 * std::cos(2 * kPi * hz / rate);
  double s1 = 0, s2 = 0;
  for (double v : x) {
    const double s = v + k * s1 - s2;
    s2 = s1;
    s1 = s;
  }
  return s1 * s1 + s2 * s2 - k * s1 * s2;
}

struct Decoded {
  StatusList statuses;
  PcmFormat format;
  Bytes played;
};

Decoded PlayWith(AudioCompressionManager* manager, const std::u16string& path) {
  TestEngine t(VirtualWaveOut::Pace::Instant, manager);
  Decoded d;
  if (!Engine_OpenFile(t.handle(), path.c_str())) return d;
  d.statuses = t.PlayToEnd();
  d.format = t.device().Format();
  d.played = t.device().Played();
  return d;
}

TEST(SystemCompressionManager, AdpcmAndGsmDecodeToTheirTone) {
  struct Case {
    std::u16string path;
    int channels, rate;
    uint32_t frames;  // from the file's fact chunk
  };
  const std::vector<Case> cases = {
      {FixturePath("ima_adpcm_22k_mono.wav"), 1, 22050, 44100},
      {FixturePath("ms_adpcm_22k_stereo.wav"), 2, 22050, 44100},
      {TempPath("gsm610_8k_mono.wav"), 1, 8000, 16000},
  };
  auto acm = CreateSystemCompressionManager();
  for (const auto& c : cases) {
    const std::string name = ToUtf8(c.path);
    const Decoded d = PlayWith(acm.get(), c.path);
    ASSERT_EQ(d.statuses, kWholePlay) << name;
    EXPECT_EQ(d.format.bitsPerSample, 16) << name;
    EXPECT_EQ(d.format.channels, c.channels) << name;
    EXPECT_EQ(int(d.format.samplesPerSec), c.rate) << name;
    const double frames = double(d.played.size()) / (2.0 * c.channels);
    EXPECT_NEAR(frames, c.frames, 0.05 * c.frames) << name;
    for (int ch = 0; ch < c.channels; ++ch) {
      const std::vector<double> x = Channel(d.played, c.channels, ch);
      const double tone = std::max(PowerAt(x, 440, c.rate), PowerAt(x, 660, c.rate));
      EXPECT_GT(tone, 50 * PowerAt(x, 1000, c.rate)) << name << " channel " << ch;
      EXPECT_GT(tone, 50 * PowerAt(x, 2500, c.rate)) << name << " channel " << ch;
      double energy = 0;
      for (double v : x) energy += v * v;
      EXPECT_GT(std::sqrt(energy / double(x.size())), 2000) << name << ": a tone at half scale, after the gain";
    }
  }
}

TEST(SystemCompressionManager, G711MatchesTheBuiltInManager) {
  auto acm = CreateSystemCompressionManager();
  auto g711 = CreateG711CompressionManager();
  for (const char* name : {"mulaw_8k_mono.wav", "alaw_8k_mono.wav"}) {
    const Decoded system = PlayWith(acm.get(), FixturePath(name));
    const Decoded builtIn = PlayWith(g711.get(), FixturePath(name));
    ASSERT_EQ(system.statuses, kWholePlay) << name;
    ASSERT_EQ(builtIn.statuses, kWholePlay) << name;
    EXPECT_EQ(system.played.size(), 32000u) << name;
    EXPECT_EQ(system.played, builtIn.played) << name;
  }
}

}  // namespace
}  // namespace qv::test
