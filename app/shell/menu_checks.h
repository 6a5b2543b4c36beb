// The check marks of the main and tray popup menus.
#pragma once

#include <cstdint>
#include <vector>

namespace qv {

struct MenuCheck {
  uint16_t command;
  bool checked;
};

// repeat: 0 none, 1 all, 2 one (anything else checks "Repeat &None");
// preset: 1-7 the built-in presets (anything else checks "&None").
std::vector<MenuCheck> PopupMenuChecks(int repeat, int preset, bool shuffle, bool topMost);

}  // namespace qv
