// CMainWnd: the player's one top-level window and its controller. It owns
// the engines, the options, the skin and display, the playlist, the skinned
// controls, the tray icon and the menus, turns every user action into a
// numbered command, and reacts to the engine's notifications.
#pragma once

#include <windows.h>
#include <shellapi.h>

#include <deque>
#include <memory>
#include <string>
#include <vector>

#include "app/display/seek_fade.h"
#include "app/effecthost/effect_host_link.h"
#include "app/shell/command_routes.h"
#include "app/shell/placement.h"
#include "app/skin/control_set.h"
#include "app/skinlib/skinlib.h"
#include "app/window/owners/ad_banner.h"
#include "app/window/owners/effect_dialogs.h"
#include "app/window/owners/enhancement_modes.h"
#include "app/window/owners/file_associations.h"
#include "app/window/owners/option_dialogs.h"
#include "app/window/owners/playlist_dialog.h"
#include "app/window/owners/playlist_view.h"
#include "app/window/player_display.h"
#include "engine/engine_api.h"
#include "options/options.h"
#include "playlist/engine_port.h"
#include "playlist/playlist_controller.h"
#include "playlist/playlist_host.h"

namespace qv {

class CMainWnd : public PlaylistHost {
 public:
  CMainWnd();
  ~CMainWnd() override;
  CMainWnd(const CMainWnd&) = delete;
  CMainWnd& operator=(const CMainWnd&) = delete;

  // Registers the class, creates and shows the window, restores its
  // placement, then opens the command line's names (or the last playlist).
  // 1 on success, 0 on failure.
  int Create(const wchar_t* commandLine, HWND parent, DWORD style);

  // For the application's message loop.
  HWND Handle() const { return hwnd_; }
  HACCEL Accelerators();
  bool IsOwnMessage(const MSG& message) const { return hwnd_ && message.hwnd == hwnd_; }
  bool PlaylistDialogTakes(MSG* message) { return playlistDialog_.TakesMessage(message); }

 protected:
  virtual LRESULT OnCreate();
  virtual std::unique_ptr<COptions> MakeOptions();
  virtual void OnOptionsCommand();
  COptions& Options() { return *options_; }

  // What the playlist asks of the window.
  void ShowWaitCursor(bool on) override;
  void Refresh() override;
  void RepaintMain() override;
  void RepaintView() override;
  void ClearViewSelection() override;
  void SelectViewRow(int index) override;
  void ResetPlayDisplay() override;
  void ShowPlayDisplay(bool stream) override;
  void StopPlayDisplay() override;
  void StartPlayDisplay() override;
  void ShowPauseState() override;
  void ShowPlayModes() override;

 private:
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);

  // Creation and closing (main_wnd_create.cpp, main_wnd_close.cpp).
  bool RegisterWindowClass();
  void OpenStartupItems(const wchar_t* commandLine);
  void OnClose();
  void OnDestroy();

  // Commands (main_wnd_commands.cpp).
  void OnCommand(uint32_t command);
  void OnSkinButton(const wchar_t* name);
  void ToggleTopMost();
  void RestoreCommand();
  void StartSleepTimer();

  // File dialogs (main_wnd_dialogs.cpp).
  void OpenFilesDialog(bool add);
  void AddFolderDialog();
  void SavePlaylistDialog();

  // Dropped files and handed-over command lines (main_wnd_drop.cpp).
  void OnDropFiles(HDROP drop);
  bool OnCopyData(const COPYDATASTRUCT* data);
  void OpenPendingNames();

  // Engine notifications and timers (main_wnd_engine.cpp, main_wnd_timers.cpp).
  void OnEngineStatus(WPARAM status, LPARAM error);
  void OnTimer(UINT_PTR id);

  // Tray icon and menus (main_wnd_tray.cpp, main_wnd_menu.cpp).
  void AddTrayIcon();
  void RemoveTrayIcon();
  void OnTrayCallback(LPARAM event);
  void ShowPopupMenu(POINT client);
  void ShowTrayMenu();
  void ApplyMenuChecks(HMENU menu);

  // Placement (main_wnd_placement.cpp).
  void RestorePlacement();
  void SnapToEdges();
  LRESULT HitTest(WPARAM wParam, LPARAM lParam);
  void OnSize(WPARAM kind);
  void OnSetFocus();

  // The display and its mouse regions (main_wnd_paint.cpp, main_wnd_mouse.cpp).
  void OnPaint();
  DisplayModel CurrentModel();
  std::u16string LineText(bool stream);
  void RepaintBox(int32_t left, int32_t top, int32_t right, int32_t bottom);
  void RepaintTime();
  void RepaintSeekBar();
  void RepaintSlider();
  void RepaintTextLine();
  void UpdatePlayPauseButtons(int status);
  void OnButtonDown(int32_t x, int32_t y);
  void OnMouseMove(int32_t x, int32_t y, WPARAM keys);
  void OnButtonUp(int32_t x, int32_t y);
  void SetVolumeFromX(int32_t x);
  void SeekToX(int32_t x);
  void ToggleMute();
  void StepVolume(int32_t delta);
  void GiveEngineVolume(int32_t volume);

  // The state report for the driver tool (main_wnd_report.cpp).
  void ReportState(HWND to);

  HWND hwnd_ = nullptr;
  HACCEL accelerators_ = nullptr;
  HMENU openMenu_ = nullptr;
  bool ready_ = false;    // WM_CREATE finished: the window takes commands
  bool started_ = false;  // Create finished: the start-up items are open
  bool closing_ = false;  // the close sequence runs

  EngineHandle engine_ = nullptr;
  EngineHandle infoEngine_ = nullptr;
  std::unique_ptr<EngineHandlePort> enginePort_;
  std::unique_ptr<EngineHandlePort> infoPort_;
  std::unique_ptr<COptions> options_;
  std::unique_ptr<PlaylistController> playlist_;

  IniFile controlLayer_;
  SkinControls controls_;
  PlayerDisplay display_;
  effecthost::EffectHostLink host_;

  CPlaylistView view_;
  CAdBanner banner_;
  CEnhancementModes modes_;
  CPlayListDlg playlistDialog_;
  CEffectDialogs effectDialogs_;
  COptionDialogs optionDialogs_;
  CFileAssociations associations_;

  // Volume 0-256 and mute; the engine's volume as last given.
  int32_t volume_ = 256;
  bool muted_ = false;
  int32_t engineVolume_ = 256;
  // Display state.
  bool seekDrag_ = false;
  bool volumeDrag_ = false;
  bool arrowHover_ = false;
  int blinkPhase_ = 0;
  int animationFrame_ = 7;
  int32_t lastTimeShown_ = -1;
  int32_t lastPositionShown_ = -1;
  int lastStatusShown_ = -1;
  int32_t lastPaintMs_ = 0;  // how long the last paint took, for the report
  int64_t firstPaintQpc_ = 0;  // performance counter at the end of the first frame, for the report
  display::SeekFade fade_;
  // Focus bookkeeping with the effect host.
  bool activatedByMouse_ = true;
  bool hostAnnounced_ = true;
  bool speaker_ = true;
  // Tray icon.
  bool trayShown_ = false;
  HICON trayIcon_ = nullptr;
  // Command lines handed over by later starts, opened in order.
  std::deque<std::vector<std::u16string>> pendingNames_;
  // Wait cursor nesting.
  HCURSOR cursorBeforeWait_ = nullptr;
  // The stored placement read before the window was created.
  StoredPlacement storedPlacement_;
};

}  // namespace qv
