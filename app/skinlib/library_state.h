// State the whole library shares: its module, its window classes and the
// folder pictures are looked up in.
#pragma once

#include <windows.h>

#include <string>

namespace skinlib {

extern const wchar_t kControlClass[];

HINSTANCE Module();
void SetModule(HINSTANCE module);

// The folder of the last "skin.ini" loaded, with its trailing separator.
const std::wstring& PictureFolder();
void SetPictureFolderFrom(const wchar_t* iniPath);

// Full path of a picture named by a control: absolute names as they are,
// others in the picture folder. Empty when there is no name or the path does
// not fit MAX_PATH.
std::wstring PicturePath(const wchar_t* name);

// The effect control's class is registered when the library loads; the
// controls' class on first use, with the objects' window procedure.
bool RegisterEffectClass(HINSTANCE module);
bool EnsureControlClass(WNDPROC procedure);
void UnregisterClasses(HINSTANCE module);

// The effect control's window procedure and the owner set for the host.
LRESULT CALLBACK EffectControlProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace skinlib
