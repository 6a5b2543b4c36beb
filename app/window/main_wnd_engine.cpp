// The engine's status messages, and what the playlist asks of the display.
#include "app/shell/window_ids.h"
#include "app/window/main_wnd.h"

namespace qv {

namespace {
constexpr int kPlaying = 1;
constexpr int kPaused = 2;
constexpr int kOpening = 3;
constexpr int kStreamConnecting = 2;
}  // namespace

void CMainWnd::OnEngineStatus(WPARAM status, LPARAM error) {
  if (closing_) return;
  switch (status) {
    case 0:
      // The play order chooses what comes next; an error only selects it.
      playlist_->OnPlaybackStopped(error == 1 ? 1 : 0);
      break;
    case kPlaying: {
      if (PlaylistEntry* entry = playlist_->GetEntry(playlist_->CurrentIndex()))
        Engine_GetTrackInfo(engine_, &entry->Track);
      PlaylistEntry* entry = playlist_->GetEntry(playlist_->CurrentIndex());
      auto ef = controls_.radioByName.find(u"EFBUTTON");
      if (ef != controls_.radioByName.end())
        ef->second->ShowWindow(entry && entry->Track.Channels == 2 ? SW_SHOW : SW_HIDE);
      modes_.ReapplyForTrack();
      RepaintBox(display::kFormatArea.left, display::kFormatArea.top, display::kFormatArea.right,
                 display::kFormatArea.bottom);
      RepaintBox(display::kStereoArea.left, display::kStereoArea.top, display::kStereoArea.right,
                 display::kStereoArea.bottom);
      RepaintTextLine();
      RepaintTime();
      break;
    }
    case kOpening:
      if (Engine_GetStreamState(engine_) >= kStreamConnecting) {
        RepaintTextLine();
        SetTimer(hwnd_, timer::kStreamBuffering, timer::kStreamBufferingMs, nullptr);
      }
      break;
    default:
      break;
  }
}

void CMainWnd::ShowWaitCursor(bool on) {
  if (on)
    cursorBeforeWait_ = SetCursor(LoadCursorW(nullptr, IDC_WAIT));
  else
    SetCursor(cursorBeforeWait_);
}

void CMainWnd::Refresh() {
  view_.ShowCurrent();
  view_.Repaint();
  playlistDialog_.Refresh();
  RepaintBox(display::kTrackNumberArea.left, display::kTrackNumberArea.top, display::kTrackNumberArea.right,
             display::kTrackNumberArea.bottom);
}

void CMainWnd::RepaintMain() { InvalidateRect(hwnd_, nullptr, FALSE); }

void CMainWnd::RepaintView() { view_.Repaint(); }

void CMainWnd::ClearViewSelection() { view_.ClearSelection(); }

void CMainWnd::SelectViewRow(int index) { view_.SelectRow(index); }

void CMainWnd::ResetPlayDisplay() {
  blinkPhase_ = 0;
  KillTimer(hwnd_, timer::kBlink);
  RepaintMain();
}

void CMainWnd::ShowPlayDisplay(bool) { RepaintMain(); }

void CMainWnd::StopPlayDisplay() {
  // A late end-of-playback report must not restart the play order.
  MSG stale;
  while (PeekMessageW(&stale, hwnd_, msg::kEngineStatus, msg::kEngineStatus, PM_REMOVE)) {
  }
  KillTimer(hwnd_, timer::kStreamBuffering);
  KillTimer(hwnd_, timer::kAnimation);
  KillTimer(hwnd_, timer::kBlink);
  animationFrame_ = display::kAnimationStopped;
  blinkPhase_ = 0;
  RepaintMain();
}

void CMainWnd::StartPlayDisplay() {
  KillTimer(hwnd_, timer::kBlink);
  blinkPhase_ = 0;
  SetTimer(hwnd_, timer::kAnimation, timer::kAnimationMs, nullptr);
  RepaintMain();
}

void CMainWnd::ShowPauseState() {
  if (Engine_GetStatus(engine_) == kPaused) {
    KillTimer(hwnd_, timer::kAnimation);
    SetTimer(hwnd_, timer::kBlink, timer::kBlinkMs, nullptr);
  } else {
    KillTimer(hwnd_, timer::kBlink);
    blinkPhase_ = 0;
    SetTimer(hwnd_, timer::kAnimation, timer::kAnimationMs, nullptr);
  }
  RepaintMain();
}

void CMainWnd::ShowPlayModes() {
  RepaintBox(display::kRepeatArea.left, display::kRepeatArea.top, display::kRepeatArea.right,
             display::kRepeatArea.bottom);
  RepaintBox(display::kShuffleArea.left, display::kShuffleArea.top, display::kShuffleArea.right,
             display::kShuffleArea.bottom);
}

}  // namespace qv
