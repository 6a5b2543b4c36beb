#include <gtest/gtest.h>

#include "platform/text/utf16.h"

namespace qv {
namespace {

TEST(Utf16, RoundTripsEveryPlane) {
  // ASCII, Latin-1, Hangul, and a character outside the basic plane.
  const std::u16string text = u"a\u00e9\uD55C\U0001F3B5z";
  const std::string utf8 = ToUtf8(text);
  EXPECT_EQ(utf8, "a\xC3\xA9\xED\x95\x9C\xF0\x9F\x8E\xB5z");
  EXPECT_EQ(FromUtf8(utf8), text);
}

TEST(Utf16, MalformedInputBecomesReplacementCharacters) {
  struct Case { std::string utf8; std::u16string expected; };
  const Case cases[] = {
      {"\xC3", u"\uFFFD"},                  // cut short at the end
      {"\xE2\x82x", u"\uFFFDx"},            // cut short before an ASCII byte
      {"\xC0\xAF", u"\uFFFD"},              // overlong
      {"\xED\xA0\x80", u"\uFFFD"},          // encoded surrogate
      {"\xF4\x90\x80\x80", u"\uFFFD"},      // beyond U+10FFFF
      {"\x80" "a", u"\uFFFDa"},             // stray continuation byte
      {"\xFF", u"\uFFFD"},
  };
  for (const auto& c : cases) EXPECT_EQ(FromUtf8(c.utf8), c.expected) << c.utf8.size();
  // Unpaired surrogates in UTF-16 convert too.
  EXPECT_EQ(ToUtf8(std::u16string(1, char16_t(0xD800)) + u"x"), "\xEF\xBF\xBDx");
  EXPECT_EQ(ToUtf8(std::u16string(1, char16_t(0xDC00))), "\xEF\xBF\xBD");
}

TEST(Utf16, CopyTruncatedAlwaysTerminates) {
  char16_t buf[4] = {u'x', u'x', u'x', u'x'};
  U16CopyTruncated(buf, 4, u"abcdef");
  EXPECT_EQ(std::u16string(buf), u"abc");
  U16CopyTruncated(buf, 4, u"");
  EXPECT_EQ(buf[0], 0);
  U16CopyTruncated(buf, 0, u"abc");  // nothing written, no crash
  EXPECT_EQ(buf[0], 0);
  EXPECT_EQ(U16Length(u"hello"), 5u);
  EXPECT_EQ(U16Length(nullptr), 0u);
}

TEST(Utf16, AsciiCaseFolding) {
  EXPECT_TRUE(U16EqualsAsciiNoCase(u".MP3", u".mp3"));
  EXPECT_FALSE(U16EqualsAsciiNoCase(u".mp3", u".mp"));
  EXPECT_FALSE(U16EqualsAsciiNoCase(u"\u00C9", u"\u00E9"));  // only ASCII folds
}

}  // namespace
}  // namespace qv
