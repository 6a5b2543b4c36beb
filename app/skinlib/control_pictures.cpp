#include "app/skinlib/control_pictures.h"

#include "app/skin/bitmap_file_check.h"
#include "app/skinlib/library_state.h"

namespace skinlib {

namespace {
// The file's headers checked before LoadImageW reads it by them.
bool BitmapFileSane(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                            FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  LARGE_INTEGER size = {};
  BYTE head[qv::kBitmapCheckBytes];
  DWORD got = 0;
  const bool read = GetFileSizeEx(file, &size) && ReadFile(file, head, sizeof head, &got, nullptr);
  CloseHandle(file);
  return read && size.QuadPart > 0 && qv::BitmapFileLayoutSane(head, got, static_cast<uint64_t>(size.QuadPart));
}
}  // namespace

void ControlPictures::Load(const wchar_t* const* names, int count) {
  Clear();
  for (int i = 0; i < count; ++i) {
    std::wstring path = PicturePath(names ? names[i] : nullptr);
    HBITMAP bitmap = nullptr;
    if (!path.empty() && BitmapFileSane(path))
      bitmap = static_cast<HBITMAP>(
          LoadImageW(nullptr, path.c_str(), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION));
    bitmaps_.push_back(bitmap);
  }
}

void ControlPictures::Clear() {
  for (HBITMAP bitmap : bitmaps_)
    if (bitmap) DeleteObject(bitmap);
  bitmaps_.clear();
}

HBITMAP ControlPictures::At(int index) const {
  if (index < 0 || index >= static_cast<int>(bitmaps_.size())) return nullptr;
  return bitmaps_[index];
}

SIZE ControlPictures::SizeAt(int index) const {
  SIZE size = {0, 0};
  BITMAP info;
  HBITMAP bitmap = At(index);
  if (bitmap && GetObjectW(bitmap, sizeof(info), &info)) size = {info.bmWidth, info.bmHeight};
  return size;
}

SIZE ControlPictures::FirstSize(SIZE fallback) const {
  for (int i = 0; i < static_cast<int>(bitmaps_.size()); ++i) {
    SIZE size = SizeAt(i);
    if (size.cx > 0 && size.cy > 0) return size;
  }
  return fallback;
}

void DrawPicture(HDC dc, const RECT& rect, HBITMAP bitmap) {
  HDC memory = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(memory, bitmap);
  BitBlt(dc, rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top, memory, 0, 0, SRCCOPY);
  SelectObject(memory, old);
  DeleteDC(memory);
}

namespace {
// "PLAYBUTTON" shows as "PLAY".
std::wstring ShortLabel(const std::wstring& name) {
  std::wstring label = name;
  size_t cut = label.find(L"BUTTON");
  if (cut != std::wstring::npos && cut > 0) label.erase(cut, 6);
  return label;
}
}  // namespace

void DrawPlaceholder(HDC dc, const RECT& rect, const std::wstring& name, Look look, bool on) {
  const COLORREF kFrame = RGB(18, 21, 26);
  const COLORREF kAccent = RGB(64, 214, 196);
  COLORREF face = RGB(46, 52, 61);
  if (look == Look::Over) face = RGB(60, 68, 80);
  if (look == Look::Pushed) face = RGB(30, 34, 41);
  COLORREF text = look == Look::Disabled ? RGB(96, 102, 112) : (on ? kAccent : RGB(200, 206, 214));

  HBRUSH background = CreateSolidBrush(kFrame);
  FillRect(dc, &rect, background);
  DeleteObject(background);

  HBRUSH brush = CreateSolidBrush(face);
  HPEN pen = CreatePen(PS_SOLID, 1, on && look != Look::Disabled ? kAccent : RGB(78, 86, 98));
  HGDIOBJ oldBrush = SelectObject(dc, brush);
  HGDIOBJ oldPen = SelectObject(dc, pen);
  RoundRect(dc, rect.left, rect.top, rect.right, rect.bottom, 6, 6);
  SelectObject(dc, oldPen);
  SelectObject(dc, oldBrush);
  DeleteObject(pen);
  DeleteObject(brush);

  HFONT font = CreateFontW(-9, 0, 0, 0, FW_BOLD, 0, 0, 0, DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                           ANTIALIASED_QUALITY, DEFAULT_PITCH, L"Tahoma");
  HGDIOBJ oldFont = SelectObject(dc, font);
  SetBkMode(dc, TRANSPARENT);
  SetTextColor(dc, text);
  RECT box = rect;
  if (look == Look::Pushed) OffsetRect(&box, 0, 1);
  std::wstring label = ShortLabel(name);
  DrawTextW(dc, label.c_str(), static_cast<int>(label.size()), &box,
            DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX | DT_END_ELLIPSIS);
  SelectObject(dc, oldFont);
  DeleteObject(font);
}

}  // namespace skinlib
