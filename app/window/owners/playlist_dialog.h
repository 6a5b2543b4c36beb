// The separate playlist window (CPlayListDlg). Not built yet: it never
// opens, so it takes no messages and needs no refresh.
#pragma once

#include <windows.h>

namespace qv {

class CPlayListDlg {
 public:
  void Open(HWND /*owner*/) {}
  void Refresh() {}
  void Destroy() {}
  // IsDialogMessageW on the dialog while it exists.
  bool TakesMessage(MSG* /*message*/) { return false; }
};

}  // namespace qv
