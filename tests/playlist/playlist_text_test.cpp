// Decoding playlist files and cutting them into lines.
#include <gtest/gtest.h>

#include <string>

#include "platform/text/utf16.h"
#include "playlist/playlist_text.h"
#include "tests/playlist/playlist_test_support.h"

namespace qv::test {
namespace {

TEST(PlaylistText, DecodesByMarkOrByWhatTheBytesLookLike) {
  struct Case {
    const char* name;
    std::string bytes;
    std::u16string text;
  };
  const std::u16string sample = u"C:\\M\u00fcsik\\\u00e9t\u00e9.mp3\n";
  const Case cases[] = {
      {"UTF-16LE with mark", "\xFF\xFE" + Utf16Le(sample), sample},
      {"UTF-16LE without mark", Utf16Le(sample), sample},
      {"UTF-8 with mark", "\xEF\xBB\xBF" + ToUtf8(sample), sample},
      {"UTF-8 without mark", ToUtf8(sample), sample},
      {"ASCII", "C:\\a.mp3\r\n", u"C:\\a.mp3\r\n"},
      {"UTF-16LE odd last byte", "\xFF\xFE" + Utf16Le(u"ab") + "c", u"ab"},
      {"empty", "", u""},
      {"only a mark", "\xFF\xFE", u""},
  };
  for (const Case& c : cases) EXPECT_EQ(DecodePlaylistText(c.bytes), c.text) << c.name;
}

TEST(PlaylistText, EightBitTextThatIsNotUtf8IsReadInTheCodePage) {
  // "caf\xe9": Latin-1 bytes; not valid UTF-8.
  std::u16string text = DecodePlaylistText("C:\\caf\xe9.mp3\n");
  ASSERT_EQ(text.substr(0, 6), u"C:\\caf");
  EXPECT_EQ(text.substr(text.size() - 5), u".mp3\n") << "the rest of the line is kept";
#ifdef _WIN32
  EXPECT_EQ(text[6], u'\u00e9') << "Windows-1252";
#endif
}

TEST(PlaylistText, ValidUtf8) {
  struct Case {
    std::string bytes;
    bool valid;
  };
  const Case cases[] = {
      {"plain", true},           {"\xC3\xA9", true},        {"\xE2\x82\xAC", true}, {"\xF0\x9F\x8E\xB5", true},
      {"\xE9", false},           {"\xC3", false},           {"\xC0\xAF", false},    {"\xED\xA0\x80", false},
      {"\xF4\x90\x80\x80", false}, {"\xE2\x82", false},     {"\x80", false},        {"\xF8\x88\x80\x80\x80", false},
  };
  for (const Case& c : cases) EXPECT_EQ(IsValidUtf8(c.bytes), c.valid) << c.bytes;
}

TEST(PlaylistText, LinesAreWholeWithCrLfAsOneBreak) {
  std::u16string longLine(5000, u'x');
  std::u16string text = u"one\r\ntwo\n\r\nthree\rfour\n" + longLine + u"\nnulXafter\nlast";
  text[text.find(u"nulX") + 3] = 0;
  auto lines = SplitLines(text);
  ASSERT_EQ(lines.size(), 7u);
  EXPECT_EQ(lines[0], u"one");
  EXPECT_EQ(lines[1], u"two");
  EXPECT_EQ(lines[2], u"");
  EXPECT_EQ(lines[3], u"three\rfour") << "a lone carriage return stays";
  EXPECT_EQ(lines[4].size(), 5000u);
  EXPECT_EQ(lines[5], u"nul") << "a line ends at a NUL";
  EXPECT_EQ(lines[6], u"last") << "a last line without a line feed counts";
}

TEST(PlaylistText, EncodesUtf16LeWithMarkAndCrLf) {
  std::vector<uint8_t> bytes = EncodePlaylistText(u"#EXTM3U\na\u00e9\n");
  std::string expected = "\xFF\xFE" + Utf16Le(u"#EXTM3U\r\na\u00e9\r\n");
  EXPECT_EQ(std::string(bytes.begin(), bytes.end()), expected);
}

}  // namespace
}  // namespace qv::test
