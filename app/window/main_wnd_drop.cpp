// Dropped files, and command lines handed over by later starts: both open
// their names exactly as a drop does.
#include <windows.h>
#include <shellapi.h>

#include "app/shell/name_list.h"
#include "app/shell/window_ids.h"
#include "app/window/main_wnd.h"
#include "engine/engine_api.h"
#include "platform/text/utf16.h"

namespace qv {

void CMainWnd::OnDropFiles(HDROP drop) {
  std::vector<std::u16string> names;
  UINT count = DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0);
  for (UINT i = 0; i < count; ++i) {
    // A name that does not fit a path would arrive cut short, possibly as
    // the name of another file: it is left out instead.
    UINT length = DragQueryFileW(drop, i, nullptr, 0);
    if (length == 0 || length >= kPathChars) continue;
    wchar_t name[kPathChars] = {};
    DragQueryFileW(drop, i, name, kPathChars);
    names.emplace_back(AsU16(name));
  }
  DragFinish(drop);
  if (!closing_) playlist_->DropItems(std::move(names));
}

bool CMainWnd::OnCopyData(const COPYDATASTRUCT* data) {
  if (!data || data->dwData != copydata::kCommandLine || closing_) return false;
  std::optional<std::vector<std::u16string>> names = UnpackNameList(data->lpData, data->cbData);
  if (!names) return false;
  // Opened from the queue, after the sender has its answer: opening files
  // can take a while, and the sender should not wait for it.
  pendingNames_.push_back(std::move(*names));
  PostMessageW(hwnd_, msg::kPendingNames, 0, 0);
  return true;
}

void CMainWnd::OpenPendingNames() {
  while (!pendingNames_.empty() && !closing_) {
    std::vector<std::u16string> names = std::move(pendingNames_.front());
    pendingNames_.pop_front();
    playlist_->DropItems(std::move(names));
  }
}

}  // namespace qv
