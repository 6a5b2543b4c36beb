// The advertisement banner at the bottom of the main window. Not built yet:
// the background's banner frame shows, and ticks and clicks do nothing.
#pragma once

#include <windows.h>

namespace qv {

class CAdBanner {
 public:
  void Init(HWND /*mainWindow*/) {}
  void Tick() {}
  void OnButtonDown(int /*x*/, int /*y*/) {}
  void OnMouseMove(int /*x*/, int /*y*/) {}
};

}  // namespace qv
