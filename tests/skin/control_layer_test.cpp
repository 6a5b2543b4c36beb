#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/skin/control_layer.h"
#include "app/skin/ini_text.h"
#include "platform/text/utf16.h"

namespace qv {
namespace {

struct EntryCase {
  const char16_t* value;
  size_t pictures;
  const char16_t* name;
  int x;
  int y;
  std::vector<std::u16string> expectedPictures;
};

void PrintTo(const EntryCase& c, std::ostream* os) { *os << ToUtf8(c.value); }

class ControlEntryTable : public ::testing::TestWithParam<EntryCase> {};

TEST_P(ControlEntryTable, SplitsAtCommasAndFillsMissingFields) {
  const EntryCase& c = GetParam();
  ControlEntry entry = ParseControlEntry(c.value, c.pictures);
  EXPECT_EQ(entry.name, c.name);
  EXPECT_EQ(entry.x, c.x);
  EXPECT_EQ(entry.y, c.y);
  EXPECT_EQ(entry.pictures, c.expectedPictures);
}

INSTANTIATE_TEST_SUITE_P(
    Entries, ControlEntryTable,
    ::testing::Values(
        EntryCase{u"PLAYBUTTON,100,260,play.bmp,play_over.bmp,play_down.bmp", 3, u"PLAYBUTTON", 100, 260,
                  {u"play.bmp", u"play_over.bmp", u"play_down.bmp"}},
        EntryCase{u"PLAYBUTTON,100,260,play.bmp", 3, u"PLAYBUTTON", 100, 260, {u"play.bmp", u"", u""}},
        EntryCase{u"PLAYBUTTON", 3, u"PLAYBUTTON", 0, 0, {u"", u"", u""}},
        EntryCase{u"PLAYBUTTON,,", 3, u"PLAYBUTTON", 0, 0, {u"", u"", u""}},
        EntryCase{u"EQBUTTON, 12 ,x,a,b,c,d,e,f", 6, u"EQBUTTON", 12, 0, {u"a", u"b", u"c", u"d", u"e", u"f"}},
        EntryCase{u"EQBUTTON,1,2,a,b,c,d,e,f,extra", 6, u"EQBUTTON", 1, 2, {u"a", u"b", u"c", u"d", u"e", u"f"}},
        EntryCase{u"EQBUTTON,1,2,a,b", 6, u"EQBUTTON", 1, 2, {u"a", u"b", u"", u"", u"", u""}}));

ControlValueReader ReaderFor(const std::string& text, IniText& file) {
  file.SetBytes(text);
  return [&file](std::u16string_view section, std::u16string_view key) {
    std::u16string value;
    ReadIniString(&file, section, key, value);
    return value;
  };
}

TEST(ControlLayer, ReadsNumberedEntriesUntilTheFirstGap) {
  IniText file;
  ControlLayer layer = ReadControlLayer(ReaderFor(
      "[MAINBUTTONINFO]\n1=OPENBUTTON,5,260,o.bmp,oo.bmp,op.bmp\n2=PLAYBUTTON,40,260,p.bmp,po.bmp,pp.bmp\n"
      "3=\n4=STOPBUTTON,80,260,s.bmp,so.bmp,sp.bmp\n"
      "[MAINRADIOINFO]\n1=EQBUTTON,1,2,a,b,c,d,e,f\n2=COBUTTON,3,4,a,b,c,d,e,f\n4=QVBUTTON,5,6,a,b,c,d,e,f\n",
      file));
  ASSERT_EQ(layer.buttons.size(), 2u);
  EXPECT_EQ(layer.buttons[0].name, u"OPENBUTTON");
  EXPECT_EQ(layer.buttons[1].name, u"PLAYBUTTON");
  EXPECT_EQ(layer.buttons[1].number, 2);
  ASSERT_EQ(layer.radios.size(), 2u) << "entry 3 is missing, so entry 4 is never read";
  EXPECT_EQ(layer.radios[1].name, u"COBUTTON");
  EXPECT_EQ(layer.radios[1].x, 3);
  EXPECT_EQ(layer.radios[1].y, 4);
}

TEST(ControlLayer, RadioEntriesBeyondElevenAreIgnored) {
  std::string text = "[MAINRADIOINFO]\n";
  for (int n = 1; n <= 14; ++n) text += std::to_string(n) + "=R" + std::to_string(n) + ",0,0,a,b,c,d,e,f\n";
  IniText file;
  ControlLayer layer = ReadControlLayer(ReaderFor(text, file));
  ASSERT_EQ(layer.radios.size(), static_cast<size_t>(kMaxRadioEntries));
  EXPECT_EQ(layer.radios.back().name, u"R11");
  EXPECT_EQ(layer.radios.back().number, 11);
  EXPECT_TRUE(layer.buttons.empty());
}

TEST(ControlLayer, ButtonPicturesGoToTheLibraryAsAABCA) {
  ControlEntry entry = ParseControlEntry(u"PLAYBUTTON,1,2,A.bmp,B.bmp,C.bmp", kButtonPictureCount);
  EXPECT_EQ(ButtonCreatePictures(entry),
            (std::vector<std::u16string>{u"A.bmp", u"A.bmp", u"B.bmp", u"C.bmp", u"A.bmp"}));
}

}  // namespace
}  // namespace qv
