#include <gtest/gtest.h>

#include <map>
#include <string>

#include "app/skin/ini_text.h"
#include "app/skin/picture_table.h"
#include "app/skin/skin_load_plan.h"

namespace qv {
namespace {

const std::u16string kSkinPath = u"C:\\Skins\\Night\\night.qsk";
const std::u16string kFolder = u"C:\\Skins\\Night\\";

std::map<int, PlannedPicture> BySlot(const SkinLoadPlan& plan) {
  std::map<int, PlannedPicture> slots;
  for (const auto& p : plan.pictures) slots.emplace(p.slot, p);
  return slots;
}

SkinLoadPlan PlanFor(const std::string& text) {
  IniText file;
  file.SetBytes(text);
  return PlanSkinLoad(&file, kSkinPath);
}

TEST(SkinLoadPlan, NoSkinFileGivesEveryBuiltInPicture) {
  SkinLoadPlan plan = PlanSkinLoad(nullptr, u"");
  EXPECT_EQ(plan.version, 3);
  EXPECT_EQ(plan.background.file, u"");
  EXPECT_EQ(plan.background.resourceId, kBackgroundResource);
  // Rows 1-6 and 8-54: every row but "Button".
  ASSERT_EQ(plan.pictures.size(), kPictureRowCount - 1);
  for (const auto& p : plan.pictures) {
    EXPECT_EQ(p.file, u"") << p.slot;
    EXPECT_NE(p.slot, 1);
  }
  EXPECT_EQ(plan.colours.colour[kTitleColour], MakeColour(253, 254, 254));
  EXPECT_EQ(plan.colours.displayOn, 1);
}

struct SlotCase {
  int slot;
  const char16_t* file;  // expected file, empty when the resource stands in
  int resource;
  int cellWidth;
  int cellHeight;
};

TEST(SkinLoadPlan, EachSlotTakesItsKeyOrItsResource) {
  SkinLoadPlan plan = PlanFor(
      "[Quovira Skin]\n"
      "Background=back.bmp\n"
      "Number=digits.bmp   \n"
      "PauseButton=pause.bmp\n"
      "Animation1=anim1.bmp\n"
      "SNumber=small.bmp\n"
      "Button=old.bmp\n"
      "Stereo =spaced.bmp\n");
  EXPECT_EQ(plan.background.file, kFolder + u"back.bmp");
  auto slots = BySlot(plan);
  const SlotCase cases[] = {
      {0, u"digits.bmp", 134, 9, 8},        // trailing blanks removed
      {21, u"pause.bmp", 172, 32, 31},      // one key fills all three pause slots
      {22, u"pause.bmp", 173, 32, 31},
      {23, u"pause.bmp", 174, 32, 31},
      {145, u"anim1.bmp", 50038, 35, 17},   // the first frame lives in slot 145
      {61, u"small.bmp", 50047, 5, 5},
      {43, u"", 50036, 31, 5},              // "Stereo " is not "Stereo"
      {44, u"", 50035, 31, 5},
      {7, u"", 122, 13, 10},
      {24, u"", 300, 11, 75},
      {38, u"", 50000, 7, 7},
  };
  for (const SlotCase& c : cases) {
    ASSERT_TRUE(slots.count(c.slot)) << c.slot;
    const PlannedPicture& p = slots.at(c.slot);
    std::u16string expected = c.file[0] ? kFolder + c.file : u"";
    EXPECT_EQ(p.file, expected) << c.slot;
    EXPECT_EQ(p.resourceId, c.resource) << c.slot;
    EXPECT_EQ(p.cellWidth, c.cellWidth) << c.slot;
    EXPECT_EQ(p.cellHeight, c.cellHeight) << c.slot;
  }
  EXPECT_EQ(slots.count(1), 0u) << "\"Button\" is read only below version 3";
  EXPECT_EQ(slots.count(45), 0u);
}

struct VersionCase {
  const char* versionLine;
  int version;
  size_t pictureCount;
  bool hasOldButton;
  bool hasModernRows;
};

TEST(SkinLoadPlan, VersionGateChoosesTheRows) {
  const VersionCase cases[] = {
      {"", 3, 53, false, true},
      {"Version=3\n", 3, 53, false, true},
      {"Version=4\n", 4, 53, false, true},
      {"Version=2\n", 2, 7, true, false},
      {"Version=\n", 0, 7, true, false},
      {"Version=abc\n", 0, 7, true, false},
  };
  for (const VersionCase& c : cases) {
    SkinLoadPlan plan = PlanFor(std::string("[Quovira Skin]\n") + c.versionLine + "Button=b.bmp\nVolumeSlider=v.bmp\n");
    auto slots = BySlot(plan);
    EXPECT_EQ(plan.version, c.version) << c.versionLine;
    EXPECT_EQ(plan.pictures.size(), c.pictureCount) << c.versionLine;
    EXPECT_EQ(slots.count(1) == 1, c.hasOldButton) << c.versionLine;
    EXPECT_EQ(slots.count(6) == 1, c.hasModernRows) << c.versionLine;
    if (c.hasOldButton) {
      EXPECT_EQ(slots.at(1).file, kFolder + u"b.bmp");
    }
  }
}

TEST(SkinLoadPlan, OldSkinsOrderCommonRowsThenButton) {
  SkinLoadPlan plan = PlanFor("[Quovira Skin]\nVersion=2\n");
  const int expected[] = {43, 44, 71, 0, 4, 5, 1};
  ASSERT_EQ(plan.pictures.size(), 7u);
  for (size_t i = 0; i < 7; ++i) EXPECT_EQ(plan.pictures[i].slot, expected[i]);
}

struct ColourRuleCase {
  const char* lines;
  ColourRef title;
  ColourRef seek;
  int32_t displayOn;
};

TEST(SkinLoadPlan, ColoursAndDisplayFlag) {
  const ColourRef defaultTitle = MakeColour(253, 254, 254);
  const ColourRef defaultSeek = MakeColour(197, 255, 155);
  const ColourRuleCase cases[] = {
      {"TitleColor=255, 0,0\n", MakeColour(255, 0, 0), defaultSeek, 1},
      {"TitleColor=255\n", defaultTitle, defaultSeek, 1},
      {"SeekColor=1,2,3\nDisp=0\n", defaultTitle, MakeColour(1, 2, 3), 0},
      {"Disp=\n", defaultTitle, defaultSeek, 1},
      {"Disp=7\n", defaultTitle, defaultSeek, 1},
      {"Disp=x\n", defaultTitle, defaultSeek, 0},
      {"titlecolor=255,0,0\n", defaultTitle, defaultSeek, 1},
  };
  for (const ColourRuleCase& c : cases) {
    SkinLoadPlan plan = PlanFor(std::string("[Quovira Skin]\n") + c.lines);
    EXPECT_EQ(plan.colours.colour[kTitleColour], c.title) << c.lines;
    EXPECT_EQ(plan.colours.colour[kSeekColour], c.seek) << c.lines;
    EXPECT_EQ(plan.colours.colour[kDisplayColour], MakeColour(134, 241, 255)) << c.lines;
    EXPECT_EQ(plan.colours.displayOn, c.displayOn) << c.lines;
  }
}

TEST(SkinLoadPlan, PathsThatDoNotFitFallBackToTheResource) {
  std::string longName(300, 'n');
  SkinLoadPlan plan = PlanFor("[Quovira Skin]\nNumber=" + longName.substr(0, 250) + "\nMono=ok.bmp\n");
  auto slots = BySlot(plan);
  EXPECT_EQ(slots.at(0).file, u"");  // folder (15) + 250 characters does not fit 259
  EXPECT_EQ(slots.at(0).resourceId, 134);
  EXPECT_EQ(slots.at(44).file, kFolder + u"ok.bmp");
}

TEST(SkinLoadPlan, BareSkinFileNameHasNoFolder) {
  IniText file;
  file.SetBytes("[Quovira Skin]\nNumber=digits.bmp\n");
  SkinLoadPlan plan = PlanSkinLoad(&file, u"night.qsk");
  EXPECT_EQ(BySlot(plan).at(0).file, u"digits.bmp");
}

TEST(PictureTable, SlotsAreDistinctAndCellsPositive) {
  std::map<int, int> seen;
  for (const PictureRow& row : kPictureTable) {
    EXPECT_EQ(seen[row.slot]++, 0) << row.slot;
    EXPECT_GT(row.cellWidth, 0);
    EXPECT_GT(row.cellHeight, 0);
  }
  EXPECT_EQ(seen.size(), kPictureRowCount);
}

}  // namespace
}  // namespace qv
