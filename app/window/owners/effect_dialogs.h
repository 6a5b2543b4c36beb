// The effect settings sheet (CEffectDlg) and the effect panel dialog host
// (CSubDlg). Not built yet: the sheet does not open and no panel is shown.
#pragma once

#include <windows.h>

#include "engine/engine_api.h"

namespace qv {

class CEffectDialogs {
 public:
  void RunSettingsSheet(HWND /*owner*/, EngineHandle /*engine*/) {}
  void ClosePanel() {}
};

}  // namespace qv
