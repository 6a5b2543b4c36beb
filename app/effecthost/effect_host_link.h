// The player's end of the effect-host protocol: finds the host window by its
// class and sends it the player's announcements. Every message to a missing
// host is skipped.
#pragma once

#include <windows.h>

#include <functional>

#include "app/effecthost/effect_host_codes.h"

namespace qv::effecthost {

class EffectHostLink {
 public:
  using Finder = std::function<HWND()>;

  // By default the host is the top-level window of class "QUOVIRA".
  EffectHostLink();
  explicit EffectHostLink(Finder finder);

  // The host, looked up again whenever the cached handle is no longer a
  // window (a re-created host is found); null when there is none.
  HWND Host();
  void Forget() { cached_ = nullptr; }

  // SendMessageW to the host; false when there is no host.
  bool Send(UINT message, WPARAM wParam = 0, LPARAM lParam = 0, LRESULT* result = nullptr);
  bool SendCommand(uint32_t command, LPARAM lParam = 0) { return Send(WM_COMMAND, command, lParam); }

  bool ModeApplied(uint32_t command) { return SendCommand(command); }
  bool QbsChanged(LPARAM which) { return SendCommand(cmd::kQbs, which); }
  bool PresetApplied(int preset) { return SendCommand(cmd::kPresetApplied, preset); }
  bool Minimized() { return SendCommand(cmd::kMinimized); }
  bool Restored() { return SendCommand(cmd::kRestored); }
  bool TopMostChanged(bool onTop) { return SendCommand(cmd::kTopMost, onTop ? 1 : 0); }
  bool PanelOpened() { return Send(kPanelOpened); }
  bool PanelClosed() { return Send(kPanelClosed); }
  bool MainWindowMoved() { return Send(kMainWindowMoved); }

 private:
  Finder finder_;
  HWND cached_ = nullptr;
};

// The first top-level window of the class, or null.
HWND FindTopLevel(const char16_t* className);

// WM_COPYDATA with code and data to target, from the window `from` (wParam).
// Skipped (false) when target is null or not a window.
bool SendCopyData(HWND target, HWND from, uint32_t code, const void* data, uint32_t size,
                  LRESULT* result = nullptr);

}  // namespace qv::effecthost
