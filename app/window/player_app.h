// The player's application object: single instance, the hand-over of a
// second start's command line, the agent, the main window and the message
// loop. CWin32PlayerApp adds GDI+ and makes the Win32 main window.
#pragma once

#include <windows.h>

namespace qv {

class CMainWnd;

class CPlayerApp {
 public:
  CPlayerApp() = default;
  virtual ~CPlayerApp();
  CPlayerApp(const CPlayerApp&) = delete;
  CPlayerApp& operator=(const CPlayerApp&) = delete;

  // 0 after handing over to a running player or when the message loop ended
  // normally; -1 when the main window could not be made or created.
  virtual int Run(HINSTANCE instance, const wchar_t* commandLine);
  HINSTANCE Instance() const { return instance_; }

 protected:
  virtual CMainWnd* CreateMainWindow();
  void DeleteMainWindow();

 private:
  HINSTANCE instance_ = nullptr;
  const wchar_t* commandLine_ = nullptr;  // not copied
  CMainWnd* mainWindow_ = nullptr;
};

class CWin32PlayerApp : public CPlayerApp {
 public:
  CWin32PlayerApp();  // starts GDI+
  ~CWin32PlayerApp() override;

 protected:
  CMainWnd* CreateMainWindow() override;
};

// The application object of the process (null when there is none).
void SetApplication(CPlayerApp* app);
// The program instance every part of the user interface loads its resources
// from; null when there is no application object.
HINSTANCE GetAppInstance();

}  // namespace qv
