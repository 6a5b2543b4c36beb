#include <gtest/gtest.h>

#include "app/skin/colour.h"
#include "app/skin/skin_path.h"
#include "platform/text/utf16.h"

namespace qv {
namespace {

struct ColourCase {
  const char16_t* text;
  int32_t expected;
};

void PrintTo(const ColourCase& c, std::ostream* os) { *os << '"' << ToUtf8(c.text) << '"'; }

class ParseColourTable : public ::testing::TestWithParam<ColourCase> {};

TEST_P(ParseColourTable, ReadsRedGreenBlue) {
  EXPECT_EQ(ParseColour(GetParam().text), GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Colours, ParseColourTable,
    ::testing::Values(ColourCase{u"255, 0,0", 0x0000FF}, ColourCase{u"0,255,0", 0x00FF00},
                      ColourCase{u"0,0,255", 0xFF0000}, ColourCase{u"134,241,255", 0xFFF186},
                      ColourCase{u"255", -1}, ColourCase{u"255,0", -1}, ColourCase{u"", -1},
                      ColourCase{u"  12 ,  34 , 56 trailing", 0x38220C}, ColourCase{u"256,257,258", 0x020100},
                      ColourCase{u"-1,0,0", 0x0000FF}, ColourCase{u"a,b,c", 0},
                      ColourCase{u"1,2,3,4", 0x030201}, ColourCase{u"99999999999,0,0", 0x0000FF}));

TEST(SkinPath, FolderIsEverythingUpToTheLastSeparator) {
  EXPECT_EQ(SkinFolderOf(u"C:\\Skins\\Dark\\dark.qsk"), u"C:\\Skins\\Dark\\");
  EXPECT_EQ(SkinFolderOf(u"/skins/dark/dark.qsk"), u"/skins/dark/");
  EXPECT_EQ(SkinFolderOf(u"C:\\Skins/Dark\\x"), u"C:\\Skins/Dark\\");
  // A bare file name has no folder (not the whole name as a folder).
  EXPECT_EQ(SkinFolderOf(u"dark.qsk"), u"");
}

TEST(SkinPath, JoinsThatDoNotFitAreNoFile) {
  std::u16string folder = u"C:\\Skins\\";
  EXPECT_EQ(JoinSkinPath(folder, u"a.bmp"), u"C:\\Skins\\a.bmp");
  EXPECT_EQ(JoinSkinPath(folder, u""), u"");
  std::u16string fits(kSkinPathCapacity - 1 - folder.size(), u'n');
  EXPECT_EQ(JoinSkinPath(folder, fits).size(), kSkinPathCapacity - 1);
  EXPECT_EQ(JoinSkinPath(folder, fits + u"n"), u"");
  EXPECT_EQ(JoinSkinPath(std::u16string(400, u'f'), u"a.bmp"), u"");
}

}  // namespace
}  // namespace qv
