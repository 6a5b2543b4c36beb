#include "app/skin/skin_load_plan.h"

#include "app/skin/decimal.h"
#include "app/skin/ini_text.h"
#include "app/skin/picture_table.h"
#include "app/skin/skin_path.h"

namespace qv {

namespace {
std::u16string ReadKey(const IniText* skin, std::u16string_view key) {
  std::u16string value;
  ReadIniString(skin, kSkinSection, key, value);
  return value;
}

void PlanRow(const IniText* skin, std::u16string_view folder, const PictureRow& row, SkinLoadPlan& plan) {
  plan.pictures.push_back({row.slot, row.cellWidth, row.cellHeight, JoinSkinPath(folder, ReadKey(skin, row.key)),
                           row.resourceId});
}

void ReadColour(const IniText* skin, std::u16string_view key, ColourRef& colour) {
  std::u16string value;
  if (!ReadIniString(skin, kSkinSection, key, value)) return;
  int32_t parsed = ParseColour(value);
  if (parsed != kNoColour) colour = static_cast<ColourRef>(parsed);
}
}  // namespace

SkinColours DefaultSkinColours() {
  SkinColours c;
  c.colour[kDisplayColour] = MakeColour(134, 241, 255);
  c.colour[kInfoColour] = MakeColour(197, 255, 155);
  c.colour[kTitleColour] = MakeColour(253, 254, 254);
  c.colour[kSeekColour] = MakeColour(197, 255, 155);
  c.displayOn = 1;
  return c;
}

SkinLoadPlan PlanSkinLoad(const IniText* skin, std::u16string_view skinPath) {
  SkinLoadPlan plan;
  plan.colours = DefaultSkinColours();
  std::u16string_view folder = SkinFolderOf(skinPath);

  std::u16string value;
  plan.version = ReadIniString(skin, kSkinSection, u"Version", value) ? ParseDecimalPrefix(value)
                                                                      : kModernSkinVersion;

  plan.background = {0, 0, 0, JoinSkinPath(folder, ReadKey(skin, u"Background")), kBackgroundResource};

  for (size_t i = 0; i < kFirstCommonRows; ++i) PlanRow(skin, folder, kPictureTable[i], plan);

  if (ReadIniString(skin, kSkinSection, u"Disp", value) && !value.empty())
    plan.colours.displayOn = ParseDecimalPrefix(value) != 0 ? 1 : 0;
  ReadColour(skin, u"DispColor", plan.colours.colour[kDisplayColour]);
  ReadColour(skin, u"InfoColor", plan.colours.colour[kInfoColour]);
  ReadColour(skin, u"TitleColor", plan.colours.colour[kTitleColour]);
  ReadColour(skin, u"SeekColor", plan.colours.colour[kSeekColour]);

  if (plan.version < kModernSkinVersion) {
    PlanRow(skin, folder, kPictureTable[kOldButtonRow], plan);
  } else {
    for (size_t i = kFirstModernRow; i < kPictureRowCount; ++i) PlanRow(skin, folder, kPictureTable[i], plan);
  }
  return plan;
}

}  // namespace qv
