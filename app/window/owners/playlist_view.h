// The playlist drawn inside the main window. Not built yet: it keeps its
// rectangle (for the popup menu choice) and answers every request with
// nothing, so the commands that reach it are safe.
#pragma once

#include <windows.h>

namespace qv {

class CPlaylistView {
 public:
  void Init(HWND /*mainWindow*/) {}
  // The list rectangle in client coordinates.
  RECT Rect() const { return {9, 63, 249, 257}; }
  bool ContainsStrictly(POINT p) const {
    RECT r = Rect();
    return p.x > r.left && p.x < r.right && p.y > r.top && p.y < r.bottom;
  }
  void Paint(void* /*graphics*/) {}
  void Repaint() {}
  void ShowCurrent() {}
  void ClearSelection() {}
  void SelectRow(int /*index*/) {}
  void SelectAll() {}
  void DeleteSelected() {}
  void EraseAll() {}
  void MoveSelectedUp() {}
  void MoveSelectedDown() {}
  void ScrollRows(int /*rows*/) {}
  void OnButtonDown(int /*x*/, int /*y*/) {}
  void OnButtonUp(int /*x*/, int /*y*/) {}
  void OnDoubleClick(int /*x*/, int /*y*/) {}
  void OnMouseMove(int /*x*/, int /*y*/, WPARAM /*keys*/) {}
  void ReplayLastPoint() {}
};

}  // namespace qv
