// The close sequence and what the window keeps when it is destroyed.
#include "app/shell/window_ids.h"
#include "app/shell/window_settings.h"
#include "app/window/main_wnd.h"

namespace qv {

void CMainWnd::OnClose() {
  if (closing_) return;
  closing_ = true;
  playlist_->StoreResumePoint();
  playlist_->CloseForExit();
  playlistDialog_.Destroy();
  playlist_->SaveDefaultPlaylist();
  RemoveTrayIcon();
  // Out of the minimized or hidden state, so that the placement kept next
  // is the normal one; shrunk first so that nothing shows meanwhile.
  ShowWindow(hwnd_, SW_HIDE);
  SetWindowPos(hwnd_, nullptr, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  ShowWindow(hwnd_, SW_RESTORE);
  options_->Speaker = speaker_ ? 1 : 0;
  options_->SaveSettings(engine_);
  display_.Release();
  KillTimer(hwnd_, timer::kRefresh);
  for (UINT_PTR id = timer::kTitleScroll; id <= timer::kBlink; ++id) KillTimer(hwnd_, id);
  blinkPhase_ = 0;
  DestroyWindow(hwnd_);
}

void CMainWnd::OnDestroy() {
  WINDOWPLACEMENT placement = {};
  placement.length = sizeof(placement);
  if (GetWindowPlacement(hwnd_, &placement)) {
    // The size kept is the window's own: the close sequence shrank it.
    StoredPlacement stored = PlacementToStore(placement.rcNormalPosition.left, placement.rcNormalPosition.top,
                                              placement.showCmd);
    WriteWindowSettings(SystemSettingsStore(), stored, volume_);
  }
  PostQuitMessage(0);
}

}  // namespace qv
