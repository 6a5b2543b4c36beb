#include "app/window/win32_main_wnd.h"

#include "options/win32_options.h"

namespace qv {

namespace {
using SetLayeredAttributes = BOOL(WINAPI*)(HWND, COLORREF, BYTE, DWORD);
}

LRESULT CWin32MainWnd::OnCreate() { return CMainWnd::OnCreate(); }

std::unique_ptr<COptions> CWin32MainWnd::MakeOptions() { return std::make_unique<CWin32Options>(); }

void CWin32MainWnd::OnOptionsCommand() {
  CMainWnd::OnOptionsCommand();
  ApplyWindowAlpha();
}

void CWin32MainWnd::ApplyWindowAlpha() {
  // Looked up at each use: older systems do not have it.
  HMODULE user32 = GetModuleHandleW(L"user32.dll");
  auto apply = user32 ? reinterpret_cast<SetLayeredAttributes>(
                            reinterpret_cast<void*>(GetProcAddress(user32, "SetLayeredWindowAttributes")))
                      : nullptr;
  if (!apply) return;
  int32_t alpha = static_cast<CWin32Options&>(Options()).WindowAlpha;
  if (alpha < 1) alpha = 1;
  if (alpha > 255) alpha = 255;
  apply(Handle(), 0, static_cast<BYTE>(alpha), LWA_ALPHA);
}

}  // namespace qv
