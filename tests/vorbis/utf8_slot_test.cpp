// UTF-8 comment values into 64-unit slots: the three sequence lengths the
// engine knows, the 63-character cut, and every way a value can end early.
#include <gtest/gtest.h>

#include <ostream>

#include <memory>
#include <string>

#include "engine/vorbis/vorbis_comments.h"

namespace qv {
namespace {

struct Conversion {
  const char* name;
  std::string bytes;
  std::u16string expected;
  size_t capacity = kCommentSlotChars;
};

void PrintTo(const Conversion& c, std::ostream* os) { *os << c.name; }

class Utf8ToSlotTest : public ::testing::TestWithParam<Conversion> {};

TEST_P(Utf8ToSlotTest, ConvertsUpToTheFirstBadOrMissingByte) {
  const Conversion& c = GetParam();
  // The value alone on the heap, without a terminator: reading past it is an
  // overflow the sanitizer reports.
  std::unique_ptr<char[]> value(new char[c.bytes.size() ? c.bytes.size() : 1]);
  std::copy(c.bytes.begin(), c.bytes.end(), value.get());
  std::u16string out(c.capacity + 1, u'#');
  const size_t written = Utf8ToSlot(value.get(), c.bytes.size(), out.data(), c.capacity);
  EXPECT_EQ(written, c.expected.size());
  EXPECT_EQ(std::u16string(out.c_str()), c.expected);
  EXPECT_EQ(out[c.capacity], u'#') << "nothing written past the capacity";
}

const std::string k63(63, 'x');

INSTANTIATE_TEST_SUITE_P(
    Values, Utf8ToSlotTest,
    ::testing::Values(Conversion{"Ascii", "Hello", u"Hello"}, Conversion{"TwoByte", "\xC3\x9Cn\xC3\xAF", u"Ünï"},
                      Conversion{"ThreeByte", "\xE9\x9F\xB3\xE6\xA5\xBD", u"音楽"},
                      Conversion{"Greek", "\xCE\xA9\xCE\xBC", u"Ωμ"},
                      Conversion{"TwoByteCutByTheEnd", "ab\xC3", u"ab"},
                      Conversion{"ThreeByteCutByTheEnd", "ab\xE9\x9F", u"ab"},
                      Conversion{"ThreeByteCutAfterLead", "ab\xE9", u"ab"},
                      Conversion{"MissingContinuation", "a\xC3z", u"a"},
                      Conversion{"MissingSecondContinuation", "a\xE9\x9Fz", u"a"},
                      Conversion{"StrayContinuation", "a\x80z", u"a"},
                      Conversion{"FourByteSequence", "a\xF0\x9F\x98\x80z", u"a"},
                      Conversion{"EmbeddedNul", std::string("a\0b", 3), u"a"}, Conversion{"Empty", "", u""},
                      Conversion{"LongCutTo63", std::string(100, 'x'), std::u16string(63, u'x')},
                      Conversion{"Exactly63", k63, std::u16string(63, u'x')},
                      Conversion{"MultiByteFillsTheLastPlace", std::string(62, 'x') + "\xC3\xA9",
                                 std::u16string(62, u'x') + u"é"},
                      Conversion{"MultiByteAfterTheLastPlace", k63 + "\xC3\xA9", std::u16string(63, u'x')},
                      Conversion{"CapacityOne", "abc", u"", 1}, Conversion{"CapacityFour", "abcdef", u"abc", 4}),
    [](const ::testing::TestParamInfo<Conversion>& info) { return std::string(info.param.name); });

TEST(Utf8ToSlot, StopsAtTheGivenLength) {
  char16_t out[kCommentSlotChars];
  EXPECT_EQ(Utf8ToSlot("abcdef", 2, out, kCommentSlotChars), 2u);
  EXPECT_EQ(std::u16string(out), u"ab");
  // A sequence that the length cuts is dropped even when the bytes follow.
  EXPECT_EQ(Utf8ToSlot("a\xC3\xA9", 2, out, kCommentSlotChars), 1u);
  EXPECT_EQ(std::u16string(out), u"a");
}

}  // namespace
}  // namespace qv
