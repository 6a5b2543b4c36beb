// The "QUOVIRA" class serves two windows: the control that an effect panel
// dialog holds (a child), and the effect host that control creates on
// request (an owned top-level pop-up, so that FindWindowW finds it).
#include "app/skinlib/library_state.h"
#include "app/skinlib/skinlib.h"

namespace {
HWND g_hostOwner = nullptr;

bool IsControl(HWND hwnd) { return (GetWindowLongPtrW(hwnd, GWL_STYLE) & WS_CHILD) != 0; }

HWND HostOf(HWND control) {
  HWND host = reinterpret_cast<HWND>(GetWindowLongPtrW(control, GWLP_USERDATA));
  return host && IsWindow(host) ? host : nullptr;
}

HWND CreateHost(HWND control) {
  if (HWND existing = HostOf(control)) return existing;
  HWND owner = g_hostOwner && IsWindow(g_hostOwner) ? g_hostOwner : GetAncestor(control, GA_ROOT);
  HWND host = CreateWindowExW(WS_EX_TOOLWINDOW, SKINLIB_HOST_CLASS, L"", WS_POPUP, 0, 0, 0, 0, owner, nullptr,
                              skinlib::Module(), nullptr);
  SetWindowLongPtrW(control, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(host));
  return host;
}

void PaintControl(HWND hwnd) {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd, &ps);
  RECT client;
  GetClientRect(hwnd, &client);
  HBRUSH brush = CreateSolidBrush(RGB(24, 27, 33));
  FillRect(dc, &client, brush);
  DeleteObject(brush);
  EndPaint(hwnd, &ps);
}
}  // namespace

namespace skinlib {

LRESULT CALLBACK EffectControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (IsControl(hwnd)) {
    switch (message) {
      case SKINLIB_WM_CREATE_HOST:
        return reinterpret_cast<LRESULT>(CreateHost(hwnd));
      case WM_PAINT:
        PaintControl(hwnd);
        return 0;
      case WM_DESTROY:
        // The host lives as long as its control.
        if (HWND host = HostOf(hwnd)) DestroyWindow(host);
        SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
        return 0;
    }
    return DefWindowProcW(hwnd, message, wParam, lParam);
  }
  // The host is driven by the player's messages; this stand-in accepts them
  // and stays out of sight.
  switch (message) {
    case WM_COMMAND:
    case WM_COPYDATA:
      return 1;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

}  // namespace skinlib

extern "C" SKINLIB_API int SKINLIB_CALL SKINLIB_SetParentHwnd(HWND parent) {
  g_hostOwner = parent;
  return 1;
}
