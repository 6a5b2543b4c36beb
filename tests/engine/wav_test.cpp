// WAV files: the chunk walk, the formats, damaged files, the compressed path
// through the G.711 manager and a converter that leaves input unused.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>

#include "engine/output/sample_ops.h"
#include "platform/files/wide_file.h"
#include "tests/engine/engine_test_support.h"

namespace qv::test {
namespace {

const StatusList kWholePlay = {{3, 0}, {1, 0}, {0, 0}};

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Bytes Le32(uint32_t v) { return {uint8_t(v), uint8_t(v >> 8), uint8_t(v >> 16), uint8_t(v >> 24)}; }

// Plays `wav` and returns what the device received; empty when it did not open.
Bytes PlayWav(const std::string& name, const Bytes& wav, int* opened = nullptr, StatusList* statuses = nullptr) {
  TestEngine t;
  if (!WriteBytes(TempPath(name), wav)) return {};
  const int ok = Engine_OpenFile(t.handle(), TempPath(name).c_str());
  if (opened) *opened = ok;
  if (!ok) return {};
  const StatusList s = t.PlayToEnd();
  if (statuses) *statuses = s;
  return t.device().Played();
}

TEST(Wav, PcmFormatsPlayAtTheirOwnWidth) {
  struct Case {
    uint16_t channels, bits;
    uint32_t rate;
  };
  for (const Case c : {Case{1, 8, 22050}, Case{2, 8, 22050}, Case{1, 16, 44100}, Case{2, 16, 44100},
                       Case{1, 16, 8000}, Case{2, 16, 48000}}) {
    const uint32_t frames = c.rate * 3 / 2 + 7;
    const Bytes data = c.bits == 8 ? Pcm8(frames, c.channels, [](uint32_t f, int ch) { return int((f * 3 + ch) % 256); })
                                   : Pcm16(frames, c.channels, RampSample);
    TestEngine t;
    const std::string name = "fmt_" + std::to_string(c.channels) + "_" + std::to_string(c.bits) + ".wav";
    ASSERT_TRUE(WriteBytes(TempPath(name), PcmWav(c.channels, c.rate, c.bits, data)));
    ASSERT_EQ(Engine_OpenFile(t.handle(), TempPath(name).c_str()), 1) << name;
    TrackInfo info{};
    Engine_GetTrackInfo(t.handle(), &info);
    EXPECT_EQ(info.Channels, c.channels) << name;
    EXPECT_EQ(info.SampleRate, int32_t(c.rate)) << name;
    EXPECT_EQ(info.BitrateKbps, int32_t(c.rate * c.channels * c.bits / 8 / 125)) << name;
    EXPECT_EQ(Engine_GetLength(t.handle()), int32_t(uint64_t(frames) * 1000 / c.rate)) << name;
    EXPECT_EQ(t.PlayToEnd(), kWholePlay) << name;
    EXPECT_EQ(t.device().Format().bitsPerSample, c.bits) << name;
    EXPECT_EQ(t.device().Format().channels, c.channels) << name;
    EXPECT_EQ(t.device().Played(), Scaled(data, c.bits, kHeadroomGain)) << name;
  }
}

TEST(Wav, FixturesPlayTheirData) {
  struct Case {
    const char* name;
    int bits;
  };
  for (const Case c : {Case{"pcm_s16_44k_stereo.wav", 16}, Case{"pcm_s16_44k_mono.wav", 16},
                       Case{"pcm_u8_22k_mono.wav", 8}, Case{"pcm_u8_22k_stereo.wav", 8}, Case{"pcm_s16_8k_mono.wav", 16}}) {
    const Bytes data = ReadFixtureData(c.name);
    ASSERT_FALSE(data.empty()) << c.name;
    TestEngine t;
    ASSERT_EQ(Engine_OpenFile(t.handle(), FixturePath(c.name).c_str()), 1) << c.name;
    EXPECT_EQ(t.PlayToEnd(), kWholePlay) << c.name;
    EXPECT_EQ(t.device().Played(), Scaled(data, c.bits, kHeadroomGain)) << c.name;
  }
}

TEST(Wav, ChunkLayoutsThatFindTheirData) {
  const Bytes data = Pcm16(3000, 2, RampSample);
  const Bytes fmt = FmtPayload(1, 2, 44100, 16, 176400, 4);
  struct Case {
    const char* name;
    Bytes wav;
    Bytes played;
  };
  const std::vector<Case> cases = {
      {"list between fmt and data",
       WavBuilder().Chunk("fmt ", fmt).Chunk("LIST", Bytes(26, 'i')).Data(data).Build(), data},
      {"odd chunk with pad before fmt",
       WavBuilder().Chunk("junk", Bytes(3, 0x7F)).Chunk("fmt ", fmt).Data(data).Build(), data},
      {"odd chunk with pad after fmt",
       WavBuilder().Chunk("fmt ", fmt).Chunk("bext", Bytes(5, 'd')).Data(data).Build(), data},
      {"pad byte holding the text data",
       WavBuilder().Chunk("fmt ", fmt).Chunk("note", {'d', 'a', 't'}).Raw({'a'}).Data(data).Build(), data},
      {"fact chunk on PCM", WavBuilder().Chunk("fmt ", fmt).Chunk("fact", Le32(1)).Data(data).Build(), data},
      {"fmt with extra bytes",
       WavBuilder().Chunk("fmt ", Concat({fmt, {0, 0}})).Data(data).Build(), data},
      {"empty data chunk, then data",
       WavBuilder().Chunk("fmt ", fmt).Data({}).Chunk("LIST", Bytes(4, 1)).Data(data).Build(), data},
      {"broken chunk size, data found by search",
       WavBuilder().Chunk("fmt ", fmt).Chunk("LIST", Bytes(6, 'x'), 0x7FFFFFF0).Data(data).Build(), data},
      {"data size beyond the end of the file",
       WavBuilder().Chunk("fmt ", fmt).Chunk("data", data, 5000000).Build(), data},
      {"file cut inside a frame",
       Concat({WavBuilder().Chunk("fmt ", fmt).Chunk("data", {}, 12002).Build(), data, {1, 2}}), data},
  };
  for (const auto& c : cases) {
    int opened = 0;
    StatusList statuses;
    const Bytes played = PlayWav("layout.wav", c.wav, &opened, &statuses);
    ASSERT_EQ(opened, 1) << c.name;
    EXPECT_EQ(statuses, kWholePlay) << c.name;
    EXPECT_EQ(played, Scaled(c.played, 16, kHeadroomGain)) << c.name;
  }
}

TEST(Wav, DamagedFilesAreRefused) {
  const Bytes data = Pcm16(100, 2, RampSample);
  const Bytes fmt = FmtPayload(1, 2, 44100, 16, 176400, 4);
  auto withFmt = [&](const Bytes& f) { return WavBuilder().Chunk("fmt ", f).Data(data).Build(); };
  Bytes riffx = withFmt(fmt);
  riffx[3] = 'X';
  Bytes notWave = withFmt(fmt);
  notWave[8] = 'A';
  Bytes cutFmt = WavBuilder().Chunk("fmt ", fmt).Build();
  cutFmt.resize(12 + 8 + 10);
  const std::vector<std::pair<const char*, Bytes>> cases = {
      {"empty file", {}},
      {"RIFX", riffx},
      {"not WAVE", notWave},
      {"no fmt", WavBuilder().Data(data).Build()},
      {"fmt of 14 bytes", withFmt(Bytes(fmt.begin(), fmt.begin() + 14))},
      {"fmt above 64 KiB", withFmt(Concat({fmt, Bytes(65536 - 16 + 2, 0)}))},
      {"fmt cut short", cutFmt},
      {"zero channels", withFmt(FmtPayload(1, 0, 44100, 16, 176400, 4))},
      {"zero rate", withFmt(FmtPayload(1, 2, 0, 16, 176400, 4))},
      {"zero bytes per second", withFmt(FmtPayload(1, 2, 44100, 16, 0, 4))},
      {"zero block align", withFmt(FmtPayload(1, 2, 44100, 16, 176400, 0))},
      {"block align above 4096", withFmt(FmtPayload(0x11, 1, 22050, 4, 11100, 4097))},
      {"PCM of 0 bits", withFmt(FmtPayload(1, 2, 44100, 0, 176400, 4))},
      {"PCM of 12 bits", withFmt(FmtPayload(1, 2, 44100, 12, 132300, 3))},
      {"PCM frame larger than any block", withFmt(FmtPayload(1, 4000, 8000, 16, 64000000, 8000))},
      {"huge channel count", withFmt(FmtPayload(1, 65535, 44100, 32, 0xFFFFFFFF, 4096))},
      {"gigabytes per second", withFmt(FmtPayload(1, 2, 400000000, 16, 1600000000, 4))},
      {"format the manager does not know", withFmt(FmtPayload(0x55, 2, 44100, 0, 16000, 1))},
      {"no data chunk", WavBuilder().Chunk("fmt ", fmt).Chunk("LIST", Bytes(8, 1)).Build()},
      {"only an empty data chunk", WavBuilder().Chunk("fmt ", fmt).Data({}).Build()},
      {"huge chunk before fmt", WavBuilder().Chunk("junk", Bytes(4, 0), 0xFFFFFFFF).Chunk("fmt ", fmt).Build()},
  };
  for (const auto& [name, wav] : cases) {
    TestEngine t;
    ASSERT_TRUE(WriteBytes(TempPath("damaged.wav"), wav)) << name;
    EXPECT_EQ(Engine_OpenFile(t.handle(), TempPath("damaged.wav").c_str()), 0) << name;
    EXPECT_EQ(Engine_GetSourceKind(t.handle()), 0) << name;
  }
}

TEST(Wav, RepositionReadsFromTheFrameOffset) {
  const Bytes data = Pcm16(88200, 2, RampSample);
  TestEngine t;
  ASSERT_TRUE(WriteBytes(TempPath("repos.wav"), PcmWav(2, 44100, 16, data)));
  ASSERT_EQ(Engine_OpenFile(t.handle(), TempPath("repos.wav").c_str()), 1);
  ASSERT_EQ(Engine_Seek(t.handle(), 1000), 1);
  EXPECT_EQ(Engine_GetPosition(t.handle()), 1000);
  EXPECT_EQ(t.PlayToEnd(), kWholePlay);
  const Bytes expected(data.begin() + 176400, data.end());
  EXPECT_EQ(t.device().Played(), Scaled(expected, 16, kHeadroomGain));
}

// The G.711 reference points: code -> 16-bit value.
TEST(Wav, G711ThroughTheCompressionManager) {
  struct Case {
    uint16_t tag;
    std::vector<std::pair<uint8_t, int>> points;
  };
  const std::vector<Case> cases = {
      {7, {{0xFF, 0}, {0x7F, 0}, {0x80, 32124}, {0x00, -32124}, {0xF0, 120}, {0x70, -120}}},
      {6, {{0xD5, 8}, {0x55, -8}, {0xAA, 32256}, {0x2A, -32256}, {0xD4, 24}, {0x54, -24}}},
  };
  for (const auto& c : cases) {
    Bytes codes(8000 * 2);  // 2 s of 8 kHz mono
    for (size_t i = 0; i < codes.size(); ++i) codes[i] = c.points[i % c.points.size()].first;
    const Bytes wav = WavBuilder()
                          .Chunk("fmt ", Concat({FmtPayload(c.tag, 1, 8000, 8, 8000, 1), {0, 0}}))
                          .Chunk("fact", Le32(16000))
                          .Data(codes)
                          .Build();
    TestEngine t;
    ASSERT_TRUE(WriteBytes(TempPath("g711.wav"), wav));
    ASSERT_EQ(Engine_OpenFile(t.handle(), TempPath("g711.wav").c_str()), 1) << c.tag;
    EXPECT_EQ(Engine_GetLength(t.handle()), 2000);
    TrackInfo info{};
    Engine_GetTrackInfo(t.handle(), &info);
    EXPECT_EQ(info.BitrateKbps, 64);
    ASSERT_EQ(t.PlayToEnd(), kWholePlay) << c.tag;
    EXPECT_EQ(t.device().Format().bitsPerSample, 16);
    const Bytes expected =
        Pcm16(uint32_t(codes.size()), 1, [&](uint32_t f, int) { return c.points[f % c.points.size()].second; });
    EXPECT_EQ(t.device().Played(), Scaled(expected, 16, kHeadroomGain)) << c.tag;

    // Compressed reposition: 500 ms at 8000 bytes per second.
    TestEngine s;
    ASSERT_EQ(Engine_OpenFile(s.handle(), TempPath("g711.wav").c_str()), 1);
    ASSERT_EQ(Engine_Seek(s.handle(), 500), 1);
    ASSERT_EQ(s.PlayToEnd(), kWholePlay);
    EXPECT_EQ(s.device().Played(), Scaled(Bytes(expected.begin() + 8000, expected.end()), 16, kHeadroomGain));
  }
}

TEST(Wav, CompressedLengthWithoutFactComesFromTheByteRate) {
  // 3 s of data at 8000 average bytes per second, 22050 samples per second.
  const Bytes wav = WavBuilder().Chunk("fmt ", FmtPayload(7, 1, 22050, 8, 8000, 1)).Data(Bytes(24000, 0xFF)).Build();
  TestEngine t;
  ASSERT_TRUE(WriteBytes(TempPath("nofact.wav"), wav));
  ASSERT_EQ(Engine_OpenFile(t.handle(), TempPath("nofact.wav").c_str()), 1);
  EXPECT_EQ(Engine_GetLength(t.handle()), 66150 * 1000 / 22050);
}

// A converter of 3-byte units that asks for more input than it uses, so the
// engine must feed the leftover again: sample = b0 | b1 << 8, b2 checks order.
class UnitCodec : public AudioCompressionManager {
 public:
  static constexpr uint16_t kTag = 0x7777;
  bool SuggestPcm(const WaveFormatBytes& source, PcmFormat* pcm) override {
    if (source.size() < 16 || (source[0] | source[1] << 8) != kTag) return false;
    *pcm = PcmFormat::Make(1, 8000, 16);
    return true;
  }
  std::unique_ptr<AudioConversionStream> OpenStream(const WaveFormatBytes&, const PcmFormat&) override {
    return std::make_unique<Stream>();
  }
  static Bytes Encode(const Bytes& pcm16) {
    Bytes out;
    for (size_t i = 0; i + 1 < pcm16.size(); i += 2) out.insert(out.end(), {pcm16[i], pcm16[i + 1], uint8_t(i / 2)});
    return out;
  }

 private:
  struct Stream : AudioConversionStream {
    uint32_t SourceBytesFor(uint32_t dest) override { return dest / 2 * 3 + 2; }
    bool Convert(const uint8_t* src, uint32_t n, uint8_t* dest, uint32_t cap, uint32_t* used, uint32_t* out) override {
      const uint32_t units = std::min(n / 3, cap / 2);
      for (uint32_t u = 0; u < units; ++u) {
        dest[2 * u] = src[3 * u];
        dest[2 * u + 1] = src[3 * u + 1];
      }
      *used = units * 3;
      *out = units * 2;
      return true;
    }
    void Reset() override {}
  };
};

TEST(Wav, CompressedLoopFeedsUnusedSourceBytesAgain) {
  UnitCodec codec;
  const Bytes pcm = Pcm16(30000, 1, RampSample);
  const Bytes wav =
      WavBuilder().Chunk("fmt ", FmtPayload(UnitCodec::kTag, 1, 8000, 12, 24000, 3)).Data(UnitCodec::Encode(pcm)).Build();
  TestEngine t(VirtualWaveOut::Pace::Instant, &codec);
  ASSERT_TRUE(WriteBytes(TempPath("units.wav"), wav));
  ASSERT_EQ(Engine_OpenFile(t.handle(), TempPath("units.wav").c_str()), 1);
  EXPECT_EQ(t.PlayToEnd(), kWholePlay);
  EXPECT_EQ(t.device().Played(), Scaled(pcm, 16, kHeadroomGain));
}

TEST(Wav, FiveHourFileReportsItsLengthAndSeeks) {
  // 5 h of 44100 Hz stereo 16-bit: 3175200000 bytes, written sparse.
  const uint32_t dataBytes = 3175200000u;
  Bytes header = WavBuilder().Chunk("fmt ", FmtPayload(1, 2, 44100, 16, 176400, 4)).Build();
  header.insert(header.end(), {'d', 'a', 't', 'a'});
  const Bytes size = Le32(dataBytes);
  header.insert(header.end(), size.begin(), size.end());
  {
    WideFile file;
    ASSERT_TRUE(file.Open(TempPath("five_hours.wav"), FileMode::CreateAlways));
    ASSERT_EQ(file.Write(header.data(), header.size()), int64_t(header.size()));
    ASSERT_TRUE(file.Seek(int64_t(header.size()) + dataBytes - 1));
    const uint8_t last = 0;
    ASSERT_EQ(file.Write(&last, 1), 1);
  }
  TestEngine t;
  ASSERT_EQ(Engine_OpenFile(t.handle(), TempPath("five_hours.wav").c_str()), 1);
  EXPECT_EQ(Engine_GetLength(t.handle()), 18000000);
  TrackInfo info{};
  Engine_GetTrackInfo(t.handle(), &info);
  EXPECT_EQ(std::u16string(info.TimeText), u"05:00:00");
  ASSERT_EQ(Engine_Seek(t.handle(), 14400000), 1);
  EXPECT_EQ(Engine_GetPosition(t.handle()), 14400000);
  EXPECT_EQ(Engine_Seek(t.handle(), 17999000), 1);
  EXPECT_EQ(Engine_GetPosition(t.handle()), 17999000);
  EXPECT_EQ(Engine_Seek(t.handle(), 18000000), 0);
  Engine_CloseFile(t.handle());
  WriteBytes(TempPath("five_hours.wav"), {});
}

}  // namespace
}  // namespace qv::test
