// Reading the PLS format, and its lookups against the shared INI reader.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "app/skin/ini_text.h"
#include "platform/text/utf16.h"
#include "playlist/playlist_text.h"
#include "playlist/pls_format.h"

namespace qv {
namespace {

struct Item {
  std::u16string location;
  std::u16string title;
};

struct PlsCase {
  const char* name;
  std::u16string text;
  std::vector<Item> items;
};

TEST(PlsFormat, ReadsNumberedFilesAndTitles) {
  const std::u16string longPath = u"C:\\" + std::u16string(300, u'p') + u".mp3";
  const PlsCase cases[] = {
      {"plain", u"[playlist]\nFile1=a.mp3\nTitle1=A\nFile2=http://radio/\nNumberOfEntries=2\n",
       {{u"a.mp3", u"A"}, {u"http://radio/", u""}}},
      {"keys in any order", u"[playlist]\nTitle2=B\nFile2=b.mp3\nFile1=a.mp3\n", {{u"a.mp3", u""}, {u"b.mp3", u"B"}}},
      {"numbering must be contiguous", u"[playlist]\nFile1=a\nFile2=b\nFile4=d\n", {{u"a", u""}, {u"b", u""}}},
      {"section header with a capital", u"[Playlist]\nFile1=a.mp3\n", {}},
      {"text after the closing bracket", u"[playlist] extra\nFile1=a.mp3\n", {{u"a.mp3", u""}}},
      {"blank before the equals sign", u"[playlist]\nFile1 =a.mp3\n", {}},
      {"key case matters", u"[playlist]\nfile1=a.mp3\n", {}},
      {"trailing blanks and tabs go", u"[playlist]\nFile1=a.mp3 \t \nTitle1=T  \n", {{u"a.mp3", u"T"}}},
      {"leading blanks of a value stay", u"[playlist]\nFile1=  a.mp3\n", {{u"  a.mp3", u""}}},
      {"CR LF", u"[playlist]\r\nFile1=a.mp3\r\nTitle1=T\r\n", {{u"a.mp3", u"T"}}},
      {"comments skipped", u"[playlist]\n;File1=x.mp3\nFile1=a.mp3\n", {{u"a.mp3", u""}}},
      {"first match wins", u"[playlist]\nFile1=a.mp3\nFile1=b.mp3\n", {{u"a.mp3", u""}}},
      {"other sections ignored", u"[other]\nFile1=x\n[playlist]\nFile1=a\n[more]\nFile2=y\n", {{u"a", u""}}},
      {"only the first playlist section", u"[playlist]\nFile1=a\n[playlist]\nFile2=b\n", {{u"a", u""}}},
      {"value cut at the first equals sign", u"[playlist]\nFile1=a=b.mp3\n", {{u"a=b.mp3", u""}}},
      {"long location refused, numbering goes on", u"[playlist]\nFile1=" + longPath + u"\nFile2=b\n",
       {{u"b", u""}}},
      {"long title line is one line", u"[playlist]\nFile1=a\nTitle1=" + std::u16string(300, u't') + u"File2=x\n",
       {{u"a", std::u16string(259, u't')}}},
      {"empty file", u"", {}},
  };
  for (const PlsCase& c : cases) {
    std::vector<PlaylistItem> items = ParsePls(c.text);
    ASSERT_EQ(items.size(), c.items.size()) << c.name;
    for (size_t i = 0; i < items.size(); ++i) {
      EXPECT_EQ(items[i].location, c.items[i].location) << c.name;
      EXPECT_EQ(items[i].title, c.items[i].title) << c.name;
    }
  }
}

TEST(PlsFormat, AHugeFileIsReadInOnePass) {
  std::u16string text = u"[playlist]\n";
  const size_t count = 200000;
  for (size_t i = count; i >= 1; --i) text += u"File" + FromUtf8(std::to_string(i)) + u"=x\n";
  // In reverse order every rescan would walk most of the file; one pass is
  // quick whatever the order.
  EXPECT_EQ(ParsePls(text).size(), kMaxPlaylistLocations);
  EXPECT_EQ(ParsePls(text, count).size(), count);
}

TEST(PlsFormat, LookupsAgreeWithTheSharedIniReader) {
  const std::string file =
      "; comment\n[playlist]\nFile1=a.mp3\nTitle1=  spaced  \n;File2=hidden\nFile2 =blank\nFile2=b\n"
      "Weird=x=y\nEmpty=\n[other]\nFile3=c\n[playlist]\nFile3=d\n";
  IniText ini;
  ini.SetBytes(file);
  std::u16string text = DecodePlaylistText(file);
  IniSectionIndex index(SplitLines(text), u"playlist");
  for (const char16_t* key : {u"File1", u"Title1", u"File2", u"File2 ", u"Weird", u"Empty", u"File3", u"Nope"}) {
    char16_t expected[kIniValueCapacity];
    int found = ReadIniValue(&ini, u"playlist", key, expected);
    const std::u16string* value = index.Find(key);
    ASSERT_EQ(value != nullptr, found == 1) << ToUtf8(key);
    if (value) {
      EXPECT_EQ(*value, std::u16string(expected)) << ToUtf8(key);
    }
  }
  // A header without its closing bracket names the empty section.
  ini.SetBytes("[broken\nA=1\n");
  char16_t out[kIniValueCapacity];
  ASSERT_EQ(ReadIniValue(&ini, u"", u"A", out), 1);
  std::u16string broken = u"[broken\nA=1\n";
  IniSectionIndex unnamed(SplitLines(broken), u"");
  const std::u16string* a = unnamed.Find(u"A");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(*a, u"1");
}

}  // namespace
}  // namespace qv
