// Reading and writing the M3U format.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/text/utf16.h"
#include "playlist/m3u_format.h"

namespace qv {
namespace {

struct Item {
  std::u16string location;
  std::u16string title;
};

struct ParseCase {
  const char* name;
  std::u16string text;
  std::vector<Item> items;
};

std::vector<ParseCase> ParseCases() {
  const std::u16string longTitle(600, u't');
  const std::u16string path259 = u"C:\\" + std::u16string(252, u'p') + u".mp3";
  const std::u16string path260 = u"C:\\" + std::u16string(253, u'p') + u".mp3";
  return {
      {"title then location", u"#EXTM3U\n#EXTINF:123,Artist - Song\nC:\\a.mp3\n", {{u"C:\\a.mp3", u"Artist - Song"}}},
      {"stream with length -1", u"#EXTINF:-1,Radio One\nhttp://radio/live\n", {{u"http://radio/live", u"Radio One"}}},
      {"title survives an empty line", u"#EXTINF:1,T\n\n   \nb.mp3\n", {{u"b.mp3", u"T"}}},
      {"second title wins", u"#EXTINF:1,First\n#EXTINF:2,Second\nc.mp3\n", {{u"c.mp3", u"Second"}}},
      {"empty title keeps the pending one", u"#EXTINF:1,Kept\n#EXTINF:2,\n#EXTINF:3,   \nd.mp3\n",
       {{u"d.mp3", u"Kept"}}},
      {"EXTINF without comma is ignored", u"#EXTINF:1,Kept\n#EXTINF:nocomma\ne.mp3\n", {{u"e.mp3", u"Kept"}}},
      {"lower-case extinf is a comment", u"#extinf:1,lower\nf.mp3\n", {{u"f.mp3", u""}}},
      {"title used once", u"#EXTINF:1,Once\ng.mp3\nh.mp3\n", {{u"g.mp3", u"Once"}, {u"h.mp3", u""}}},
      {"trailing spaces go, tabs stay", u"i.mp3   \nj.mp3\t \n", {{u"i.mp3", u""}, {u"j.mp3\t", u""}}},
      {"leading blanks of a location stay", u"  k.mp3\n", {{u"  k.mp3", u""}}},
      {"leading blanks of a title go", u"#EXTINF:1, \t Spaced\nl.mp3\n", {{u"l.mp3", u"Spaced"}}},
      {"comma inside the title", u"#EXTINF:1,a, b\nm.mp3\n", {{u"m.mp3", u"a, b"}}},
      {"long title is cut to a title field", u"#EXTINF:1," + longTitle + u"\nn.mp3\n",
       {{u"n.mp3", std::u16string(259, u't')}}},
      {"long title line never becomes a location", u"#EXTINF:1," + longTitle + u"\n", {}},
      {"location of 259 characters", path259 + u"\n", {{path259, u""}}},
      {"location of 260 characters is refused and uses up the title",
       u"#EXTINF:1,Lost\n" + path260 + u"\no.mp3\n", {{u"o.mp3", u""}}},
      {"CR LF line ends", u"#EXTINF:1,W\r\np.mp3\r\n", {{u"p.mp3", u"W"}}},
      {"last line without line feed", u"q.mp3", {{u"q.mp3", u""}}},
  };
}

TEST(M3uFormat, ReadsItemsByTheLineRules) {
  for (const ParseCase& c : ParseCases()) {
    std::vector<PlaylistItem> items = ParseM3u(c.text);
    ASSERT_EQ(items.size(), c.items.size()) << c.name;
    for (size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(items[i].location, c.items[i].location) << c.name;
      EXPECT_EQ(items[i].title, c.items[i].title) << c.name;
    }
  }
}

TEST(M3uFormat, StopsAfterTheLocationLimit) {
  std::u16string text;
  for (int i = 0; i < 100; ++i) text += u"#EXTINF:1,x\nsong" + FromUtf8(std::to_string(i)) + u".mp3\n";
  EXPECT_EQ(ParseM3u(text, 10).size(), 10u);
  EXPECT_EQ(ParseM3u(text).size(), 100u);
}

TEST(M3uFormat, WritesRelativeLocationsAndLengths) {
  M3uWriter writer(u"C:\\Lists\\");
  writer.Add(183999, u"Artist - Song", u"C:\\Lists\\song.mp3");
  writer.Add(0, u"Radio", u"http://radio/live");
  writer.Add(5000, u"Deep", u"C:\\Lists\\sub\\deep.ogg");
  writer.Add(999, u"Other drive", u"D:\\Lists\\x.mp3");
  writer.Add(2000, u"Case differs", u"C:\\lists\\y.mp3");
  writer.Add(1000, u"Line\r\nbreak", u"C:\\Lists\\z.mp3");
  EXPECT_EQ(writer.Text(),
            u"#EXTM3U\n"
            u"#EXTINF:183,Artist - Song\nsong.mp3\n"
            u"#EXTINF:-1,Radio\nhttp://radio/live\n"
            u"#EXTINF:5,Deep\nsub\\deep.ogg\n"
            u"#EXTINF:0,Other drive\nD:\\Lists\\x.mp3\n"
            u"#EXTINF:2,Case differs\nC:\\lists\\y.mp3\n"
            u"#EXTINF:1,Line  break\nz.mp3\n");
}

}  // namespace
}  // namespace qv
