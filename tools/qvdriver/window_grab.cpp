#include "window_grab.h"

namespace qvdriver {

Picture GrabWindow(HWND window) {
  Picture picture;
  RECT r;
  if (!GetWindowRect(window, &r)) return picture;
  int w = r.right - r.left, h = r.bottom - r.top;
  if (w <= 0 || h <= 0) return picture;
  HDC screen = GetDC(nullptr);
  HDC memory = CreateCompatibleDC(screen);
  BITMAPINFO info = {};
  info.bmiHeader.biSize = sizeof(info.bmiHeader);
  info.bmiHeader.biWidth = w;
  info.bmiHeader.biHeight = -h;
  info.bmiHeader.biPlanes = 1;
  info.bmiHeader.biBitCount = 32;
  info.bmiHeader.biCompression = BI_RGB;
  void* bits = nullptr;
  HBITMAP dib = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
  if (dib && bits) {
    HGDIOBJ previous = SelectObject(memory, dib);
    if (BitBlt(memory, 0, 0, w, h, screen, r.left, r.top, SRCCOPY | CAPTUREBLT)) {
      GdiFlush();
      picture.width = w;
      picture.height = h;
      picture.rgb.resize(static_cast<size_t>(w) * h * 3);
      const uint8_t* src = static_cast<const uint8_t*>(bits);
      for (size_t i = 0; i < static_cast<size_t>(w) * h; ++i) {
        picture.rgb[3 * i] = src[4 * i + 2];
        picture.rgb[3 * i + 1] = src[4 * i + 1];
        picture.rgb[3 * i + 2] = src[4 * i];
      }
    }
    SelectObject(memory, previous);
  }
  if (dib) DeleteObject(dib);
  DeleteDC(memory);
  ReleaseDC(nullptr, screen);
  return picture;
}

}  // namespace qvdriver
