#include "app/shell/menu_checks.h"

#include "app/shell/window_ids.h"

namespace qv {

std::vector<MenuCheck> PopupMenuChecks(int repeat, int preset, bool shuffle, bool topMost) {
  std::vector<MenuCheck> checks;
  checks.push_back({cmd::kRepeatNone, repeat != 1 && repeat != 2});
  checks.push_back({cmd::kRepeatAll, repeat == 1});
  checks.push_back({cmd::kRepeatOne, repeat == 2});
  bool builtin = preset >= 1 && preset <= 7;
  for (int p = 1; p <= 7; ++p)
    checks.push_back({static_cast<uint16_t>(cmd::kPresetAcoustic + p - 1), builtin && preset == p});
  checks.push_back({cmd::kPresetNone, !builtin});
  checks.push_back({cmd::kShuffle, shuffle});
  checks.push_back({cmd::kTopMost, topMost});
  return checks;
}

}  // namespace qv
