// Placement, edge snapping, the dragging strip, minimizing and focus.
#include "app/display/mouse_regions.h"
#include "app/shell/placement.h"
#include "app/shell/window_ids.h"
#include "app/window/main_wnd.h"

namespace qv {

namespace {

IntRect ToIntRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

}  // namespace

void CMainWnd::RestorePlacement() {
  RECT window = {}, client = {};
  GetWindowRect(hwnd_, &window);
  GetClientRect(hwnd_, &client);
  IntSize size = FrameCorrectedSize({window.right - window.left, window.bottom - window.top},
                                    {client.right - client.left, client.bottom - client.top});
  RECT screen = {GetSystemMetrics(SM_XVIRTUALSCREEN), GetSystemMetrics(SM_YVIRTUALSCREEN), 0, 0};
  screen.right = screen.left + GetSystemMetrics(SM_CXVIRTUALSCREEN);
  screen.bottom = screen.top + GetSystemMetrics(SM_CYVIRTUALSCREEN);
  RestoredPlacement restored = PlacementToRestore(storedPlacement_, size, ToIntRect(screen));
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof(placement);
  placement.showCmd = restored.showCmd;
  placement.rcNormalPosition = {restored.rect.left, restored.rect.top, restored.rect.right, restored.rect.bottom};
  SetWindowPlacement(hwnd_, &placement);
}

void CMainWnd::SnapToEdges() {
  if (IsIconic(hwnd_)) return;
  RECT window = {}, work = {};
  GetWindowRect(hwnd_, &window);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  IntPoint p = SnapToWorkArea(ToIntRect(window), ToIntRect(work));
  if (p.x != window.left || p.y != window.top)
    SetWindowPos(hwnd_, nullptr, p.x, p.y, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

LRESULT CMainWnd::HitTest(WPARAM wParam, LPARAM lParam) {
  LRESULT hit = DefWindowProcW(hwnd_, WM_NCHITTEST, wParam, lParam);
  POINT p = {static_cast<int16_t>(LOWORD(lParam)), static_cast<int16_t>(HIWORD(lParam))};
  ScreenToClient(hwnd_, &p);
  return display::InCaptionStrip(p.x, p.y) ? HTCAPTION : hit;
}

void CMainWnd::OnSize(WPARAM kind) {
  if (kind == SIZE_MINIMIZED) {
    if (options_->TrayIcon) {
      AddTrayIcon();
      ShowWindow(hwnd_, SW_HIDE);
    }
    host_.Minimized();
  } else if (kind == SIZE_RESTORED) {
    InvalidateRect(hwnd_, nullptr, FALSE);
    host_.Restored();
  }
}

void CMainWnd::OnSetFocus() {
  if (activatedByMouse_ && hostAnnounced_)
    host_.Restored();
  else
    activatedByMouse_ = true;
}

}  // namespace qv
