// The engine calls behind the playlist on a real engine: the plug-ins'
// extensions for folder scans and the open filter.
#include <gtest/gtest.h>

#include <string>

#include "platform/text/utf16.h"
#include "playlist/engine_port.h"
#include "playlist/open_filter.h"

namespace qv {
namespace {

TEST(EngineHandlePort, ListsThePluginsExtensionsInOrder) {
  EngineHandle engine = Engine_Create();
  ASSERT_NE(engine, nullptr);
  EngineHandlePort port(engine);
  std::vector<PluginExtension> extensions = port.PluginExtensions();
  std::u16string listed;
  for (const PluginExtension& e : extensions) listed += e.extension + u";";
  // In registration order (WMA, FLAC, APE); the WMA plug-in may declare none
  // where its runtime is missing. APE also declares types that are not built in.
  size_t wma = listed.find(u"wma;");
  size_t flac = listed.find(u"flac;");
  size_t ape = listed.find(u"ape;");
  ASSERT_NE(flac, std::u16string::npos) << ToUtf8(listed);
  ASSERT_NE(ape, std::u16string::npos) << ToUtf8(listed);
  EXPECT_LT(flac, ape);
  if (wma != std::u16string::npos) {
    EXPECT_LT(wma, flac);
  }
  EXPECT_NE(listed.find(u"apl;"), std::u16string::npos) << ToUtf8(listed);
  Engine_Destroy(engine);

  EngineHandlePort none(nullptr);
  EXPECT_TRUE(none.PluginExtensions().empty());
}

TEST(OpenFilter, BuiltinTypesThenPluginTypes) {
  std::u16string filter = BuildOpenFilter({{u"wma", u"Windows Media"}, {u"wv", u""}, {u"WV", u"dup"},
                                           {u"mpc", u"Musepack Audio"}},
                                          1);
  std::vector<std::u16string> parts;
  size_t start = 0;
  for (size_t i = 0; i < filter.size(); ++i) {
    if (filter[i] == 0) {
      parts.push_back(filter.substr(start, i - start));
      start = i + 1;
    }
  }
  ASSERT_GE(parts.size(), 4u);
  EXPECT_EQ(parts[0], u"All supported types");
  EXPECT_EQ(parts[1], u"*.mp3;*.rmp;*.mp2;*.mpa;*.ogg;*.wav;*.flac;*.wma;*.ape;*.cda;*.m3u;*.pls;*.wv;*.mpc");
  EXPECT_EQ(parts[2], u"MP3 Files (*.mp3)");
  size_t n = parts.size();
  // ... the built-in pairs, then the plug-ins' pairs, then all files, then the
  // empty text that ends the list.
  EXPECT_EQ(parts[n - 7], u"wv Files(*.wv)");
  EXPECT_EQ(parts[n - 6], u"*.wv");
  EXPECT_EQ(parts[n - 5], u"Musepack Audio");
  EXPECT_EQ(parts[n - 4], u"*.mpc");
  EXPECT_EQ(parts[n - 3], u"All Files (*.*)");
  EXPECT_EQ(parts[n - 2], u"*.*");
  EXPECT_EQ(parts[n - 1], u"");
  EXPECT_EQ(filter.back(), 0);

  std::u16string plain = BuildOpenFilter({}, 0);
  EXPECT_EQ(plain.substr(0, 17), u"MP3 Files (*.mp3)") << "without the leading separator";
}

}  // namespace
}  // namespace qv
