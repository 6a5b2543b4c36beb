// Helpers of the Win32 skin tests: a parent window that records the clicks it
// is told about, message pumping with a generous limit, and small bitmaps.
#pragma once

#include <windows.h>

#include <functional>
#include <string>
#include <vector>

namespace qvtest {

// Runs the thread's messages until done() holds or timeoutMs passed.
bool PumpUntil(const std::function<bool()>& done, DWORD timeoutMs = 10000);
// Runs the messages already queued.
void PumpPending();

// A top-level window that records every 1027 notification.
class RecordingParent {
 public:
  RecordingParent();
  ~RecordingParent();
  HWND hwnd() const { return hwnd_; }

  struct Click {
    std::wstring name;
    HWND sender;          // the control whose window text is the name
    LRESULT checkAtCall;  // BM_GETCHECK of that control during the call
  };
  std::vector<Click> clicks;
  // Called inside the notification, after it is recorded.
  std::function<void(const wchar_t* name)> onClick;

 private:
  static LRESULT CALLBACK Proc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_ = nullptr;
};

// Sends a left click at (x, y) of the control's client area as posted messages.
void PostClick(HWND control, int x = 2, int y = 2);

// A folder of its own under the temporary folder, with a trailing backslash.
std::wstring MakeTempFolder(const wchar_t* tag);
// A 24-bit bitmap file filled with one colour.
bool WriteSolidBitmap(const std::wstring& path, int width, int height, COLORREF colour);
bool WriteTextFile(const std::wstring& path, const std::string& text);

// The colour at (x, y) of what the window paints into its client area.
COLORREF PaintedPixel(HWND hwnd, int x, int y);

// The folder of the running program, with a trailing backslash.
std::wstring ProgramFolder();

}  // namespace qvtest
