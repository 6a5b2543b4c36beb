// The skinned controls of the main window, made from the control layer of
// "skin.ini" through the skin library.
#pragma once

#include <windows.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "app/skin/control_layer.h"
#include "app/skinlib/skinlib.h"

namespace qv {

struct SkinControls {
  std::vector<std::unique_ptr<SkinButton>> buttons;
  std::vector<std::unique_ptr<SkinRadio>> radios;
  // Window of radio entry n (1 to kMaxRadioEntries); null when not listed.
  HWND radioByEntry[kMaxRadioEntries + 1] = {};
  std::map<std::u16string, SkinButton*> buttonByName;
  std::map<std::u16string, SkinRadio*> radioByName;
};

// The control layer as the skin library reads it.
ControlLayer ReadControlLayerFrom(IniFile& ini);

// Creates every listed button and radio as a child of parent.
void BuildSkinControls(const ControlLayer& layer, HWND parent, HINSTANCE instance, SkinControls& controls);

}  // namespace qv
