// The WMA plug-in's table: its simple entries, ffmpeg's WMA files decoded
// through the plug-in's own decoder object against ffmpeg's decode, tags and
// file tags from the header alone, and its lock shared by engines and
// threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <cstring>
#include <memory>
#include <ostream>
#include <string>
#include <thread>
#include <vector>

#include "engine/plugins/wma/wma_plugin.h"
#include "platform/dialog/message_box.h"
#include "tests/plugins/plugin_test_support.h"
#include "tests/wma/passthrough_decoder.h"
#include "tests/wma/wma_test_support.h"

namespace qv::test {
namespace {

TEST(WmaPlugin, SimpleEntries) {
  DecoderPlugin p = WmaTable();
  EXPECT_EQ(p.Version, kPluginVersion);
  EXPECT_EQ(p.CharWidth, kPluginCharWidth);
  EXPECT_EQ(p.GetCapabilities(), 25u);
  char16_t name[kPluginTextChars] = {};
  EXPECT_EQ(p.GetName(name), 0);
  EXPECT_EQ(std::u16string(name), u"WMA Plug-in");
  EXPECT_EQ(p.SetEqualizer(nullptr), 0);
  EXPECT_EQ(p.OpenStreaming(nullptr, nullptr, nullptr), 0);
  EXPECT_EQ(p.DecodeStreaming(nullptr, nullptr, nullptr, nullptr), -1);
  p.CloseStreaming();
  // Without a file.
  TagInfo tags{};
  EXPECT_EQ(p.GetTag(nullptr, &tags), 0);
  EXPECT_EQ(p.Start(nullptr), 0);
  EXPECT_EQ(p.Seek(nullptr, 10), kPluginSeekFailed);
  PluginWaveHeader h{nullptr, 0, 0};
  EXPECT_EQ(p.Decode(nullptr, &h), kPluginDecodeError);
  p.Stop(nullptr);
  p.Close(nullptr);
}

// The count is 1, yet indexes 1 and 2 answer too.
TEST(WmaPlugin, Extensions) {
  DecoderPlugin p = WmaTable();
  EXPECT_EQ(p.GetExtCount(), 1);
  const char16_t* expected[3][2] = {{u"wma", u"Windows Media Audio Files (*.wma)"},
                                    {u"wmv", u"Windows Media Video Files (*.wmv)"},
                                    {u"asf", u"Advanced Systems Format Files (*.asf)"}};
  for (int i = 0; i < 3; ++i) {
    char16_t e[kPluginTextChars] = {}, d[kPluginTextChars] = {};
    EXPECT_EQ(p.GetExt(i, e, d), 1) << i;
    EXPECT_EQ(std::u16string(e), expected[i][0]);
    EXPECT_EQ(std::u16string(d), expected[i][1]);
  }
  char16_t e[kPluginTextChars], d[kPluginTextChars];
  EXPECT_EQ(p.GetExt(3, e, d), 0);
  EXPECT_EQ(p.GetExt(-1, e, d), 0);
}

TEST(WmaPlugin, AboutBox) {
  struct Box {
    WindowHandle owner;
    std::u16string text, title;
    MessageBoxIcon icon;
  };
  std::vector<Box> boxes;
  SetMessageBoxHookForTesting([&boxes](WindowHandle owner, const char16_t* text, const char16_t* title,
                                       MessageBoxIcon icon) {
    boxes.push_back({owner, text, title, icon});
    return 1;
  });
  const auto owner = reinterpret_cast<WindowHandle>(0x77);
  WmaTable().ShowConfig(owner);
  SetMessageBoxHookForTesting(nullptr);
  ASSERT_EQ(boxes.size(), 1u);
  EXPECT_EQ(boxes[0].owner, owner);
  EXPECT_EQ(boxes[0].title, u"About");
  EXPECT_EQ(boxes[0].icon, MessageBoxIcon::Information);
  EXPECT_NE(boxes[0].text.find(u"WMA"), std::u16string::npos);
  EXPECT_NE(boxes[0].text.find(u"1.01"), std::u16string::npos);
}

TEST(WmaPlugin, IsValidFileLooksForTheHeaderIdentifier) {
  DecoderPlugin p = WmaTable();
  EXPECT_EQ(p.IsValidFile(FixturePath("wma_v2_44k_stereo_128k.wma").c_str()), 1);
  EXPECT_EQ(p.IsValidFile(FixturePath("wma_bad_object_size_0.wma").c_str()), 1);
  EXPECT_EQ(p.IsValidFile(FixturePath("plug_s16_44k_stereo.flac").c_str()), 0);
  EXPECT_EQ(p.IsValidFile(FixturePath("missing.wma").c_str()), 0);
  const Bytes start = ReadFile(FixturePath("wma_v2_44k_stereo_128k.wma"));
  EXPECT_EQ(p.IsValidFile(TempFile("short.wma", Bytes(start.begin(), start.begin() + 29)).c_str()), 0)
      << "30 bytes are read";
  EXPECT_EQ(p.IsValidFile(TempFile("just30.wma", Bytes(start.begin(), start.begin() + 30)).c_str()), 1);
}

struct WmaFixture {
  const char* name;
  int channels, rate, kbps;
};

void PrintTo(const WmaFixture& f, std::ostream* os) { *os << f.name; }

class WmaFixtureTest : public ::testing::TestWithParam<WmaFixture> {};

// ffmpeg's WMA v1 and v2 files play through the plug-in's own decoder
// object: the format, the length and the samples of ffmpeg's decode.
TEST_P(WmaFixtureTest, DecodesLikeFfmpeg) {
  const WmaFixture& f = GetParam();
  const WavPcm ref = ReadFixtureWav(std::string(f.name) + ".ref.wav");
  ASSERT_FALSE(ref.data.empty());
  DecoderPlugin p = WmaTable();
  PluginFileInfo info;
  ASSERT_TRUE(OpenWith(p, FixturePath(std::string(f.name) + ".wma"), &info));
  EXPECT_EQ(info.Channels, f.channels);
  EXPECT_EQ(info.SampleRate, f.rate);
  EXPECT_EQ(info.BitsPerSample, 16);
  EXPECT_EQ(info.BitrateKbps, f.kbps);
  const int64_t refMs = int64_t(ref.data.size()) / (2 * f.channels) * 1000 / f.rate;
  EXPECT_NEAR(info.DurationMs, refMs, 100) << "the length of the decoded audio, to a frame";
  ASSERT_EQ(p.Start(p.Context), 1);
  Bytes out;
  ASSERT_TRUE(DecodeToEnd(p, 4608, &out));
  EXPECT_EQ(out.size(), ref.data.size());
  EXPECT_GE(SnrDb(ref.data, out), 40.0);
  // The same again after a seek back to the start, in buffers of odd sizes.
  EXPECT_EQ(p.Seek(p.Context, 0), 0);
  Bytes again;
  ASSERT_TRUE(DecodeToEnd(p, 1001, &again));
  EXPECT_TRUE(again == out);
  p.Close(p.Context);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, WmaFixtureTest,
                         ::testing::Values(WmaFixture{"wma_v2_44k_stereo_128k", 2, 44100, 128},
                                           WmaFixture{"wma_v2_44k_stereo_64k", 2, 44100, 64},
                                           WmaFixture{"wma_v2_22k_mono_32k", 1, 22050, 32},
                                           WmaFixture{"wma_v1_44k_stereo_128k", 2, 44100, 128},
                                           WmaFixture{"wma_v1_22k_mono_32k", 1, 22050, 32},
                                           WmaFixture{"wma_v2_1000_packets", 2, 32000, 128}));

class WmaTagsTest : public ::testing::TestWithParam<WmaFixture> {};

// GetTag of the open file and GetFileTag of its path give the same tags;
// GetFileTag makes no decoder object.
TEST_P(WmaTagsTest, FromTheHeader) {
  const std::u16string path = FixturePath(std::string(GetParam().name) + ".wma");
  DecoderPlugin p = WmaTable();
  TagInfo fileTags;
  std::fill_n(reinterpret_cast<char*>(&fileTags), sizeof fileTags, 'x');
  {
    ScopedPassthrough passthrough;
    ASSERT_EQ(p.GetFileTag(path.c_str(), &fileTags), 1);
    EXPECT_EQ(passthrough.log().created, 0);
  }
  EXPECT_EQ(std::u16string(fileTags.Title), u"WMA Sweep");
  EXPECT_EQ(std::u16string(fileTags.Artist), u"Quovira Tests");
  EXPECT_EQ(std::u16string(fileTags.Album), u"Fixture Album");
  EXPECT_EQ(std::u16string(fileTags.Genre), u"Test Signal");
  EXPECT_EQ(std::u16string(fileTags.Comment), u"") << "the record is zeroed first";
  EXPECT_EQ(fileTags.Year, 2004);
  EXPECT_EQ(fileTags.Track, 7);
  PluginFileInfo info;
  ASSERT_TRUE(OpenWith(p, path, &info));
  TagInfo tags;
  std::fill_n(reinterpret_cast<char*>(&tags), sizeof tags, 'y');
  ASSERT_EQ(p.GetTag(p.Context, &tags), 1);
  EXPECT_EQ(std::memcmp(&tags, &fileTags, sizeof tags), 0);
  p.Close(p.Context);
}

INSTANTIATE_TEST_SUITE_P(Fixtures, WmaTagsTest,
                         ::testing::Values(WmaFixture{"wma_v2_44k_stereo_128k", 0, 0, 0},
                                           WmaFixture{"wma_v1_22k_mono_32k", 0, 0, 0}));

TEST(WmaPlugin, FileTagsOfOtherFilesAreRefusedAndZeroed) {
  DecoderPlugin p = WmaTable();
  for (const char* name : {"plug_s16_44k_stereo.flac", "missing.wma", "wma_bad_truncated_header.wma"}) {
    TagInfo tags;
    std::fill_n(reinterpret_cast<char*>(&tags), sizeof tags, 'x');
    EXPECT_EQ(p.GetFileTag(FixturePath(name).c_str(), &tags), 0) << name;
    const TagInfo zero{};
    EXPECT_EQ(std::memcmp(&tags, &zero, sizeof tags), 0) << name;
  }
}

// Seek and Decode of one file from two threads take the plug-in's lock in
// turn (the sanitizers watch the state they share).
TEST(WmaPlugin, SeekAndDecodeFromTwoThreads) {
  DecoderPlugin p = WmaTable();
  PluginFileInfo info;
  ASSERT_TRUE(OpenWith(p, FixturePath("wma_v2_1000_packets.wma"), &info));
  ASSERT_EQ(p.Start(p.Context), 1);
  std::atomic<bool> done{false};
  std::thread seeker([&] {
    for (int i = 0; i < 200 && !done.load(); ++i) {
      const int32_t reached = p.Seek(p.Context, (i * 997) % info.DurationMs);
      EXPECT_GE(reached, 0);
      EXPECT_LE(reached, info.DurationMs);
      std::this_thread::yield();
    }
  });
  Bytes buffer(4608);
  int decodes = 0;
  for (; decodes < 3000; ++decodes) {
    PluginWaveHeader h{buffer.data(), 4608, 0};
    const int r = p.Decode(p.Context, &h);
    ASSERT_NE(r, kPluginDecodeError);
    ASSERT_LE(h.bytesRecorded, 4608u);
    if (r == kPluginDecodeLast) break;
  }
  done = true;
  seeker.join();
  p.Close(p.Context);
}

// The player's main engine and its information engine both register the
// plug-in; destroying one leaves the other's plug-in working.
TEST(WmaPlugin, TwoEnginesShareThePlugin) {
  auto first = std::make_unique<TestEngine>();
  TestEngine second;
  EXPECT_EQ(Engine_GetPluginCount(first->handle()), 3);
  first.reset();
  EngineHandle h = second.handle();
  ASSERT_EQ(Engine_OpenFile(h, FixturePath("wma_v2_1000_packets.wma").c_str()), 1);
  EXPECT_EQ(Engine_Seek(h, 6400), 1);
  EXPECT_EQ(Engine_GetPosition(h), 6400);
  const StatusList statuses = second.PlayToEnd();
  ASSERT_FALSE(statuses.empty());
  EXPECT_EQ(statuses.back(), std::make_pair(0, 0));
  Engine_CloseFile(h);
  TestEngine third;  // registers again after one was destroyed
  EXPECT_EQ(Engine_OpenFile(third.handle(), FixturePath("wma_v1_22k_mono_32k.wma").c_str()), 1);
  Engine_CloseFile(third.handle());
}

}  // namespace
}  // namespace qv::test
