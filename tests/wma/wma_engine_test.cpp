// The WMA plug-in in the engine: the first plug-in offered ".wma" files,
// track information, tags and file tags, playback of every sample, seeking
// and the failure at a damaged packet.
#include <gtest/gtest.h>

#include "engine/plugins/wma/wma_plugin.h"
#include "tests/plugins/plugin_test_support.h"
#include "tests/wma/passthrough_decoder.h"
#include "tests/wma/wma_test_support.h"

namespace qv::test {
namespace {

constexpr int kWmaIndex = 0;
constexpr int kHeadroomGain = 136;  // what the engine applies to plug-ins without the exemption

TEST(WmaEngine, OpensPlaysAndTagsAWmaFile) {
  TestEngine engine;
  EngineHandle h = engine.handle();
  const std::u16string path = CopyFixture("wma_v2_44k_stereo_128k.wma", "upper.WMA");
  ASSERT_EQ(Engine_OpenFile(h, path.c_str()), 1);
  EXPECT_EQ(Engine_GetSourceKind(h), int(SourceKind::Plugin));
  EXPECT_NE(Engine_GetPlugin(h, kWmaIndex)->Context, nullptr);
  TrackInfo info{};
  ASSERT_EQ(Engine_GetTrackInfo(h, &info), 1);
  EXPECT_EQ(info.Channels, 2);
  EXPECT_EQ(info.SampleRate, 44100);
  EXPECT_EQ(info.BitrateKbps, 128);
  TagInfo tags{}, fileTags{};
  ASSERT_EQ(Engine_GetTags(h, &tags), 1);
  ASSERT_EQ(Engine_GetFileTags(h, path.c_str(), &fileTags), 1);
  for (const TagInfo* t : {&tags, &fileTags}) {
    EXPECT_EQ(std::u16string(t->Title), u"WMA Sweep");
    EXPECT_EQ(std::u16string(t->Artist), u"Quovira Tests");
    EXPECT_EQ(std::u16string(t->Album), u"Fixture Album");
    EXPECT_EQ(t->Year, 2004);
    EXPECT_EQ(t->Track, 7);
  }
  const StatusList statuses = engine.PlayToEnd();
  ASSERT_FALSE(statuses.empty());
  EXPECT_EQ(statuses.back(), std::make_pair(0, 0));
  const Bytes ref = ReadFixtureWav("wma_v2_44k_stereo_128k.ref.wav").data;
  const Bytes played = engine.device().Played();
  EXPECT_EQ(played.size(), ref.size());
  EXPECT_GE(SnrDb(Scaled(ref, 16, kHeadroomGain), played), 40.0);
  Engine_CloseFile(h);
  EXPECT_EQ(Engine_GetPlugin(h, kWmaIndex)->Context, nullptr);
}

// PCM inside ASF through the passthrough: every sample, scaled by the
// headroom gain; after a seek to the middle of 1000 packets the position is
// the packet's time and the samples start at its media object.
TEST(WmaEngine, PcmSamplesAndSeekThroughTheEngine) {
  ScopedPassthrough passthrough;
  const Bytes wav = ReadFixtureWav("asf_pcm_1000_packets.wav").data;
  {
    TestEngine engine;
    EngineHandle h = engine.handle();
    ASSERT_EQ(Engine_OpenFile(h, FixturePath("asf_pcm_1000_packets.wma").c_str()), 1);
    EXPECT_EQ(Engine_GetLength(h), 2286);
    engine.PlayToEnd();
    EXPECT_TRUE(engine.device().Played() == Scaled(wav, 16, kHeadroomGain));
  }
  TestEngine engine;
  EngineHandle h = engine.handle();
  ASSERT_EQ(Engine_OpenFile(h, FixturePath("asf_pcm_1000_packets.wma").c_str()), 1);
  ASSERT_EQ(Engine_Seek(h, 1143), 1);
  EXPECT_EQ(Engine_GetPosition(h), 1143);
  engine.PlayToEnd();
  const Bytes played = engine.device().Played();
  const int64_t offset = SuffixOffset(Scaled(wav, 16, kHeadroomGain), played, 2);
  EXPECT_GE(offset, 0);
  EXPECT_EQ(offset % 4096, 0);
}

TEST(WmaEngine, DamagedPacketEndsPlaybackWithAFailure) {
  TestEngine engine;
  EngineHandle h = engine.handle();
  Bytes file = ReadFile(FixturePath("wma_v2_44k_stereo_128k.wma"));
  // Packet 10 of 3200 bytes (the Data object follows the header): its first
  // byte no longer a packet's.
  ASSERT_GT(file.size(), 24u);
  uint64_t headerSize = 0;
  for (int i = 7; i >= 0; --i) headerSize = headerSize << 8 | file[16 + i];
  const size_t packet10 = size_t(headerSize) + 50 + 10 * 3200;
  ASSERT_LT(packet10, file.size());
  ASSERT_EQ(file[packet10], 0x82);
  file[packet10] = 0x81;
  ASSERT_EQ(Engine_OpenFile(h, TempFile("late_damage.wma", file).c_str()), 1);
  const StatusList statuses = engine.PlayToEnd();
  ASSERT_FALSE(statuses.empty());
  EXPECT_EQ(statuses.back(), std::make_pair(0, 1));
  EXPECT_GT(engine.device().PlayedBytes(), 0u);
}

TEST(WmaEngine, FilesTheWmaPluginRefusesGoToNoneOrTheNext) {
  TestEngine engine;
  EngineHandle h = engine.handle();
  EXPECT_EQ(Engine_OpenFile(h, FixturePath("wma_bad_payload_length.wma").c_str()), 0);
  EXPECT_EQ(Engine_GetSourceKind(h), int(SourceKind::None));
  TagInfo tags{};
  EXPECT_EQ(Engine_GetFileTags(h, FixturePath("wma_bad_object_size_23.wma").c_str(), &tags), 0);
  EXPECT_EQ(Engine_GetFileTags(h, FixturePath("wma_bad_payload_length.wma").c_str(), &tags), 1)
      << "the header holds the tags";
  EXPECT_EQ(Engine_OpenFile(h, FixturePath("plug_flac_named.wma").c_str()), 0);
}

}  // namespace
}  // namespace qv::test
