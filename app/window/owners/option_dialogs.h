// The option dialogs: the options sheet, the sleep timer, the about box and
// the location dialog. Not built yet: none opens, each reports "cancelled".
#pragma once

#include <windows.h>

#include <string>

#include "engine/engine_api.h"

namespace qv {

class COptions;

class COptionDialogs {
 public:
  void ShowOptionsSheet(HWND /*owner*/, EngineHandle /*engine*/, COptions& /*options*/) {}
  // Non-zero when the sleep timer was set or cleared.
  int ShowSleepTimerDialog(HWND /*owner*/, COptions& /*options*/) { return 0; }
  void ShowAboutDialog(HWND /*owner*/, EngineHandle /*engine*/) {}
  // True with the chosen address.
  bool ShowLocationDialog(HWND /*owner*/, std::u16string& /*url*/) { return false; }
};

}  // namespace qv
