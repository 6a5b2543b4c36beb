// skinlib.dll: skinned push buttons and two-state buttons, an INI reader and
// the "QUOVIRA" effect control. The player and the library are built from
// this one header by the same compiler; the classes are exported whole and
// the player deletes the objects it made through their virtual destructors.
#pragma once

#include <windows.h>

#ifdef SKINLIB_BUILDING
#define SKINLIB_API __declspec(dllexport)
#else
#define SKINLIB_API __declspec(dllimport)
#endif

// The one C export uses the C calling convention on both sides.
#define SKINLIB_CALL __cdecl

// Sent to a control's parent when the control is clicked; lParam points to
// the control's name (valid during the call).
#define SKINLIB_WM_CLICKED (WM_USER + 3)
// Sent to the "QUOVIRA" control (wParam 0, lParam 0): create the effect host.
// Answers the host window's handle.
#define SKINLIB_WM_CREATE_HOST (WM_USER + 200)
// Class of the effect control and of the effect host it creates.
#define SKINLIB_HOST_CLASS L"QUOVIRA"
// Characters IniFile::ReadString may write, terminator included.
#define SKINLIB_INI_VALUE_CHARS 1024

struct SkinControlState;
struct IniFileData;

class SKINLIB_API SkinWindow {
 public:
  SkinWindow();
  virtual ~SkinWindow();
  // Shows or hides the control (SW_SHOW, SW_HIDE, ...).
  BOOL ShowWindow(int showCommand);

 protected:
  // Messages of the object's window; the base hands them to DefWindowProcW.
  virtual LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam);
  static LRESULT CALLBACK WindowProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam);
  HWND hwnd_;

 private:
  SkinWindow(const SkinWindow&);
  SkinWindow& operator=(const SkinWindow&);
};

class SKINLIB_API SkinObject : public SkinWindow {
 public:
  SkinObject();
  ~SkinObject() override;

 protected:
  HWND CreateControl(const wchar_t* name, DWORD style, int x, int y, HWND parent, const wchar_t* const* pictures,
                     int pictureCount, int twoState);
  LRESULT HandleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
  void Paint(HDC dc);
  SkinControlState* state_;
};

class SKINLIB_API SkinButton : public SkinObject {
 public:
  SkinButton();
  ~SkinButton() override;
  // A child push button at (x, y) of parent's client area whose window text
  // is name. Pictures, beside the last loaded "skin.ini" unless absolute:
  // normal, focused (unused: controls never take the focus), over, pushed,
  // disabled. Returns the window, or null.
  HWND CreateEx(const wchar_t* name, DWORD style, int x, int y, HWND parent, HINSTANCE instance,
                const wchar_t* normal, const wchar_t* focused, const wchar_t* over, const wchar_t* pushed,
                const wchar_t* disabled);
};

class SKINLIB_API SkinRadio : public SkinObject {
 public:
  SkinRadio();
  ~SkinRadio() override;
  // A two-state button; pictures: off, off and over, off and pushed, on, on
  // and over, on and pushed. A click flips the state, then notifies.
  HWND CreateEx(const wchar_t* name, DWORD style, int x, int y, HWND parent, HINSTANCE instance,
                const wchar_t* off, const wchar_t* offOver, const wchar_t* offPushed, const wchar_t* on,
                const wchar_t* onOver, const wchar_t* onPushed);
  // Sets the shown state (0 or 1) without notifying anybody.
  void ButtonSet(int checked);
  // Repaints the button now.
  void Update();
  // 1 disables the button (it then ignores clicks), 0 enables it.
  void Disable(int disable);
};

class SKINLIB_API IniFile {
 public:
  IniFile();
  virtual ~IniFile();
  // Reads the file; later reads see it. Pictures named by the controls are
  // looked up in its folder. FALSE when it cannot be read (reads then give
  // the defaults).
  BOOL Load(const wchar_t* path);
  // Copies the value of key in section (names compared without regard to
  // case), or defaultValue when missing, into out: at most
  // SKINLIB_INI_VALUE_CHARS - 1 characters and a terminator. Returns the
  // number of characters copied.
  int ReadString(wchar_t* out, const wchar_t* section, const wchar_t* key, const wchar_t* defaultValue);

 private:
  IniFile(const IniFile&);
  IniFile& operator=(const IniFile&);
  IniFileData* data_;
};

extern "C" {
// The effect panel dialog that owns the effect host created next. Returns 1.
SKINLIB_API int SKINLIB_CALL SKINLIB_SetParentHwnd(HWND parent);
typedef int(SKINLIB_CALL* SKINLIB_SetParentHwndProc)(HWND parent);
}
