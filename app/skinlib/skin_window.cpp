#include "app/skinlib/skinlib.h"

SkinWindow::SkinWindow() : hwnd_(nullptr) {}

SkinWindow::~SkinWindow() {
  if (hwnd_ && IsWindow(hwnd_)) {
    // The window outlives nothing of the object: detach, then destroy.
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
  }
  hwnd_ = nullptr;
}

BOOL SkinWindow::ShowWindow(int showCommand) {
  if (!hwnd_) return FALSE;
  return ::ShowWindow(hwnd_, showCommand);
}

LRESULT SkinWindow::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcW(hwnd_, message, wParam, lParam);
}

LRESULT CALLBACK SkinWindow::WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* create = reinterpret_cast<CREATESTRUCTW*>(lParam);
    auto* self = static_cast<SkinWindow*>(create->lpCreateParams);
    self->hwnd_ = hwnd;
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
  }
  auto* self = reinterpret_cast<SkinWindow*>(GetWindowLongPtrW(hwnd, GWLP_USERDATA));
  if (!self) return DefWindowProcW(hwnd, message, wParam, lParam);
  if (message == WM_NCDESTROY) {
    // Destroyed with its parent: the object stays, without a window.
    LRESULT result = self->HandleMessage(message, wParam, lParam);
    SetWindowLongPtrW(hwnd, GWLP_USERDATA, 0);
    self->hwnd_ = nullptr;
    return result;
  }
  return self->HandleMessage(message, wParam, lParam);
}
