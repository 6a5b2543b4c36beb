// The FLAC plug-in through its own table: what it accepts, the format it
// reports, the samples it delivers at each bit depth, seeking and stopping.
#include <gtest/gtest.h>

#include <ostream>

#include "engine/plugins/flac/flac_plugin.h"
#include "platform/files/wide_file.h"
#include "tests/plugins/plugin_test_support.h"

namespace qv::test {
namespace {

class FlacPluginTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (plugin_.Context) plugin_.Close(plugin_.Context);
  }
  bool Open(const std::u16string& path) { return OpenWith(plugin_, path, &info_); }
  bool OpenFixture(const std::string& name) { return Open(FixturePath(name)); }
  DecoderPlugin plugin_ = *GetFlacPlugin();
  PluginFileInfo info_{};
};

struct FlacFormat {
  const char* flac;
  const char* wav;
  int channels, rate, bits;
};

void PrintTo(const FlacFormat& c, std::ostream* os) { *os << c.flac; }

class FlacFormatTest : public FlacPluginTest, public ::testing::WithParamInterface<FlacFormat> {};

TEST_P(FlacFormatTest, ReportsTheFormatAndDeliversTheSourceSamples) {
  const FlacFormat& f = GetParam();
  ASSERT_TRUE(OpenFixture(f.flac));
  const WavPcm wav = ReadFixtureWav(f.wav);
  ASSERT_FALSE(wav.data.empty());
  const uint64_t frames = wav.data.size() / (size_t(wav.channels) * (wav.bits / 8));
  EXPECT_EQ(info_.Channels, f.channels);
  EXPECT_EQ(info_.SampleRate, f.rate);
  EXPECT_EQ(info_.BitsPerSample, f.bits);
  EXPECT_EQ(info_.DurationMs, int32_t(double(frames) / f.rate * 1000 + 0.5));
  int64_t size = 0;
  {
    WideFile file;
    ASSERT_TRUE(file.Open(FixturePath(f.flac), FileMode::Read));
    size = file.Size();
  }
  EXPECT_EQ(info_.BitrateKbps, int32_t(double(size) / (double(frames) * 125 / f.rate)));
  Bytes out;
  ASSERT_TRUE(DecodeToEnd(plugin_, 8192, &out));
  EXPECT_EQ(out, Delivered(wav));
}

INSTANTIATE_TEST_SUITE_P(
    Depths, FlacFormatTest,
    ::testing::Values(FlacFormat{"plug_s16_44k_stereo.flac", "plug_s16_44k_stereo.wav", 2, 44100, 16},
                      FlacFormat{"plug_s16_22k_mono.flac", "plug_s16_22k_mono.wav", 1, 22050, 16},
                      FlacFormat{"plug_u8_22k_mono.flac", "plug_u8_22k_mono.wav", 1, 22050, 8},
                      FlacFormat{"plug_s24_48k_stereo.flac", "plug_s24_48k_stereo.wav", 2, 48000, 16},
                      FlacFormat{"plug_s32_44k_stereo.flac", "plug_s32_44k_stereo.wav", 2, 44100, 16}));

TEST_F(FlacPluginTest, EachDecodeDeliversAtMostOneFrameAndFitsTheBuffer) {
  ASSERT_TRUE(OpenFixture("plug_s16_44k_stereo.flac"));
  // flac's default block is 4096 samples: 16384 bytes of stereo 16-bit.
  for (int i = 0; i < 40; ++i) {
    Bytes out;
    const int result = DecodeOnce(plugin_, 1 << 20, &out);
    ASSERT_GE(result, 0);
    EXPECT_LE(out.size(), 16384u);
    if (result == kPluginDecodeLast) break;
  }
  // Small buffers take a frame in pieces; nothing is lost or repeated.
  ASSERT_EQ(plugin_.Seek(plugin_.Context, 0), 0);
  Bytes pieces;
  ASSERT_TRUE(DecodeToEnd(plugin_, 1000, &pieces));
  EXPECT_EQ(pieces, ReadFixtureWav("plug_s16_44k_stereo.wav").data);
}

// A frame goes straight into a buffer it fits and through the frame buffer
// into one it does not: the same samples either way, just under, at and
// over the 16384 bytes of a frame.
class FlacBufferSizeTest : public FlacPluginTest, public ::testing::WithParamInterface<uint32_t> {};

TEST_P(FlacBufferSizeTest, DeliversTheSourceSamplesWhateverTheBufferSize) {
  ASSERT_TRUE(OpenFixture("plug_s16_44k_stereo.flac"));
  Bytes out;
  ASSERT_TRUE(DecodeToEnd(plugin_, GetParam(), &out));
  EXPECT_EQ(out, ReadFixtureWav("plug_s16_44k_stereo.wav").data);
  // Again after a seek into the middle and back to the start.
  ASSERT_GT(plugin_.Seek(plugin_.Context, info_.DurationMs / 2), 0);
  Bytes middle;
  ASSERT_EQ(DecodeOnce(plugin_, GetParam(), &middle), kPluginDecodeMore);
  ASSERT_EQ(plugin_.Seek(plugin_.Context, 0), 0);
  out.clear();
  ASSERT_TRUE(DecodeToEnd(plugin_, GetParam(), &out));
  EXPECT_EQ(out, ReadFixtureWav("plug_s16_44k_stereo.wav").data);
}

INSTANTIATE_TEST_SUITE_P(Sizes, FlacBufferSizeTest, ::testing::Values(16380u, 16384u, 16388u, 49152u));

TEST_F(FlacPluginTest, StreamWithoutTotalSamplesHasNoDurationOrBitrateAndStillPlays) {
  ASSERT_TRUE(OpenFixture("plug_nolength.flac"));
  EXPECT_EQ(info_.DurationMs, 0);
  EXPECT_EQ(info_.BitrateKbps, 0);
  EXPECT_EQ(info_.Channels, 1);
  EXPECT_EQ(plugin_.Seek(plugin_.Context, 500), kPluginSeekFailed);
  Bytes out;
  ASSERT_TRUE(DecodeToEnd(plugin_, 8192, &out));
  EXPECT_EQ(out, ReadFixtureWav("plug_s16_22k_mono.wav").data);
  // Stop rewinds it although it cannot seek by sample count.
  plugin_.Stop(plugin_.Context);
  Bytes again;
  ASSERT_TRUE(DecodeToEnd(plugin_, 8192, &again));
  EXPECT_EQ(again, out);
}

struct SeekCase {
  int32_t ms;
  int32_t reached;
  uint64_t firstFrame;
};

void PrintTo(const SeekCase& c, std::ostream* os) { *os << c.ms << " ms"; }

class FlacSeekTest : public FlacPluginTest, public ::testing::WithParamInterface<SeekCase> {};

// Target sample = total x ms / duration; the reached ms = target x 1000 /
// rate. The output starts exactly at the target sample, inside its frame.
TEST_P(FlacSeekTest, OutputStartsAtTheTargetSample) {
  ASSERT_TRUE(OpenFixture("plug_s16_44k_stereo.flac"));
  const Bytes pcm = ReadFixtureWav("plug_s16_44k_stereo.wav").data;
  Bytes head;
  DecodeOnce(plugin_, 5000, &head);  // leaves output of the first frame pending
  EXPECT_EQ(plugin_.Seek(plugin_.Context, GetParam().ms), GetParam().reached);
  Bytes out;
  ASSERT_TRUE(DecodeToEnd(plugin_, 8192, &out));
  EXPECT_EQ(out, FromFrame(pcm, GetParam().firstFrame, 4));
}

INSTANTIATE_TEST_SUITE_P(Targets, FlacSeekTest,
                         ::testing::Values(SeekCase{1500, 1500, 66150}, SeekCase{0, 0, 0},
                                           SeekCase{1001, 1000, 44144}, SeekCase{93, 92, 4101},
                                           SeekCase{2999, 2998, 132255}));

TEST_F(FlacPluginTest, SeekAfterTheEndStartsAgain) {
  ASSERT_TRUE(OpenFixture("plug_s16_44k_stereo.flac"));
  Bytes all;
  ASSERT_TRUE(DecodeToEnd(plugin_, 8192, &all));
  ASSERT_EQ(plugin_.Seek(plugin_.Context, 2000), 2000);
  Bytes tail;
  ASSERT_TRUE(DecodeToEnd(plugin_, 8192, &tail));
  EXPECT_EQ(tail, FromFrame(all, 88200, 4));
}

// A file cut short: its stream information promises more than it holds, so
// libFLAC cannot find the later samples.
TEST_F(FlacPluginTest, FailedSeekReturnsMinusOneAndDecodingGoesOnFromWhereItWas) {
  Bytes bytes;
  ASSERT_TRUE(ReadWholeFile(FixturePath("plug_s16_44k_stereo.flac"), 1 << 24, bytes));
  bytes.resize(bytes.size() * 2 / 5);
  const std::u16string path = TempPath("truncated.flac");
  ASSERT_TRUE(WriteBytes(path, bytes));
  ASSERT_TRUE(Open(path));
  const Bytes pcm = ReadFixtureWav("plug_s16_44k_stereo.wav").data;
  Bytes out;
  for (int i = 0; i < 3; ++i) ASSERT_EQ(DecodeOnce(plugin_, 6000, &out), kPluginDecodeMore);
  EXPECT_EQ(plugin_.Seek(plugin_.Context, 2800), kPluginSeekFailed);
  Bytes more;
  for (int i = 0; i < 3; ++i) ASSERT_EQ(DecodeOnce(plugin_, 6000, &more), kPluginDecodeMore);
  out.insert(out.end(), more.begin(), more.end());
  EXPECT_EQ(out, Bytes(pcm.begin(), pcm.begin() + long(out.size())));
  // And it still seeks where the data exists.
  ASSERT_EQ(plugin_.Seek(plugin_.Context, 500), 500);
  Bytes after;
  ASSERT_EQ(DecodeOnce(plugin_, 4000, &after), kPluginDecodeMore);
  EXPECT_EQ(after, Bytes(pcm.begin() + 22050 * 4, pcm.begin() + 22050 * 4 + 4000));
}

TEST_F(FlacPluginTest, StopRewindsToTheFirstSample) {
  ASSERT_TRUE(OpenFixture("plug_s16_44k_stereo.flac"));
  const Bytes pcm = ReadFixtureWav("plug_s16_44k_stereo.wav").data;
  Bytes out;
  for (int i = 0; i < 5; ++i) DecodeOnce(plugin_, 3000, &out);
  plugin_.Stop(plugin_.Context);
  Bytes again;
  ASSERT_TRUE(DecodeToEnd(plugin_, 8192, &again));
  EXPECT_EQ(again, pcm);
}

TEST_F(FlacPluginTest, RefusesWhatIsNotAFlacFileEndingInFlac) {
  EXPECT_FALSE(Open(u""));
  EXPECT_FALSE(Open(u".fla"));
  EXPECT_FALSE(OpenFixture("plug_flac_named.wma")) << "FLAC content, other ending";
  EXPECT_FALSE(OpenFixture("plug_ape_named.flac")) << "the ending, other content";
  EXPECT_FALSE(OpenFixture("missing.flac"));
  EXPECT_EQ(plugin_.Context, nullptr);
  // The ending in any letter case.
  EXPECT_TRUE(OpenFixture("plug_mixed_case.Flac"));
}

TEST_F(FlacPluginTest, EntriesWithoutAFileAnswerSafely) {
  PluginWaveHeader header{nullptr, 100, 0};
  EXPECT_EQ(plugin_.Start(nullptr), 0);
  EXPECT_EQ(plugin_.Decode(nullptr, &header), kPluginDecodeError);
  EXPECT_EQ(plugin_.Seek(nullptr, 10), kPluginSeekFailed);
  plugin_.Stop(nullptr);
  plugin_.Close(nullptr);
}

}  // namespace
}  // namespace qv::test
