// What a skin load does, worked out before any picture is touched: for the
// background and every slot, the file to try and the built-in resource that
// stands in for it, plus the colours and the display flag. CSkin carries the
// plan out; keeping it separate lets the rules be tested without pictures.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "app/skin/colour.h"

namespace qv {

class IniText;

constexpr char16_t kSkinSection[] = u"Quovira Skin";

enum SkinColourIndex { kDisplayColour = 0, kInfoColour = 1, kTitleColour = 2, kSeekColour = 3, kSkinColourCount = 4 };

struct SkinColours {
  ColourRef colour[kSkinColourCount];
  int32_t displayOn;
};

SkinColours DefaultSkinColours();

struct PlannedPicture {
  int slot;
  int cellWidth;
  int cellHeight;
  std::u16string file;  // empty: no file to try
  int resourceId;
};

struct SkinLoadPlan {
  int version;
  PlannedPicture background;  // slot and cell size unused
  SkinColours colours;
  std::vector<PlannedPicture> pictures;  // in the order they are loaded
};

// skin: the opened skin file, or null when there is none (every key then
// reads as missing). skinPath: the path it was opened from.
SkinLoadPlan PlanSkinLoad(const IniText* skin, std::u16string_view skinPath);

}  // namespace qv
