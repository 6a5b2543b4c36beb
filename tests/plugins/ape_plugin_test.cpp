// The APE decompressor over FFmpeg and the APE plug-in on top of it: every
// compression level decodes to the samples it was made from, seeks land on
// the exact block, and other content is refused.
#include <gtest/gtest.h>

#include <ostream>

#include "engine/plugins/ape/ape_decompressor.h"
#include "engine/plugins/ape/ape_plugin.h"
#include "platform/files/wide_file.h"
#include "tests/plugins/plugin_test_support.h"

namespace qv::test {
namespace {

Bytes ReadAll(ApeDecompressor& d, int64_t blocksPerCall) {
  const int64_t align = d.GetInfo(ApeInfo::BlockAlign);
  Bytes out, buffer(size_t(blocksPerCall * align));
  for (;;) {
    int64_t got = 0;
    if (!d.GetData(buffer.data(), blocksPerCall, &got)) {
      ADD_FAILURE() << "decoding error";
      return out;
    }
    if (got == 0) return out;
    out.insert(out.end(), buffer.begin(), buffer.begin() + long(got * align));
  }
}

struct ApeFile {
  const char* ape;
  const char* wav;
};

void PrintTo(const ApeFile& c, std::ostream* os) { *os << c.ape; }

class ApeDecompressorTest : public ::testing::TestWithParam<ApeFile> {};

TEST_P(ApeDecompressorTest, InformationAndBlocksMatchTheSource) {
  const WavPcm wav = ReadFixtureWav(GetParam().wav);
  ASSERT_FALSE(wav.data.empty());
  auto d = ApeDecompressor::Create(FixturePath(GetParam().ape).c_str());
  ASSERT_NE(d, nullptr);
  const int64_t align = wav.channels * (wav.bits / 8);
  const int64_t blocks = int64_t(wav.data.size()) / align;
  EXPECT_EQ(d->GetInfo(ApeInfo::Channels), wav.channels);
  EXPECT_EQ(d->GetInfo(ApeInfo::SampleRate), wav.rate);
  EXPECT_EQ(d->GetInfo(ApeInfo::BitsPerSample), wav.bits);
  EXPECT_EQ(d->GetInfo(ApeInfo::BlockAlign), align);
  EXPECT_EQ(d->GetInfo(ApeInfo::TotalBlocks), blocks);
  EXPECT_EQ(d->GetInfo(ApeInfo::LengthMs), blocks * 1000 / wav.rate);
  EXPECT_GT(d->GetInfo(ApeInfo::AverageBitrate), 0);
  EXPECT_EQ(ReadAll(*d, 1000), wav.data);
  EXPECT_EQ(d->GetInfo(ApeInfo::CurrentBlock), blocks);
}

INSTANTIATE_TEST_SUITE_P(
    Levels, ApeDecompressorTest,
    ::testing::Values(ApeFile{"plug_s16_44k_stereo_c1.ape", "plug_s16_44k_stereo.wav"},
                      ApeFile{"plug_s16_44k_stereo_c2.ape", "plug_s16_44k_stereo.wav"},
                      ApeFile{"plug_s16_44k_stereo_c3.ape", "plug_s16_44k_stereo.wav"},
                      ApeFile{"plug_s16_44k_stereo_c4.ape", "plug_s16_44k_stereo.wav"},
                      ApeFile{"plug_s16_44k_stereo_c5.ape", "plug_s16_44k_stereo.wav"},
                      ApeFile{"plug_s16_22k_mono.ape", "plug_s16_22k_mono.wav"},
                      ApeFile{"plug_u8_22k_mono.ape", "plug_u8_22k_mono.wav"}));

struct BlockSeek {
  const char* ape;
  int64_t block;
};

void PrintTo(const BlockSeek& c, std::ostream* os) { *os << c.ape << " block " << c.block; }

class ApeBlockSeekTest : public ::testing::TestWithParam<BlockSeek> {};

// Frames of levels 1-3 hold 73728 blocks, of level 4 294912: the targets sit
// at frame starts, inside frames and at the end.
TEST_P(ApeBlockSeekTest, NextBlockIsTheOneAskedFor) {
  const Bytes pcm = ReadFixtureWav("plug_s16_44k_stereo.wav").data;
  auto d = ApeDecompressor::Create(FixturePath(GetParam().ape).c_str());
  ASSERT_NE(d, nullptr);
  Bytes skipped(40000);
  int64_t got = 0;
  ASSERT_TRUE(d->GetData(skipped.data(), 10000, &got));
  ASSERT_TRUE(d->Seek(GetParam().block));
  EXPECT_EQ(d->GetInfo(ApeInfo::CurrentBlock), GetParam().block);
  EXPECT_EQ(d->GetInfo(ApeInfo::CurrentMs), GetParam().block * 1000 / 44100);
  EXPECT_EQ(ReadAll(*d, 777), FromFrame(pcm, uint64_t(GetParam().block), 4));
}

INSTANTIATE_TEST_SUITE_P(Blocks, ApeBlockSeekTest,
                         ::testing::Values(BlockSeek{"plug_s16_44k_stereo_c2.ape", 0},
                                           BlockSeek{"plug_s16_44k_stereo_c2.ape", 1},
                                           BlockSeek{"plug_s16_44k_stereo_c2.ape", 73727},
                                           BlockSeek{"plug_s16_44k_stereo_c2.ape", 73728},
                                           BlockSeek{"plug_s16_44k_stereo_c2.ape", 100000},
                                           BlockSeek{"plug_s16_44k_stereo_c2.ape", 132299},
                                           BlockSeek{"plug_s16_44k_stereo_c2.ape", 132300},
                                           BlockSeek{"plug_s16_44k_stereo_c4.ape", 4609},
                                           BlockSeek{"plug_s16_44k_stereo_c4.ape", 120000},
                                           BlockSeek{"plug_s16_44k_stereo_c1.ape", 80000}));

TEST(ApeDecompressor, RefusesOtherContentAndMissingFiles) {
  for (const char* name : {"plug_s16_44k_stereo.flac", "plug_s16_44k_stereo.wav", "vorbis_tags.ogg",
                           "mpeg1_l3_cbr.mp3", "wma2_44k_stereo.wma", "missing.ape"})
    EXPECT_EQ(ApeDecompressor::Create(FixturePath(name).c_str()), nullptr) << name;
  EXPECT_EQ(ApeDecompressor::Create(u""), nullptr);
  EXPECT_EQ(ApeDecompressor::Create(nullptr), nullptr);
}

TEST(ApeDecompressor, NameWithAProtocolPrefixIsAPlainFile) {
  const std::u16string path = CopyFixture("plug_s16_44k_stereo_c2.ape", "concat:song.ape");
  ASSERT_FALSE(path.empty());
  auto d = ApeDecompressor::Create(path.c_str());
  ASSERT_NE(d, nullptr);
  EXPECT_EQ(d->GetInfo(ApeInfo::TotalBlocks), 132300);
}

TEST(ApeDecompressor, DamagedFrameIsADecodingError) {
  Bytes bytes;
  ASSERT_TRUE(ReadWholeFile(FixturePath("plug_s16_44k_stereo_c2.ape"), 1 << 24, bytes));
  bytes.resize(bytes.size() / 2);
  const std::u16string path = TempPath("truncated.ape");
  ASSERT_TRUE(WriteBytes(path, bytes));
  auto d = ApeDecompressor::Create(path.c_str());
  ASSERT_NE(d, nullptr);
  Bytes buffer(4 * 4096);
  bool failed = false;
  int64_t total = 0;
  for (int i = 0; i < 100 && !failed; ++i) {
    int64_t got = 0;
    failed = !d->GetData(buffer.data(), 4096, &got);
    total += got;
    if (!failed && got == 0) break;
  }
  EXPECT_TRUE(failed) << "a file cut in half ends in an error, not a quiet end";
  EXPECT_LT(total, 132300);
}

class ApePluginTest : public ::testing::Test {
 protected:
  void TearDown() override {
    if (plugin_.Context) plugin_.Close(plugin_.Context);
  }
  bool OpenFixture(const std::string& name) { return OpenWith(plugin_, FixturePath(name), &info_); }
  DecoderPlugin plugin_ = *GetApePlugin();
  PluginFileInfo info_{};
};

TEST_F(ApePluginTest, ReportsTheDecompressorsInformation) {
  ASSERT_TRUE(OpenFixture("plug_s16_44k_stereo_c2.ape"));
  EXPECT_EQ(info_.Channels, 2);
  EXPECT_EQ(info_.SampleRate, 44100);
  EXPECT_EQ(info_.BitsPerSample, 16);
  EXPECT_EQ(info_.DurationMs, 3000);
  // File bytes x 8 / ms.
  Bytes bytes;
  ASSERT_TRUE(ReadWholeFile(FixturePath("plug_s16_44k_stereo_c2.ape"), 1 << 24, bytes));
  EXPECT_EQ(info_.BitrateKbps, int32_t(bytes.size() * 8 / 3000));
  plugin_.Close(plugin_.Context);
  ASSERT_TRUE(OpenFixture("plug_u8_22k_mono.ape"));
  EXPECT_EQ(info_.Channels, 1);
  EXPECT_EQ(info_.SampleRate, 22050);
  EXPECT_EQ(info_.BitsPerSample, 8);
}

TEST_F(ApePluginTest, DeliversTheSamplesAndEndsWithAnEmptyLastDecode) {
  for (const char* name : {"plug_s16_44k_stereo_c3.ape", "plug_u8_22k_mono.ape"}) {
    ASSERT_TRUE(OpenFixture(name)) << name;
    Bytes out;
    int last = 0;
    ASSERT_TRUE(DecodeToEnd(plugin_, 6000, &out, &last));
    const std::string wav = std::string(name).find("u8") != std::string::npos ? "plug_u8_22k_mono.wav"
                                                                               : "plug_s16_44k_stereo.wav";
    EXPECT_EQ(out, ReadFixtureWav(wav).data) << name;
    // The call that reported the end recorded nothing.
    Bytes tail;
    EXPECT_EQ(DecodeOnce(plugin_, 6000, &tail), kPluginDecodeLast);
    EXPECT_TRUE(tail.empty());
    plugin_.Close(plugin_.Context);
    plugin_.Context = nullptr;
  }
}

struct ApeMsSeek {
  int32_t ms, reached;
  uint64_t block;
};

void PrintTo(const ApeMsSeek& c, std::ostream* os) { *os << c.ms << " ms"; }

class ApePluginSeekTest : public ApePluginTest, public ::testing::WithParamInterface<ApeMsSeek> {};

// Blocks = ms x (rate / 1000): at 44100 Hz, 44 blocks a millisecond.
TEST_P(ApePluginSeekTest, SeeksToWholeBlocksPerMillisecond) {
  ASSERT_TRUE(OpenFixture("plug_s16_44k_stereo_c2.ape"));
  EXPECT_EQ(plugin_.Seek(plugin_.Context, GetParam().ms), GetParam().reached);
  Bytes out;
  ASSERT_TRUE(DecodeToEnd(plugin_, 8192, &out));
  EXPECT_EQ(out, FromFrame(ReadFixtureWav("plug_s16_44k_stereo.wav").data, GetParam().block, 4));
}

INSTANTIATE_TEST_SUITE_P(Targets, ApePluginSeekTest,
                         ::testing::Values(ApeMsSeek{1000, 997, 44000}, ApeMsSeek{0, 0, 0},
                                           ApeMsSeek{1500, 1496, 66000}, ApeMsSeek{2999, 2992, 131956}));

TEST_F(ApePluginTest, StopLeavesThePositionAndTheTableAnswersWithoutAFile) {
  ASSERT_TRUE(OpenFixture("plug_s16_44k_stereo_c2.ape"));
  Bytes first;
  DecodeOnce(plugin_, 4000, &first);
  plugin_.Stop(plugin_.Context);
  Bytes next;
  DecodeOnce(plugin_, 4000, &next);
  const Bytes pcm = ReadFixtureWav("plug_s16_44k_stereo.wav").data;
  EXPECT_EQ(next, Bytes(pcm.begin() + 4000, pcm.begin() + 8000)) << "the APE plug-in stays where it was";
  PluginWaveHeader header{nullptr, 100, 0};
  EXPECT_EQ(plugin_.Start(nullptr), 0);
  EXPECT_EQ(plugin_.Decode(nullptr, &header), kPluginDecodeError);
  EXPECT_EQ(plugin_.Seek(nullptr, 10), 0);
}

TEST_F(ApePluginTest, OpensWhateverTheNameAndRefusesOtherContent) {
  EXPECT_TRUE(OpenFixture("plug_ape_named.flac"));
  plugin_.Close(plugin_.Context);
  plugin_.Context = nullptr;
  EXPECT_FALSE(OpenFixture("plug_flac_named.wma"));
  EXPECT_EQ(plugin_.Context, nullptr);
}

}  // namespace
}  // namespace qv::test
