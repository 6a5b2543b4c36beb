// The skin through CSkin (every picture the file names is loaded through
// LoadImageW and made a GDI+ bitmap) and the control layer through the skin
// library's IniFile, with every listed control created on a hidden window.
#include <windows.h>

#include "app/skin/control_set.h"
#include "app/skin/ini_text.h"
#include "app/skin/skin.h"
#include "platform/text/utf16.h"
#include "tools/qvload/load_skin.h"

namespace qvload {

namespace {

class GdiplusSession {
 public:
  GdiplusSession() {
    Gdiplus::GdiplusStartupInput input;
    ok_ = Gdiplus::GdiplusStartup(&token_, &input, nullptr) == Gdiplus::Ok;
  }
  ~GdiplusSession() {
    if (ok_) Gdiplus::GdiplusShutdown(token_);
  }
  bool Ok() const { return ok_; }

 private:
  ULONG_PTR token_ = 0;
  bool ok_ = false;
};

// Slots of the picture table (the first animation frame lives at 145).
constexpr int kHighestSlot = 145;

}  // namespace

LoadResult LoadSkin(const std::u16string& path) {
  LoadResult result;
  qv::IniText probe;
  if (!probe.Open(path)) {
    result.exitCode = kExitNotRead;
    result.reason = "cannot read the file";
    return result;
  }
  GdiplusSession gdiplus;
  if (!gdiplus.Ok()) {
    result.exitCode = kExitNotRead;
    result.reason = "GDI+ did not start";
    return result;
  }
  int pictures = 0, images = 0;
  bool background = false;
  {
    CSkin skin(GetModuleHandleW(nullptr));
    skin.Load(qv::AsWide(path.c_str()));
    for (int slot = 0; slot <= kHighestSlot; ++slot) {
      if (!skin.HasPicture(slot)) continue;
      ++pictures;
      if (skin.GetPicture(slot).image) ++images;
    }
    background = skin.GetBackground() != nullptr;
    result.report.Int("pictures", pictures)
        .Int("images", images)
        .Bool("background", background)
        .Int("title_colour", skin.GetColour(2))
        .Int("display_on", skin.IsDisplayOn());
  }
  return result;
}

LoadResult LoadControls(const std::u16string& path) {
  LoadResult result;
  IniFile ini;
  if (!ini.Load(qv::AsWide(path.c_str()))) {
    result.exitCode = kExitNotRead;
    result.reason = "the skin library cannot read the file";
    return result;
  }
  const qv::ControlLayer layer = qv::ReadControlLayerFrom(ini);
  result.reason = ControlLayerLimitBroken(layer);
  if (!result.reason.empty()) result.exitCode = kExitBrokenLimit;
  HWND parent = CreateWindowExW(0, L"STATIC", L"qvload", WS_POPUP, 0, 0, 261, 383, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  int windows = 0;
  if (parent) {
    qv::SkinControls controls;
    qv::BuildSkinControls(layer, parent, GetModuleHandleW(nullptr), controls);
    for (HWND child = GetWindow(parent, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) ++windows;
    DestroyWindow(parent);
  }
  result.report.Int("buttons", static_cast<int64_t>(layer.buttons.size()))
      .Int("radios", static_cast<int64_t>(layer.radios.size()))
      .Int("windows", windows);
  return result;
}

}  // namespace qvload
