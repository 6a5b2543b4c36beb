// Handing command lines to the main window: a first start posts its own as
// dropped files, a second start sends its names to the running window.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace qv {

constexpr wchar_t kMainWindowClass[] = L"QVPLAYERMAIN";

// The names of a command line, each made a full path against this process's
// current folder (stream addresses stay as they are).
std::vector<std::u16string> CommandLineNames(const wchar_t* commandLine);

// Posts the names of the command line to the window as a WM_DROPFILES block
// (within this process). Nothing is posted when there are no names.
void ForwardCommandLine(HWND target, const wchar_t* commandLine);

// Sends the names to the window of another process by WM_COPYDATA; the
// window treats them as dropped files. False when nothing was sent or the
// window did not answer within the timeout.
bool SendCommandLine(HWND target, const wchar_t* commandLine, UINT timeoutMs);

// A second start: bring the running player up and give it the command line.
// Waits up to waitMs for the running player's window (it may still be
// starting). Always returns 0, the process's exit code.
int HandOverToRunningPlayer(const wchar_t* commandLine, DWORD waitMs);

}  // namespace qv
