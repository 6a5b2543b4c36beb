// Reaching the running player's main window from another process.
#pragma once

#include <windows.h>

#include <string>

namespace qvdriver {

// The player's main window, waiting up to timeoutMs for it; null if none.
HWND FindPlayer(DWORD timeoutMs);

// Asks the window for its state report ("key=value" lines); empty when it
// does not answer within timeoutMs.
std::wstring QueryState(HWND player, DWORD timeoutMs);

// Finds a top-level window by its title (any class), waiting up to timeoutMs.
HWND FindTitled(const std::wstring& title, DWORD timeoutMs);

// The texts of a window's children, one per line (a message box's text).
std::wstring ChildTexts(HWND window);

}  // namespace qvdriver
