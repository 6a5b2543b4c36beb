// CWin32MainWnd: the main window with the Win32 options (window opacity).
#pragma once

#include "app/window/main_wnd.h"

namespace qv {

class CWin32MainWnd : public CMainWnd {
 public:
  CWin32MainWnd() = default;
  ~CWin32MainWnd() override = default;

 protected:
  LRESULT OnCreate() override;
  std::unique_ptr<COptions> MakeOptions() override;
  void OnOptionsCommand() override;

 private:
  void ApplyWindowAlpha();
};

}  // namespace qv
