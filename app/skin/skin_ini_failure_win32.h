// The check the main window makes before it builds its buttons.
#pragma once

#include <windows.h>

#include <string>

namespace qv {

// installFolder + "skin.ini", or empty when it does not fit a path buffer.
std::wstring ControlLayerPath(const std::wstring& installFolder);

// True when the control layer file can be opened for reading.
bool ControlLayerReadable(const std::wstring& path);

// Shows the "QuoviraPlayer Error" message box and ends the process with
// kMissingSkinIniExitCode.
[[noreturn]] void ExitForMissingSkinIni(HWND owner);

}  // namespace qv
