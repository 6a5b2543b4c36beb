// Name lists between processes and drop-files blocks.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "app/shell/name_list.h"

namespace qv {
namespace {

std::vector<std::u16string> Unpack(const std::vector<char16_t>& units) {
  auto names = UnpackNameList(units.data(), units.size() * 2);
  EXPECT_TRUE(names.has_value());
  return names.value_or(std::vector<std::u16string>{});
}

TEST(NameList, RoundTripKeepsNamesAndOrder) {
  std::vector<std::u16string> names = {u"C:\\b\\x y.mp3", u"C:\\a.wav", u"\u00e9\u4e2d.flac"};
  std::vector<char16_t> packed = PackNameList(names);
  EXPECT_EQ(packed.back(), 0);
  EXPECT_EQ(packed[packed.size() - 2], 0);
  EXPECT_EQ(Unpack(packed), names);
  EXPECT_EQ(Unpack(PackNameList({})), std::vector<std::u16string>{});
}

TEST(NameList, MalformedBlocksAreRefused) {
  std::vector<char16_t> ok = PackNameList({u"a.mp3"});
  EXPECT_FALSE(UnpackNameList(nullptr, 4));
  EXPECT_FALSE(UnpackNameList(ok.data(), 0));
  EXPECT_FALSE(UnpackNameList(ok.data(), ok.size() * 2 - 1));  // half a unit
  std::vector<char16_t> unterminated = {u'a', u'.', u'm'};
  EXPECT_FALSE(UnpackNameList(unterminated.data(), unterminated.size() * 2));
  std::vector<char16_t> noEnd = {u'a', 0};  // a name but no empty name after it
  EXPECT_FALSE(UnpackNameList(noEnd.data(), noEnd.size() * 2));
  std::vector<char16_t> huge(kMaxNameListBytes / 2 + 2, 0);
  EXPECT_FALSE(UnpackNameList(huge.data(), huge.size() * 2));
}

TEST(NameList, NamesTooLongForAPathAreLeftOut) {
  std::u16string fits(259, u'a'), tooLong(260, u'b');
  std::vector<char16_t> packed = PackNameList({fits, tooLong, u"c.mp3"});
  EXPECT_EQ(Unpack(packed), (std::vector<std::u16string>{fits, u"c.mp3"}));
}

TEST(NameList, AnEmptyNameEndsTheListWhenPacking) {
  std::vector<char16_t> packed = PackNameList({u"a", u"", u"b"});
  EXPECT_EQ(Unpack(packed), std::vector<std::u16string>{u"a"});
}

uint32_t Le32(const std::vector<uint8_t>& b, size_t at) {
  return b[at] | b[at + 1] << 8 | b[at + 2] << 16 | static_cast<uint32_t>(b[at + 3]) << 24;
}

TEST(DropFilesBlock, HeaderAndWideNamesAsTheShellLaysThemOut) {
  std::vector<uint8_t> block = BuildDropFilesBlock({u"C:\\a b.mp3", u"x"});
  EXPECT_EQ(Le32(block, 0), 20u);  // offset of the list
  EXPECT_EQ(Le32(block, 4), 10u);  // drop point
  EXPECT_EQ(Le32(block, 8), 10u);
  EXPECT_EQ(Le32(block, 12), 0u);  // not in the non-client area
  EXPECT_EQ(Le32(block, 16), 1u);  // wide names
  std::vector<char16_t> units((block.size() - 20) / 2);
  for (size_t i = 0; i < units.size(); ++i) units[i] = static_cast<char16_t>(block[20 + 2 * i] | block[21 + 2 * i] << 8);
  EXPECT_EQ(Unpack(units), (std::vector<std::u16string>{u"C:\\a b.mp3", u"x"}));
  // The list ends with two zero units at least.
  EXPECT_EQ(units[units.size() - 1], 0);
  EXPECT_EQ(units[units.size() - 2], 0);
}

}  // namespace
}  // namespace qv
