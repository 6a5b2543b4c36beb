// FLAC and APE files played by the engine: the exact samples the device
// receives at each bit depth (with the headroom gain of 136/256), seeking,
// a stream without a length, and what a second playback plays.
#include <gtest/gtest.h>

#include <ostream>

#include "engine/output/sample_ops.h"
#include "platform/files/wide_file.h"
#include "tests/plugins/plugin_test_support.h"

namespace qv::test {
namespace {

struct Played {
  const char* file;
  const char* wav;
};

void PrintTo(const Played& c, std::ostream* os) { *os << c.file; }

class PluginPlaybackTest : public ::testing::TestWithParam<Played> {};

TEST_P(PluginPlaybackTest, DeviceGetsTheDeliveredSamplesScaled) {
  const WavPcm wav = ReadFixtureWav(GetParam().wav);
  ASSERT_FALSE(wav.data.empty());
  TestEngine engine;
  ASSERT_EQ(Engine_OpenFile(engine.handle(), FixturePath(GetParam().file).c_str()), 1);
  EXPECT_EQ(engine.PlayToEnd(), (StatusList{{3, 0}, {1, 0}, {0, 0}}));
  const int bits = wav.bits == 8 ? 8 : 16;
  EXPECT_EQ(engine.device().Format().bitsPerSample, bits);
  EXPECT_EQ(engine.device().Format().channels, wav.channels);
  EXPECT_EQ(engine.device().Played(), Scaled(Delivered(wav), bits, kHeadroomGain));
}

INSTANTIATE_TEST_SUITE_P(Files, PluginPlaybackTest,
                         ::testing::Values(Played{"plug_s16_44k_stereo.flac", "plug_s16_44k_stereo.wav"},
                                           Played{"plug_s24_48k_stereo.flac", "plug_s24_48k_stereo.wav"},
                                           Played{"plug_s32_44k_stereo.flac", "plug_s32_44k_stereo.wav"},
                                           Played{"plug_u8_22k_mono.flac", "plug_u8_22k_mono.wav"},
                                           Played{"plug_s16_22k_mono.flac", "plug_s16_22k_mono.wav"},
                                           Played{"plug_s16_44k_stereo_c2.ape", "plug_s16_44k_stereo.wav"},
                                           Played{"plug_s16_44k_stereo_c5.ape", "plug_s16_44k_stereo.wav"},
                                           Played{"plug_u8_22k_mono.ape", "plug_u8_22k_mono.wav"},
                                           Played{"plug_ape_named.flac", "plug_s16_44k_stereo.wav"}));

TEST(PluginPlayback, FlacTrackInformation) {
  TestEngine engine;
  const std::u16string path = FixturePath("plug_s16_44k_stereo.flac");
  ASSERT_EQ(Engine_OpenFile(engine.handle(), path.c_str()), 1);
  WideFile file;
  ASSERT_TRUE(file.Open(path, FileMode::Read));
  TrackInfo info{};
  ASSERT_EQ(Engine_GetTrackInfo(engine.handle(), &info), 1);
  EXPECT_EQ(info.Channels, 2);
  EXPECT_EQ(info.SampleRate, 44100);
  EXPECT_EQ(info.DurationMs, 3000);
  EXPECT_EQ(info.BitrateKbps, int32_t(double(file.Size()) / (132300.0 * 125 / 44100)));
  EXPECT_EQ(std::u16string(info.TimeText), u"00:03");
  EXPECT_EQ(Engine_GetLength(engine.handle()), 3000);
  TagInfo tags{};
  EXPECT_EQ(Engine_GetTags(engine.handle(), &tags), 0);
  EXPECT_EQ(Engine_GetFileTags(engine.handle(), path.c_str(), &tags), 0);
}

TEST(PluginPlayback, FlacSeekStartsTheOutputAtTheTargetSampleAndReportsThePluginsPosition) {
  const Bytes pcm = ReadFixtureWav("plug_s16_44k_stereo.wav").data;
  TestEngine engine;
  EngineHandle h = engine.handle();
  ASSERT_EQ(Engine_OpenFile(h, FixturePath("plug_s16_44k_stereo.flac").c_str()), 1);
  ASSERT_EQ(Engine_Seek(h, 1500), 1);
  EXPECT_EQ(Engine_GetPosition(h), 1500);
  engine.PlayToEnd();
  EXPECT_EQ(engine.device().Played(), Scaled(FromFrame(pcm, 66150, 4), 16, kHeadroomGain));
  // The playlist's seek to exactly the end is refused.
  EXPECT_EQ(Engine_Seek(h, 3000), 0);
}

TEST(PluginPlayback, ApeSeekLandsOnWholeBlocksPerMillisecond) {
  const Bytes pcm = ReadFixtureWav("plug_s16_44k_stereo.wav").data;
  TestEngine engine;
  EngineHandle h = engine.handle();
  ASSERT_EQ(Engine_OpenFile(h, FixturePath("plug_s16_44k_stereo_c2.ape").c_str()), 1);
  ASSERT_EQ(Engine_Seek(h, 1000), 1);
  // Block 44000 is 997 ms; the engine's position comes back from that.
  EXPECT_EQ(Engine_GetPosition(h), 44100 * 997 / 1000 * 1000 / 44100);
  engine.PlayToEnd();
  EXPECT_EQ(engine.device().Played(), Scaled(FromFrame(pcm, 44000, 4), 16, kHeadroomGain));
}

TEST(PluginPlayback, FlacWithoutLengthPlaysWholeButCannotSeek) {
  TestEngine engine;
  EngineHandle h = engine.handle();
  ASSERT_EQ(Engine_OpenFile(h, FixturePath("plug_nolength.flac").c_str()), 1);
  TrackInfo info{};
  Engine_GetTrackInfo(h, &info);
  EXPECT_EQ(info.DurationMs, 0);
  EXPECT_EQ(info.BitrateKbps, 0);
  EXPECT_EQ(Engine_GetLength(h), 0);
  EXPECT_EQ(Engine_Seek(h, 0), 0);
  EXPECT_EQ(engine.PlayToEnd(), (StatusList{{3, 0}, {1, 0}, {0, 0}}));
  EXPECT_EQ(engine.device().Played(), Scaled(ReadFixtureWav("plug_s16_22k_mono.wav").data, 16, kHeadroomGain));
}

// The FLAC plug-in rewinds when playback ends; the APE plug-in stays at its
// end until Engine_Stop repositions it to 0.
TEST(PluginPlayback, SecondPlaybackAfterTheEnd) {
  const Bytes once = Scaled(ReadFixtureWav("plug_s16_44k_stereo.wav").data, 16, kHeadroomGain);
  {
    TestEngine engine;
    ASSERT_EQ(Engine_OpenFile(engine.handle(), FixturePath("plug_s16_44k_stereo.flac").c_str()), 1);
    engine.PlayToEnd();
    engine.PlayToEnd();
    Bytes twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(engine.device().Played(), twice);
  }
  {
    TestEngine engine;
    ASSERT_EQ(Engine_OpenFile(engine.handle(), FixturePath("plug_s16_44k_stereo_c2.ape").c_str()), 1);
    engine.PlayToEnd();
    EXPECT_EQ(engine.PlayToEnd().back(), (std::pair<int, int>{0, 0}));
    EXPECT_EQ(engine.device().Played(), once) << "nothing left to play";
    Engine_Stop(engine.handle());
    engine.PlayToEnd();
    Bytes twice = once;
    twice.insert(twice.end(), once.begin(), once.end());
    EXPECT_EQ(engine.device().Played(), twice);
  }
}

}  // namespace
}  // namespace qv::test
