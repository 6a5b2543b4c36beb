// The popup menus: the main menu, the playlist menu and the tray menu.
#include "app/shell/menu_checks.h"
#include "app/shell/window_ids.h"
#include "app/window/main_wnd.h"
#include "app/window/player_app.h"
#include "app/window/resource_ids.h"

namespace qv {

namespace {

// Tracks one submenu of a menu resource at a screen point; the chosen item
// arrives as WM_COMMAND.
void TrackSubmenu(HWND owner, HMENU menu, int index, POINT screen, HMENU& openMenu, UINT defaultItem) {
  HMENU sub = GetSubMenu(menu, index);
  if (!sub) return;
  if (defaultItem) SetMenuDefaultItem(sub, defaultItem, FALSE);
  openMenu = sub;
  SetForegroundWindow(owner);
  TrackPopupMenu(sub, TPM_LEFTBUTTON, screen.x, screen.y, 0, owner, nullptr);
  // Lets the menu close properly when it was opened from the tray.
  PostMessageW(owner, WM_NULL, 0, 0);
  openMenu = nullptr;
}

}  // namespace

void CMainWnd::ApplyMenuChecks(HMENU menu) {
  for (const MenuCheck& c : PopupMenuChecks(options_->Repeat, options_->SavedPreset, options_->Shuffle != 0,
                                            options_->TopMost != 0))
    CheckMenuItem(menu, c.command, MF_BYCOMMAND | (c.checked ? MF_CHECKED : MF_UNCHECKED));
  const UINT links[] = {cmd::kLinkMp3, cmd::kLinkOgg, cmd::kLinkWav};
  for (int type = 0; type < 3; ++type)
    CheckMenuItem(menu, links[type], MF_BYCOMMAND | (associations_.IsLinked(type) ? MF_CHECKED : MF_UNCHECKED));
}

void CMainWnd::ShowPopupMenu(POINT client) {
  if (openMenu_) return;
  POINT screen = client;
  ClientToScreen(hwnd_, &screen);
  if (view_.ContainsStrictly(client)) {
    HMENU menu = LoadMenuW(GetAppInstance(), MAKEINTRESOURCEW(kPlaylistMenu));
    if (!menu) return;
    TrackSubmenu(hwnd_, menu, 0, screen, openMenu_, 0);
    DestroyMenu(menu);
    return;
  }
  HMENU menu = LoadMenuW(GetAppInstance(), MAKEINTRESOURCEW(kMainMenu));
  if (!menu) return;
  associations_.OnFirstMenu(hwnd_);
  ApplyMenuChecks(menu);
  TrackSubmenu(hwnd_, menu, kMainSubmenu, screen, openMenu_, 0);
  DestroyMenu(menu);
}

void CMainWnd::ShowTrayMenu() {
  if (openMenu_) return;
  HMENU menu = LoadMenuW(GetAppInstance(), MAKEINTRESOURCEW(kMainMenu));
  if (!menu) return;
  ApplyMenuChecks(menu);
  POINT screen;
  GetCursorPos(&screen);
  TrackSubmenu(hwnd_, menu, kTraySubmenu, screen, openMenu_, cmd::kRestore);
  DestroyMenu(menu);
}

}  // namespace qv
