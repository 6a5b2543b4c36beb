#include "app/skinlib/library_state.h"

#include "app/skinlib/skinlib.h"

namespace skinlib {

const wchar_t kControlClass[] = L"SkinlibControl";

namespace {
HINSTANCE g_module = nullptr;
std::wstring g_pictureFolder;

bool IsAbsolute(const wchar_t* name) {
  return name[0] == L'\\' || name[0] == L'/' || (name[0] != 0 && name[1] == L':');
}
}  // namespace

HINSTANCE Module() { return g_module; }
void SetModule(HINSTANCE module) { g_module = module; }

const std::wstring& PictureFolder() { return g_pictureFolder; }

void SetPictureFolderFrom(const wchar_t* iniPath) {
  std::wstring path = iniPath ? iniPath : L"";
  size_t cut = path.find_last_of(L"\\/");
  g_pictureFolder = cut == std::wstring::npos ? std::wstring() : path.substr(0, cut + 1);
}

std::wstring PicturePath(const wchar_t* name) {
  if (!name || !name[0]) return {};
  std::wstring path = IsAbsolute(name) ? std::wstring(name) : g_pictureFolder + name;
  if (path.size() >= MAX_PATH) return {};
  return path;
}

bool RegisterEffectClass(HINSTANCE module) {
  // Global, so that dialog templates of any module can hold the control.
  WNDCLASSW effect = {};
  effect.style = CS_GLOBALCLASS | CS_HREDRAW | CS_VREDRAW;
  effect.lpfnWndProc = EffectControlProc;
  effect.hInstance = module;
  effect.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  effect.lpszClassName = SKINLIB_HOST_CLASS;
  return RegisterClassW(&effect) != 0;
}

bool EnsureControlClass(WNDPROC procedure) {
  WNDCLASSW existing;
  if (GetClassInfoW(g_module, kControlClass, &existing)) return true;
  WNDCLASSW control = {};
  control.style = CS_DBLCLKS;
  control.lpfnWndProc = procedure;
  control.hInstance = g_module;
  control.hCursor = LoadCursorW(nullptr, IDC_ARROW);
  control.lpszClassName = kControlClass;
  return RegisterClassW(&control) != 0;
}

void UnregisterClasses(HINSTANCE module) {
  UnregisterClassW(SKINLIB_HOST_CLASS, module);
  UnregisterClassW(kControlClass, module);
}

}  // namespace skinlib
