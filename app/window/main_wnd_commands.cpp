// The command table and the skin buttons.
#include "app/display/pointer_controls.h"
#include "app/shell/window_ids.h"
#include "app/window/main_wnd.h"
#include "platform/text/utf16.h"

namespace qv {

void CMainWnd::OnCommand(uint32_t command) {
  if (closing_) return;
  RoutedCommand routed = RouteCommand(command);
  switch (routed.route) {
    case CommandRoute::Ignore: break;
    case CommandRoute::VolumeUp: StepVolume(display::kVolumeKeyStep); break;
    case CommandRoute::VolumeDown: StepVolume(-display::kVolumeKeyStep); break;
    case CommandRoute::MenuAtKey: ShowPopupMenu({222, 5}); break;
    case CommandRoute::AddFile: OpenFilesDialog(true); break;
    case CommandRoute::AddFolder: AddFolderDialog(); break;
    case CommandRoute::Exit: PostMessageW(hwnd_, WM_CLOSE, 0, 0); break;
    case CommandRoute::About: optionDialogs_.ShowAboutDialog(hwnd_, engine_); break;
    case CommandRoute::EffectSettings: effectDialogs_.RunSettingsSheet(hwnd_, engine_); break;
    case CommandRoute::Options: OnOptionsCommand(); break;
    case CommandRoute::PlaylistDialog: playlistDialog_.Open(hwnd_); break;
    case CommandRoute::CycleRepeat: playlist_->CycleRepeat(); break;
    case CommandRoute::Shuffle: playlist_->ToggleShuffle(); break;
    case CommandRoute::OpenFile: OpenFilesDialog(false); break;
    case CommandRoute::TopMost: ToggleTopMost(); break;
    case CommandRoute::SavePlaylist: SavePlaylistDialog(); break;
    case CommandRoute::AddUrl: {
      std::u16string url;
      if (optionDialogs_.ShowLocationDialog(hwnd_, url)) playlist_->AddUrl(url);
      break;
    }
    case CommandRoute::Restore: RestoreCommand(); break;
    case CommandRoute::SetRepeat: playlist_->SetRepeat(routed.arg); break;
    case CommandRoute::PlayPause: playlist_->CommandPlayPause(); break;
    case CommandRoute::MoveUp: view_.MoveSelectedUp(); break;
    case CommandRoute::MoveDown: view_.MoveSelectedDown(); break;
    case CommandRoute::SleepTimer: StartSleepTimer(); break;
    case CommandRoute::Stop: playlist_->CommandStop(); break;
    case CommandRoute::Previous: playlist_->CommandPrevious(); break;
    case CommandRoute::Next: playlist_->CommandNext(); break;
    case CommandRoute::DeleteSelected: view_.DeleteSelected(); break;
    case CommandRoute::Rewind: playlist_->CommandRewind(); break;
    case CommandRoute::FastForward: playlist_->CommandFastForward(); break;
    case CommandRoute::EnhancementMode: modes_.ApplyCommand(routed.arg); break;
    case CommandRoute::EffectPanel: modes_.ToggleEffectPanel(); break;
    case CommandRoute::FileLink: associations_.ToggleLink(routed.arg); break;
    case CommandRoute::EraseAll: view_.EraseAll(); break;
    case CommandRoute::Preset: modes_.ApplyPreset(routed.arg); break;
    case CommandRoute::InternetRadio:
      playlist_->LoadPlaylistFile(playlist_->GetRadioPlaylistPath());
      view_.DeleteSelected();
      break;
    case CommandRoute::DrcAndEq: modes_.SetDrcAndEq(); break;
  }
}

void CMainWnd::OnOptionsCommand() {
  optionDialogs_.ShowOptionsSheet(hwnd_, engine_, *options_);
  display_.Build(AsWide(options_->SkinFile));
  InvalidateRect(hwnd_, nullptr, FALSE);
}

void CMainWnd::OnSkinButton(const wchar_t* name) {
  if (!name || closing_) return;
  RoutedButton routed = RouteSkinButton(AsU16(name));
  switch (routed.route) {
    case ButtonRoute::None: break;
    case ButtonRoute::PostCommand: PostMessageW(hwnd_, WM_COMMAND, routed.command, 0); break;
    case ButtonRoute::EnhancementMode: modes_.OnButton(name); break;
    case ButtonRoute::Menu: {
      POINT p;
      GetCursorPos(&p);
      ScreenToClient(hwnd_, &p);
      ShowPopupMenu(p);
      break;
    }
    case ButtonRoute::Minimize: ShowWindow(hwnd_, SW_MINIMIZE); break;
    case ButtonRoute::Close:
      Engine_EnableSpectrum(engine_, 0);
      hostAnnounced_ = false;
      effectDialogs_.ClosePanel();
      host_.PanelClosed();
      SendMessageW(hwnd_, WM_CLOSE, 0, 0);
      break;
  }
}

void CMainWnd::ToggleTopMost() {
  options_->TopMost = options_->TopMost ? 0 : 1;
  SetWindowPos(hwnd_, options_->TopMost ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0,
               SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  host_.TopMostChanged(options_->TopMost != 0);
}

void CMainWnd::RestoreCommand() {
  if (IsWindowVisible(hwnd_) && !IsIconic(hwnd_)) {
    ShowWindow(hwnd_, SW_MINIMIZE);
    return;
  }
  ShowWindow(hwnd_, SW_RESTORE);
  RemoveTrayIcon();
  SetForegroundWindow(hwnd_);
}

void CMainWnd::StartSleepTimer() {
  if (!optionDialogs_.ShowSleepTimerDialog(hwnd_, *options_)) return;
  if (options_->SleepState == -1) {
    KillTimer(hwnd_, timer::kSleep);
  } else {
    options_->SleepState = 0;
    options_->SleepStart = GetTickCount();
    SetTimer(hwnd_, timer::kSleep, timer::kSleepMs, nullptr);
  }
}

}  // namespace qv
