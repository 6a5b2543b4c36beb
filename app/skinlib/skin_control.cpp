#include <windowsx.h>

#include "app/skinlib/library_state.h"
#include "app/skinlib/skin_control_state.h"
#include "app/skinlib/skinlib.h"

namespace skinlib {

Look LookOf(const SkinControlState& state) {
  if (state.disabled) return Look::Disabled;
  if (state.pressed && state.hover) return Look::Pushed;
  if (state.hover) return Look::Over;
  return Look::Normal;
}

HBITMAP PictureForState(const SkinControlState& state, Look look) {
  const ControlPictures& p = state.pictures;
  if (!state.twoState) {
    HBITMAP normal = p.At(kButtonNormal);
    HBITMAP chosen = nullptr;
    if (look == Look::Over) chosen = p.At(kButtonOver);
    if (look == Look::Pushed) chosen = p.At(kButtonPushed) ? p.At(kButtonPushed) : p.At(kButtonOver);
    if (look == Look::Disabled) chosen = p.At(kButtonDisabled);
    return chosen ? chosen : normal;
  }
  int base = state.checked ? kRadioOnOffset : 0;
  HBITMAP normal = p.At(base);
  HBITMAP chosen = nullptr;
  if (look == Look::Over) chosen = p.At(base + 1);
  if (look == Look::Pushed) chosen = p.At(base + 2) ? p.At(base + 2) : p.At(base + 1);
  return chosen ? chosen : normal;
}

}  // namespace skinlib

using skinlib::Look;

SkinObject::SkinObject() : state_(new SkinControlState) {}

SkinObject::~SkinObject() {
  if (hwnd_ && IsWindow(hwnd_)) {
    SetWindowLongPtrW(hwnd_, GWLP_USERDATA, 0);
    DestroyWindow(hwnd_);
    hwnd_ = nullptr;
  }
  delete state_;
}

HWND SkinObject::CreateControl(const wchar_t* name, DWORD style, int x, int y, HWND parent,
                               const wchar_t* const* pictures, int pictureCount, int twoState) {
  if (hwnd_ || !skinlib::EnsureControlClass(&SkinWindow::WindowProc)) return nullptr;
  state_->name = name ? name : L"";
  state_->twoState = twoState != 0;
  state_->pictures.Load(pictures, pictureCount);
  SIZE size = state_->pictures.FirstSize(twoState ? skinlib::kRadioFallbackSize : skinlib::kButtonFallbackSize);
  // Never a tab stop and never focused: the main window keeps the keyboard.
  DWORD windowStyle = (style & ~(WS_POPUP | WS_TABSTOP)) | WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS;
  return CreateWindowExW(WS_EX_NOPARENTNOTIFY, skinlib::kControlClass, state_->name.c_str(), windowStyle, x, y,
                         size.cx, size.cy, parent, nullptr, skinlib::Module(), static_cast<SkinWindow*>(this));
}

void SkinObject::Paint(HDC dc) {
  RECT client;
  GetClientRect(hwnd_, &client);
  Look look = skinlib::LookOf(*state_);
  HBITMAP picture = skinlib::PictureForState(*state_, look);
  if (picture)
    skinlib::DrawPicture(dc, client, picture);
  else
    skinlib::DrawPlaceholder(dc, client, state_->name, look, state_->twoState && state_->checked);
}

LRESULT SkinObject::HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
  SkinControlState& s = *state_;
  switch (message) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(hwnd_, &ps);
      Paint(dc);
      EndPaint(hwnd_, &ps);
      return 0;
    }
    case WM_PRINTCLIENT:
      Paint(reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_ERASEBKGND:
      return 1;
    case WM_MOUSEACTIVATE:
      return MA_NOACTIVATE;
    case WM_SETFOCUS: {
      // Hand the keyboard straight back.
      HWND previous = reinterpret_cast<HWND>(wParam);
      SetFocus(previous && IsWindow(previous) ? previous : GetParent(hwnd_));
      return 0;
    }
    case WM_MOUSEMOVE: {
      POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      RECT client;
      GetClientRect(hwnd_, &client);
      bool inside = PtInRect(&client, pt) != 0;
      if (inside != s.hover) {
        s.hover = inside;
        InvalidateRect(hwnd_, nullptr, FALSE);
      }
      if (inside && !s.pressed) {
        TRACKMOUSEEVENT track = {sizeof(track), TME_LEAVE, hwnd_, 0};
        TrackMouseEvent(&track);
      }
      return 0;
    }
    case WM_MOUSELEAVE:
      if (s.hover && !s.pressed) {
        s.hover = false;
        InvalidateRect(hwnd_, nullptr, FALSE);
      }
      return 0;
    case WM_LBUTTONDOWN:
    case WM_LBUTTONDBLCLK:
      if (s.disabled) return 0;
      s.pressed = true;
      s.hover = true;
      SetCapture(hwnd_);
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
    case WM_CAPTURECHANGED:
      if (s.pressed) {
        s.pressed = false;
        InvalidateRect(hwnd_, nullptr, FALSE);
      }
      return 0;
    case WM_LBUTTONUP: {
      if (!s.pressed) return 0;
      s.pressed = false;
      if (GetCapture() == hwnd_) ReleaseCapture();
      POINT pt = {GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
      RECT client;
      GetClientRect(hwnd_, &client);
      bool inside = PtInRect(&client, pt) != 0;
      s.hover = inside;
      if (!inside || s.disabled) {
        InvalidateRect(hwnd_, nullptr, FALSE);
        return 0;
      }
      if (s.twoState) s.checked = !s.checked;
      InvalidateRect(hwnd_, nullptr, FALSE);
      UpdateWindow(hwnd_);
      // The parent may delete this control while handling the click; the
      // name it reads stays valid for the whole call.
      std::wstring name = s.name;
      HWND parent = GetParent(hwnd_);
      if (parent) SendMessageW(parent, SKINLIB_WM_CLICKED, 0, reinterpret_cast<LPARAM>(name.c_str()));
      return 0;
    }
    case BM_GETCHECK:
      return s.twoState && s.checked ? BST_CHECKED : BST_UNCHECKED;
    case BM_SETCHECK:
      if (s.twoState) {
        bool checked = wParam == BST_CHECKED;
        if (checked != s.checked) {
          s.checked = checked;
          InvalidateRect(hwnd_, nullptr, FALSE);
        }
      }
      return 0;
    case WM_ENABLE:
      s.disabled = wParam == FALSE;
      InvalidateRect(hwnd_, nullptr, FALSE);
      return 0;
  }
  return SkinWindow::HandleMessage(message, wParam, lParam);
}

SkinButton::SkinButton() = default;
SkinButton::~SkinButton() = default;

HWND SkinButton::CreateEx(const wchar_t* name, DWORD style, int x, int y, HWND parent, HINSTANCE,
                          const wchar_t* normal, const wchar_t* focused, const wchar_t* over,
                          const wchar_t* pushed, const wchar_t* disabled) {
  const wchar_t* pictures[skinlib::kButtonPictures] = {normal, focused, over, pushed, disabled};
  return CreateControl(name, style, x, y, parent, pictures, skinlib::kButtonPictures, 0);
}

SkinRadio::SkinRadio() = default;
SkinRadio::~SkinRadio() = default;

HWND SkinRadio::CreateEx(const wchar_t* name, DWORD style, int x, int y, HWND parent, HINSTANCE,
                         const wchar_t* off, const wchar_t* offOver, const wchar_t* offPushed, const wchar_t* on,
                         const wchar_t* onOver, const wchar_t* onPushed) {
  const wchar_t* pictures[skinlib::kRadioPictures] = {off, offOver, offPushed, on, onOver, onPushed};
  return CreateControl(name, style, x, y, parent, pictures, skinlib::kRadioPictures, 1);
}

void SkinRadio::ButtonSet(int checked) {
  state_->checked = checked != 0;
  if (hwnd_) InvalidateRect(hwnd_, nullptr, FALSE);
}

void SkinRadio::Update() {
  if (!hwnd_) return;
  InvalidateRect(hwnd_, nullptr, FALSE);
  UpdateWindow(hwnd_);
}

void SkinRadio::Disable(int disable) {
  state_->disabled = disable != 0;
  if (!hwnd_) return;
  EnableWindow(hwnd_, disable ? FALSE : TRUE);
  InvalidateRect(hwnd_, nullptr, FALSE);
}
