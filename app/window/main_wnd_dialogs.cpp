// The open, add-folder and save dialogs of the playlist commands.
#include <windows.h>
#include <commdlg.h>
#include <shlobj.h>

#include <string>
#include <vector>

#include "app/window/main_wnd.h"
#include "app/window/player_app.h"
#include "app/window/resource_ids.h"
#include "platform/text/utf16.h"

namespace qv {

namespace {

// The open dialog's name buffer: room for a long multiple selection.
constexpr size_t kOpenNameChars = 2048000;

std::wstring LoadText(UINT id) {
  const wchar_t* text = nullptr;
  int length = LoadStringW(GetAppInstance(), id, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 ? std::wstring(text, length) : std::wstring();
}

// The dialog's answer: a folder followed by the chosen names, or one path.
void SplitChoice(const std::vector<wchar_t>& buffer, std::u16string& chosen, std::vector<std::u16string>& names) {
  const wchar_t* p = buffer.data();
  chosen = AsU16(p);
  p += chosen.size() + 1;
  while (static_cast<size_t>(p - buffer.data()) < buffer.size() && *p) {
    std::u16string name(AsU16(p));
    p += name.size() + 1;
    names.push_back(std::move(name));
  }
}

int CALLBACK BrowseStarts(HWND dialog, UINT message, LPARAM, LPARAM data) {
  if (message == BFFM_INITIALIZED && data) SendMessageW(dialog, BFFM_SETSELECTIONW, TRUE, data);
  return 0;
}

}  // namespace

void CMainWnd::OpenFilesDialog(bool add) {
  if (!playlist_->BeginFileDialog()) return;
  const std::u16string& filter = playlist_->OpenFilter();
  std::vector<wchar_t> names(kOpenNameChars, 0);
  std::wstring title = LoadText(add ? kStrAddFile : kStrOpenFile);
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = hwnd_;
  ofn.lpstrFilter = AsWide(filter.c_str());
  ofn.lpstrFile = names.data();
  ofn.nMaxFile = static_cast<DWORD>(names.size());
  ofn.lpstrInitialDir = AsWide(options_->LastDir);
  ofn.lpstrTitle = title.c_str();
  ofn.Flags = OFN_FILEMUSTEXIST | OFN_ALLOWMULTISELECT | OFN_EXPLORER | OFN_HIDEREADONLY;
  BOOL chosen = GetOpenFileNameW(&ofn);
  playlist_->EndFileDialog();
  if (!chosen || closing_) return;
  std::u16string path;
  std::vector<std::u16string> list;
  SplitChoice(names, path, list);
  playlist_->OpenChosenFiles(add ? 1 : 0, path, list);
  if (!add && playlist_->GetEntryCount() > 0) playlist_->PlayEntry(-1);
  Refresh();
}

void CMainWnd::AddFolderDialog() {
  std::wstring title = LoadText(kStrSelectDirectory);
  BROWSEINFOW info = {};
  info.hwndOwner = hwnd_;
  info.lpszTitle = title.c_str();
  info.ulFlags = BIF_RETURNONLYFSDIRS;
  info.lpfn = BrowseStarts;
  info.lParam = reinterpret_cast<LPARAM>(options_->LastDir);
  PIDLIST_ABSOLUTE chosen = SHBrowseForFolderW(&info);
  if (!chosen) return;
  wchar_t folder[MAX_PATH] = {};
  bool ok = SHGetPathFromIDListW(chosen, folder) != FALSE;
  CoTaskMemFree(chosen);
  if (ok && !closing_) playlist_->AddFolder(AsU16(folder));
}

void CMainWnd::SavePlaylistDialog() {
  if (!playlist_->BeginFileDialog()) return;
  std::wstring title = LoadText(kStrSavePlaylist);
  std::wstring filter = LoadText(kStrSaveFilter);
  for (wchar_t& c : filter)
    if (c == L'|') c = 0;
  filter.push_back(0);
  wchar_t name[MAX_PATH] = {};
  OPENFILENAMEW ofn = {};
  ofn.lStructSize = sizeof(ofn);
  ofn.hwndOwner = hwnd_;
  ofn.lpstrFilter = filter.c_str();
  ofn.lpstrFile = name;
  ofn.nMaxFile = MAX_PATH;
  ofn.lpstrDefExt = L"m3u";
  ofn.lpstrInitialDir = AsWide(options_->LastDir);
  ofn.lpstrTitle = title.c_str();
  ofn.Flags = OFN_OVERWRITEPROMPT | OFN_PATHMUSTEXIST | OFN_EXPLORER;
  BOOL chosen = GetSaveFileNameW(&ofn);
  playlist_->EndFileDialog();
  if (chosen && !closing_) playlist_->SavePlaylistFile(AsU16(name));
}

}  // namespace qv
