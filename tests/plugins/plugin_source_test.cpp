// The Plugin source kind driving a plug-in through its table: offering
// files, the format it reports, the decode loop, seeking, stopping, closing
// and tags. The scripted plug-in is registered after the built-ins, which
// all refuse its file.
#include <gtest/gtest.h>

#include <ostream>

#include "engine/output/sample_ops.h"
#include "engine/player_engine.h"
#include "engine/plugins/plugin_registry.h"
#include "tests/plugins/fake_plugin.h"

namespace qv::test {
namespace {

constexpr int kFakeIndex = 3;

class PluginSourceTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetFake();
    path_ = FakeFilePath();
  }
  // Registers the fake with the script as it stands.
  void Register(TestEngine& engine, int times = 1) {
    for (int i = 0; i < times; ++i) ASSERT_TRUE(engine.handle()->Plugins().Register(&GetFakePlugin));
  }
  std::u16string path_;
};

TEST_F(PluginSourceTest, FirstPluginThatAcceptsWinsAndItsFormatIsTaken) {
  TestEngine engine;
  Register(engine, 2);
  EngineHandle h = engine.handle();
  ASSERT_EQ(Engine_OpenFile(h, path_.c_str()), 1);
  EXPECT_EQ(Log().open, 1) << "the second copy is not asked";
  EXPECT_EQ(Engine_GetSourceKind(h), int(SourceKind::Plugin));
  EXPECT_NE(Engine_GetPlugin(h, kFakeIndex)->Context, nullptr);
  EXPECT_EQ(Engine_GetPlugin(h, kFakeIndex + 1)->Context, nullptr);
  for (int i = 0; i < kFakeIndex; ++i) EXPECT_EQ(Engine_GetPlugin(h, i)->Context, nullptr) << i;
  TrackInfo info{};
  ASSERT_EQ(Engine_GetTrackInfo(h, &info), 1);
  EXPECT_EQ(info.MpegVersion, 0);
  EXPECT_EQ(info.MpegLayer, 0);
  EXPECT_EQ(info.Channels, 2);
  EXPECT_EQ(info.SampleRate, 44100);
  EXPECT_EQ(info.BitrateKbps, 1411);
  EXPECT_EQ(info.DurationMs, 1000);
}

TEST_F(PluginSourceTest, PluginThatDoesNotPlayFilesIsNotOffered) {
  Script().capabilities = kPluginSeeks | kPluginTags;
  TestEngine engine;
  Register(engine);
  EXPECT_EQ(Engine_OpenFile(engine.handle(), path_.c_str()), 0);
  EXPECT_EQ(Log().open, 0);
  EXPECT_EQ(Engine_GetSourceKind(engine.handle()), int(SourceKind::None));
}

struct LengthCase {
  int32_t durationMs, rate, lengthMs;
};

void PrintTo(const LengthCase& c, std::ostream* os) { *os << c.durationMs << " ms at " << c.rate << " Hz"; }

class PluginLengthTest : public PluginSourceTest, public ::testing::WithParamInterface<LengthCase> {};

// Total frames = duration x rate / 1000, truncated; the length in ms is
// taken back from the frames.
TEST_P(PluginLengthTest, LengthComesFromDurationTimesRate) {
  Script().info.DurationMs = GetParam().durationMs;
  Script().info.SampleRate = GetParam().rate;
  TestEngine engine;
  Register(engine);
  ASSERT_EQ(Engine_OpenFile(engine.handle(), path_.c_str()), 1);
  EXPECT_EQ(Engine_GetLength(engine.handle()), GetParam().lengthMs);
}

INSTANTIATE_TEST_SUITE_P(Durations, PluginLengthTest,
                         ::testing::Values(LengthCase{1000, 44100, 1000}, LengthCase{999, 44100, 998},
                                           LengthCase{3000, 8000, 3000}, LengthCase{0, 44100, 0},
                                           LengthCase{-5, 44100, 0},
                                           // 10 hours: the product needs more than 32 bits.
                                           LengthCase{36000000, 96000, 36000000}));

struct BadFormat {
  const char* name;
  PluginFileInfo info;
};

void PrintTo(const BadFormat& c, std::ostream* os) { *os << c.name; }

class PluginBadFormatTest : public PluginSourceTest, public ::testing::WithParamInterface<BadFormat> {};

TEST_P(PluginBadFormatTest, FormatTheEngineCannotCarryIsClosedAndRefused) {
  Script().info = GetParam().info;
  TestEngine engine;
  Register(engine);
  EXPECT_EQ(Engine_OpenFile(engine.handle(), path_.c_str()), 0);
  EXPECT_EQ(Log().open, 1);
  EXPECT_EQ(Log().close, 1);
  EXPECT_EQ(Engine_GetPlugin(engine.handle(), kFakeIndex)->Context, nullptr);
  EXPECT_EQ(Engine_GetSourceKind(engine.handle()), int(SourceKind::None));
}

INSTANTIATE_TEST_SUITE_P(Formats, PluginBadFormatTest,
                         ::testing::Values(BadFormat{"Bits24", {2, 44100, 24, 0, 1000}},
                                           BadFormat{"Bits12", {2, 44100, 12, 0, 1000}},
                                           BadFormat{"NoChannels", {0, 44100, 16, 0, 1000}},
                                           BadFormat{"NoRate", {2, 0, 16, 0, 1000}},
                                           BadFormat{"RateAboveWhatWavAllows", {2, 768001, 16, 0, 1000}},
                                           BadFormat{"ThirtyThreeChannels", {33, 44100, 16, 0, 1000}}),
                         [](const ::testing::TestParamInfo<BadFormat>& info) { return std::string(info.param.name); });

TEST_F(PluginSourceTest, PlaysEverythingWithHeadroomGainAndRewindsThroughStop) {
  TestEngine engine;
  Register(engine);
  EngineHandle h = engine.handle();
  ASSERT_EQ(Engine_OpenFile(h, path_.c_str()), 1);
  void* context = Engine_GetPlugin(h, kFakeIndex)->Context;
  const StatusList statuses = engine.PlayToEnd();
  EXPECT_EQ(statuses, (StatusList{{3, 0}, {1, 0}, {0, 0}}));
  EXPECT_EQ(engine.device().Played(), Scaled(FakePcm(0, 44100), 16, kHeadroomGain));
  EXPECT_EQ(Log().start, 1);
  EXPECT_EQ(Log().stop, 1);
  EXPECT_EQ(Log().lastContext, context);
  // Stop rewound the plug-in: the next playback plays it all again.
  engine.PlayToEnd();
  EXPECT_EQ(Log().start, 2);
  EXPECT_EQ(engine.device().Played().size(), 2 * 44100 * 4u);
}

TEST_F(PluginSourceTest, HeadroomExemptPluginIsPlayedUnscaled) {
  Script().capabilities |= kPluginNoHeadroom;
  TestEngine engine;
  Register(engine);
  ASSERT_EQ(Engine_OpenFile(engine.handle(), path_.c_str()), 1);
  engine.PlayToEnd();
  EXPECT_EQ(engine.device().Played(), FakePcm(0, 44100));
}

TEST_F(PluginSourceTest, StartRefusalEndsPlaybackAsFailure) {
  Script().startResult = 0;
  TestEngine engine;
  Register(engine);
  ASSERT_EQ(Engine_OpenFile(engine.handle(), path_.c_str()), 1);
  EXPECT_EQ(engine.PlayToEnd(), (StatusList{{3, 0}, {1, 0}, {0, 1}}));
  EXPECT_EQ(Log().decode, 0);
  EXPECT_TRUE(engine.device().Played().empty());
}

TEST_F(PluginSourceTest, DecodeErrorEndsPlaybackAsFailure) {
  Script().failAfterDecodes = 3;
  TestEngine engine;
  Register(engine);
  ASSERT_EQ(Engine_OpenFile(engine.handle(), path_.c_str()), 1);
  EXPECT_EQ(engine.PlayToEnd(), (StatusList{{3, 0}, {1, 0}, {0, 1}}));
  EXPECT_EQ(Log().decode, 4);
  // Whatever was played is the start of the stream.
  const Bytes played = engine.device().Played();
  const Bytes expected = Scaled(FakePcm(0, 3000), 16, kHeadroomGain);
  ASSERT_LE(played.size(), expected.size());
  EXPECT_TRUE(std::equal(played.begin(), played.end(), expected.begin()));
}

TEST_F(PluginSourceTest, SeekTakesThePositionThePluginReached) {
  Script().seekShiftMs = -100;
  TestEngine engine;
  Register(engine);
  EngineHandle h = engine.handle();
  ASSERT_EQ(Engine_OpenFile(h, path_.c_str()), 1);
  ASSERT_EQ(Engine_Seek(h, 500), 1);
  EXPECT_EQ(Log().seeks, (std::vector<int32_t>{500}));
  EXPECT_EQ(Engine_GetPosition(h), 400);
  engine.PlayToEnd();
  EXPECT_EQ(engine.device().Played(), Scaled(FakePcm(17640, 44100 - 17640), 16, kHeadroomGain));
}

TEST_F(PluginSourceTest, FailedSeekLeavesThePosition) {
  Script().seekShiftMs = -1000;  // the plug-in answers -1
  TestEngine engine;
  Register(engine);
  EngineHandle h = engine.handle();
  ASSERT_EQ(Engine_OpenFile(h, path_.c_str()), 1);
  EXPECT_EQ(Engine_Seek(h, 300), 0);
  EXPECT_EQ(Engine_GetPosition(h), 0);
}

TEST_F(PluginSourceTest, PluginThatCannotSeekIsNeverAsked) {
  Script().capabilities = kPluginPlaysFiles;
  TestEngine engine;
  Register(engine);
  ASSERT_EQ(Engine_OpenFile(engine.handle(), path_.c_str()), 1);
  EXPECT_EQ(Engine_Seek(engine.handle(), 300), 0);
  EXPECT_TRUE(Log().seeks.empty());
}

TEST_F(PluginSourceTest, CloseCallsCloseAndClearsTheContextSlot) {
  TestEngine engine;
  Register(engine);
  EngineHandle h = engine.handle();
  ASSERT_EQ(Engine_OpenFile(h, path_.c_str()), 1);
  void* context = Engine_GetPlugin(h, kFakeIndex)->Context;
  Engine_CloseFile(h);
  EXPECT_EQ(Log().close, 1);
  EXPECT_EQ(Log().lastContext, context);
  EXPECT_EQ(Engine_GetPlugin(h, kFakeIndex)->Context, nullptr);
  EXPECT_EQ(Engine_GetSourceKind(h), int(SourceKind::None));
  TagInfo tags{};
  EXPECT_EQ(Engine_GetTags(h, &tags), 0);
  EXPECT_EQ(Log().getTag, 0);
}

TEST_F(PluginSourceTest, TagsOfTheOpenFileAreCopiedFromAZeroedRecord) {
  TestEngine engine;
  Register(engine);
  EngineHandle h = engine.handle();
  ASSERT_EQ(Engine_OpenFile(h, path_.c_str()), 1);
  TagInfo tags{};
  std::u16string_view untouched = u"caller's";
  std::copy(untouched.begin(), untouched.end(), tags.Album);
  ASSERT_EQ(Engine_GetTags(h, &tags), 1);
  EXPECT_EQ(std::u16string(tags.Title), u"Fake Title");
  EXPECT_EQ(std::u16string(tags.Artist), u"Fake Artist");
  EXPECT_EQ(std::u16string(tags.Album), u"") << "the plug-in's record replaces the caller's";
  EXPECT_EQ(tags.Year, 1999);
  EXPECT_EQ(tags.Track, 4);
  EXPECT_EQ(Log().lastContext, Engine_GetPlugin(h, kFakeIndex)->Context);
}

TEST_F(PluginSourceTest, UnterminatedTextIsCutToTheRecord) {
  Script().unterminatedTitle = true;
  TestEngine engine;
  Register(engine);
  ASSERT_EQ(Engine_OpenFile(engine.handle(), path_.c_str()), 1);
  TagInfo tags{};
  ASSERT_EQ(Engine_GetTags(engine.handle(), &tags), 1);
  EXPECT_EQ(std::u16string(tags.Title), std::u16string(kTagChars - 1, u'x'));
}

TEST_F(PluginSourceTest, TagsNeedTheCapabilityAndAnAnswer) {
  for (const bool capable : {false, true}) {
    ResetFake();
    Script().capabilities = capable ? kPluginPlaysFiles | kPluginTags : kPluginPlaysFiles;
    Script().tagsAnswer = false;
    Script().fileTagsAnswer = false;
    TestEngine engine;
    Register(engine);
    ASSERT_EQ(Engine_OpenFile(engine.handle(), path_.c_str()), 1);
    TagInfo tags{};
    EXPECT_EQ(Engine_GetTags(engine.handle(), &tags), 0);
    EXPECT_EQ(Engine_GetFileTags(engine.handle(), path_.c_str(), &tags), 0);
    EXPECT_EQ(Log().getTag, capable ? 1 : 0);
    EXPECT_EQ(Log().getFileTag, capable ? 1 : 0);
  }
}

TEST_F(PluginSourceTest, FileTagsComeFromTheFirstPluginThatAnswers) {
  TestEngine engine;
  Register(engine);
  TagInfo tags{};
  ASSERT_EQ(Engine_GetFileTags(engine.handle(), path_.c_str(), &tags), 1);
  EXPECT_EQ(std::u16string(tags.Title), u"Fake Title");
  EXPECT_EQ(tags.Track, 4);
  EXPECT_EQ(Log().getFileTag, 1);
  EXPECT_EQ(Log().open, 0) << "file tags do not open the file for playback";
}

}  // namespace
}  // namespace qv::test
