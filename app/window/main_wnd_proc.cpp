// The window procedure: which handler each message reaches.
#include <windowsx.h>

#include "app/effecthost/effect_host_codes.h"
#include "app/shell/window_ids.h"
#include "app/window/main_wnd.h"

namespace qv {

namespace {
// One main window per process.
CMainWnd* g_mainWindow = nullptr;
}  // namespace

LRESULT CALLBACK CMainWnd::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    g_mainWindow = static_cast<CMainWnd*>(create->lpCreateParams);
    g_mainWindow->hwnd_ = hwnd;
  }
  if (!g_mainWindow || g_mainWindow->hwnd_ != hwnd) return DefWindowProcW(hwnd, message, wParam, lParam);
  LRESULT result = g_mainWindow->HandleMessage(message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    g_mainWindow->hwnd_ = nullptr;
    g_mainWindow = nullptr;
  }
  return result;
}

LRESULT CMainWnd::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_CREATE:
      return OnCreate();
    case WM_PAINT:
      OnPaint();
      return 0;
    case WM_ERASEBKGND:
      return 0;
    case WM_NCHITTEST:
      return HitTest(wParam, lParam);
    case WM_ACTIVATEAPP:
    case WM_NCPAINT:
      return 0;
    case WM_DESTROY:
      OnDestroy();
      return 0;
  }
  // Until the window is set up (a message box of WM_CREATE may be pumping),
  // the rest waits or goes to the default handling.
  if (!ready_) {
    if (message == WM_COPYDATA) return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam)) ? 1 : 0;
    return DefWindowProcW(hwnd_, message, wParam, lParam);
  }
  switch (message) {
    case WM_CLOSE:
      OnClose();
      return 0;
    case WM_MOVE:
      SnapToEdges();
      host_.MainWindowMoved();
      return 0;
    case WM_SIZE:
      OnSize(wParam);
      return 0;
    case WM_SETFOCUS:
      OnSetFocus();
      return 0;
    case WM_MOUSEACTIVATE:
      host_.MainWindowMoved();
      activatedByMouse_ = false;
      return 0;
    case WM_KEYDOWN:
      if (wParam == 'A' && GetKeyState(VK_CONTROL) < 0) {
        view_.SelectAll();
      } else if (wParam == 'V' && GetKeyState(VK_CONTROL) < 0 && GetKeyState(VK_MENU) < 0) {
        MessageBoxW(hwnd_, L"Date: 2000/01/01", L"QuoviraPlayer", MB_OK);
      }
      return 0;
    case WM_COMMAND:
      OnCommand(LOWORD(wParam));
      return 0;
    case WM_TIMER:
      OnTimer(wParam);
      return 0;
    case WM_MOUSEMOVE:
      OnMouseMove(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam), wParam);
      return 0;
    case WM_LBUTTONDOWN:
      OnButtonDown(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONUP:
      OnButtonUp(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_LBUTTONDBLCLK:
      view_.OnDoubleClick(GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam));
      return 0;
    case WM_RBUTTONUP:
      ShowPopupMenu({GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)});
      return 0;
    case WM_MOUSEWHEEL: {
      int delta = GET_WHEEL_DELTA_WPARAM(wParam);
      if (delta == -WHEEL_DELTA)
        view_.ScrollRows(1);
      else if (delta == WHEEL_DELTA)
        view_.ScrollRows(-1);
      view_.Repaint();
      return 0;
    }
    case WM_DROPFILES:
      OnDropFiles(reinterpret_cast<HDROP>(wParam));
      return 0;
    case WM_COPYDATA:
      return OnCopyData(reinterpret_cast<const COPYDATASTRUCT*>(lParam)) ? 1 : 0;
    case msg::kPendingNames:
      OpenPendingNames();
      return 0;
    case msg::kReportState:
      ReportState(reinterpret_cast<HWND>(lParam));
      return 0;
    case msg::kSkinButtonClick:
      OnSkinButton(reinterpret_cast<const wchar_t*>(lParam));
      return 0;
    case msg::kHostSetEq:
      modes_.SetEqFromHost(lParam);
      return 0;
    case msg::kHostSetCrossover:
      modes_.SetCrossoverFromHost(lParam);
      return 0;
    case msg::kTrayCallback:
      OnTrayCallback(lParam);
      return 0;
    case msg::kHostPresent:
      hostAnnounced_ = true;
      OnSetFocus();
      return 0;
    case msg::kEngineStatus:
      OnEngineStatus(wParam, lParam);
      return 0;
    case msg::kStreamInfoRepaint:
      RepaintTextLine();
      return 0;
  }
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

}  // namespace qv
