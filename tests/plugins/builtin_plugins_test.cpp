// The three built-in tables' simple entries, and which plug-in the engine
// gives each file name and content to.
#include <gtest/gtest.h>

#include <ostream>

#include <string>
#include <vector>

#include "engine/player_engine.h"
#include "engine/plugins/ape/ape_plugin.h"
#include "engine/plugins/flac/flac_plugin.h"
#include "engine/plugins/wma/wma_plugin.h"
#include "platform/dialog/message_box.h"
#include "tests/plugins/plugin_test_support.h"

namespace qv::test {
namespace {

enum : int { kWma = 0, kFlac = 1, kApe = 2, kNone = -1 };

std::u16string Name(DecoderPlugin& p) {
  char16_t text[kPluginTextChars] = {};
  p.GetName(text);
  return text;
}

struct Ext {
  std::u16string extension, description;
};

std::vector<Ext> Extensions(DecoderPlugin& p, int upTo) {
  std::vector<Ext> out;
  for (int i = 0; i < upTo; ++i) {
    char16_t e[kPluginTextChars] = {}, d[kPluginTextChars] = {};
    if (!p.GetExt(i, e, d)) break;
    out.push_back({e, d});
  }
  return out;
}

TEST(BuiltInPlugins, FlacAndApeNamesAndExtensions) {
  DecoderPlugin flac = *GetFlacPlugin(), ape = *GetApePlugin();
  EXPECT_NE(Name(flac).find(u"FLAC"), std::u16string::npos);
  EXPECT_EQ(Name(ape), u"APE Plug-in");
  EXPECT_EQ(flac.GetExtCount(), 1);
  EXPECT_EQ(ape.GetExtCount(), 3);
  const auto f = Extensions(flac, 10);
  ASSERT_EQ(f.size(), 1u) << "index 1 answers 0";
  EXPECT_EQ(f[0].extension, u"flac");
  EXPECT_EQ(f[0].description, u"FLAC Files (*.flac)");
  const auto a = Extensions(ape, 10);
  ASSERT_EQ(a.size(), 3u);
  EXPECT_EQ(a[0].extension, u"ape");
  EXPECT_EQ(a[0].description, u"APE Files (*.ape)");
  EXPECT_EQ(a[1].extension, u"apl");
  EXPECT_EQ(a[1].description, u"APE Link Files (*.apl)");
  EXPECT_EQ(a[2].extension, u"mac");
  EXPECT_EQ(a[2].description, u"MAC Files (*.mac)");
  char16_t e[kPluginTextChars], d[kPluginTextChars];
  EXPECT_EQ(ape.GetExt(-1, e, d), 0);
}

TEST(BuiltInPlugins, FlacAndApeHaveNoTagsEqualizerOrStreaming) {
  for (DecoderPlugin* table : {GetFlacPlugin(), GetApePlugin()}) {
    DecoderPlugin p = *table;
    EXPECT_EQ(p.GetCapabilities(), 9u);
    TagInfo tags{};
    EXPECT_EQ(p.GetTag(nullptr, &tags), 0);
    EXPECT_EQ(p.GetFileTag(FixturePath("vorbis_tags.ogg").c_str(), &tags), 0);
    EXPECT_EQ(p.SetEqualizer(nullptr), 0);
    EXPECT_EQ(p.IsValidFile(u"anything"), 1);
    EXPECT_EQ(p.OpenStreaming(nullptr, nullptr, nullptr), 0);
    EXPECT_EQ(p.DecodeStreaming(nullptr, nullptr, nullptr, nullptr), -1);
    p.Init();
    p.Quit();
    p.CloseStreaming();
  }
}

TEST(BuiltInPlugins, ConfigurationBoxSaysThereIsNothingToConfigure) {
  struct Box {
    WindowHandle owner;
    std::u16string text, title;
  };
  std::vector<Box> boxes;
  SetMessageBoxHookForTesting([&boxes](WindowHandle owner, const char16_t* text, const char16_t* title,
                                       MessageBoxIcon) {
    boxes.push_back({owner, text, title});
    return 1;
  });
  const auto owner = reinterpret_cast<WindowHandle>(0x42);
  GetFlacPlugin()->ShowConfig(owner);
  GetApePlugin()->ShowConfig(owner);
  SetMessageBoxHookForTesting(nullptr);
  ASSERT_EQ(boxes.size(), 2u);
  for (const Box& b : boxes) {
    EXPECT_EQ(b.owner, owner);
    EXPECT_EQ(b.text, u"No configurations yet!");
    EXPECT_EQ(b.title, u"Sorry");
  }
}

// A ".flac" file is offered to the WMA plug-in first, which must refuse it.
TEST(BuiltInPlugins, WmaPluginRefusesOtherContent) {
  DecoderPlugin wma = *GetWmaPlugin();
  EXPECT_EQ(wma.GetCapabilities(), 25u);
  for (const char* name : {"plug_s16_44k_stereo.flac", "plug_flac_named.wma", "plug_s16_44k_stereo_c2.ape"}) {
    PluginFileInfo info{};
    EXPECT_EQ(wma.OpenFile(&wma.Context, FixturePath(name).c_str(), &info), 0) << name;
    EXPECT_EQ(wma.Context, nullptr);
    TagInfo tags{};
    EXPECT_EQ(wma.GetFileTag(FixturePath(name).c_str(), &tags), 0) << name;
  }
}

struct Route {
  const char* file;
  int plugin;  // the one holding the file, or kNone when the open fails
};

void PrintTo(const Route& c, std::ostream* os) { *os << c.file; }

class PluginRoutingTest : public ::testing::TestWithParam<Route> {};

// The engine routes ".flac", ".FLAC", ".ape", ".APE", ".wma", ".WMA" to the
// plug-ins, which are offered the file in order.
TEST_P(PluginRoutingTest, FileGoesToTheExpectedPlugin) {
  TestEngine engine;
  EngineHandle h = engine.handle();
  const int opened = Engine_OpenFile(h, FixturePath(GetParam().file).c_str());
  EXPECT_EQ(opened, GetParam().plugin == kNone ? 0 : 1);
  for (int i = 0; i < Engine_GetPluginCount(h); ++i)
    EXPECT_EQ(Engine_GetPlugin(h, i)->Context != nullptr, i == GetParam().plugin) << i;
  EXPECT_EQ(Engine_GetSourceKind(h), int(GetParam().plugin == kNone ? SourceKind::None : SourceKind::Plugin));
  Engine_CloseFile(h);
  for (int i = 0; i < Engine_GetPluginCount(h); ++i) EXPECT_EQ(Engine_GetPlugin(h, i)->Context, nullptr);
}

INSTANTIATE_TEST_SUITE_P(Files, PluginRoutingTest,
                         ::testing::Values(Route{"plug_s16_44k_stereo.flac", kFlac},
                                           Route{"plug_upper_case.FLAC", kFlac},
                                           Route{"plug_mixed_case.Flac", kNone},
                                           Route{"plug_s16_44k_stereo_c2.ape", kApe},
                                           Route{"plug_upper_case.APE", kApe},
                                           Route{"plug_ape_named.flac", kApe},
                                           Route{"plug_flac_named.wma", kNone},
                                           Route{"wma2_44k_stereo.wma", kWma}));

}  // namespace
}  // namespace qv::test
