// CWin32Options: the options of the Win32 main window, which adds the window
// opacity used with layered windows.
#pragma once

#include "options/options.h"

namespace qv {

class CWin32Options : public COptions {
 public:
  explicit CWin32Options(SettingsStore& store = SystemSettingsStore());
  ~CWin32Options() override;

  // Each runs the base operation first, then handles "Window Alpha".
  long SaveSettings(EngineHandle engine) override;
  void LoadSettings(EngineHandle engine) override;

  int32_t WindowAlpha = 255;  // 1-255
};

}  // namespace qv
