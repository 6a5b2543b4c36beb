// The tray icon and its callback.
#include <windows.h>
#include <shellapi.h>

#include "app/shell/window_ids.h"
#include "app/window/main_wnd.h"
#include "app/window/player_app.h"
#include "app/window/resource_ids.h"

namespace qv {

namespace {
constexpr UINT kTrayIconId = 1;
}

void CMainWnd::AddTrayIcon() {
  if (trayShown_) return;
  if (!trayIcon_)
    trayIcon_ = static_cast<HICON>(LoadImageW(GetAppInstance(), MAKEINTRESOURCEW(kProgramIcon), IMAGE_ICON, 16, 16, 0));
  NOTIFYICONDATAW data = {};
  data.cbSize = sizeof(data);
  data.hWnd = hwnd_;
  data.uID = kTrayIconId;
  data.uFlags = NIF_ICON | NIF_MESSAGE | NIF_TIP;
  data.uCallbackMessage = msg::kTrayCallback;
  data.hIcon = trayIcon_;
  lstrcpynW(data.szTip, L"QuoviraPlayer", ARRAYSIZE(data.szTip));
  Shell_NotifyIconW(NIM_ADD, &data);
  // Shown or not (a desktop without a notification area), the window counts
  // as being in the tray until it is restored.
  trayShown_ = true;
}

void CMainWnd::RemoveTrayIcon() {
  if (!trayShown_) return;
  NOTIFYICONDATAW data = {};
  data.cbSize = sizeof(data);
  data.hWnd = hwnd_;
  data.uID = kTrayIconId;
  Shell_NotifyIconW(NIM_DELETE, &data);
  trayShown_ = false;
  if (trayIcon_) {
    DestroyIcon(trayIcon_);
    trayIcon_ = nullptr;
  }
}

void CMainWnd::OnTrayCallback(LPARAM event) {
  if (!IsWindowEnabled(hwnd_)) return;
  switch (event) {
    case tray::kLeftDown:
    case tray::kRightDown:
      ShowTrayMenu();
      break;
    case tray::kLeftDoubleClick:
      ShowWindow(hwnd_, SW_RESTORE);
      RemoveTrayIcon();
      SetForegroundWindow(hwnd_);
      break;
  }
}

}  // namespace qv
