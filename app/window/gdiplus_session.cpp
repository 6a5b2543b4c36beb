#include "app/window/gdiplus_session.h"

#include "app/window/gdiplus_include.h"

namespace qv {

namespace {
ULONG_PTR g_gdiplusToken = 0;
}

void StartGdiplus() {
  if (g_gdiplusToken) return;
  Gdiplus::GdiplusStartupInput input;  // version 1, no debug callback, background thread on
  Gdiplus::GdiplusStartup(&g_gdiplusToken, &input, nullptr);
}

void StopGdiplus() {
  if (!g_gdiplusToken) return;
  Gdiplus::GdiplusShutdown(g_gdiplusToken);
  g_gdiplusToken = 0;
}

}  // namespace qv
