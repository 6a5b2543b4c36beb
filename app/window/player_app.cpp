#include "app/window/player_app.h"

#include <windows.h>
#include <commctrl.h>
#include <shellapi.h>

#include <string>

#include "app/shell/command_line.h"
#include "app/window/gdiplus_session.h"
#include "app/window/hand_over.h"
#include "app/window/main_wnd.h"
#include "app/window/win32_main_wnd.h"
#include "platform/text/utf16.h"

namespace qv {

namespace {

CPlayerApp* g_application = nullptr;

// How long a second start waits for the running player's window, which may
// still be on its way up.
constexpr DWORD kHandOverWaitMs = 10000;

// The update agent lives beside the player. It is not always installed; a
// missing agent is skipped without a word.
void StartAgent() {
  wchar_t module[MAX_PATH] = {};
  DWORD length = GetModuleFileNameW(nullptr, module, MAX_PATH);
  if (length == 0 || length >= MAX_PATH) return;
  std::wstring folder(module, length);
  folder.erase(folder.find_last_of(L"\\/") + 1);
  std::wstring agent = folder + L"QVAgent.exe";
  if (GetFileAttributesW(agent.c_str()) == INVALID_FILE_ATTRIBUTES) return;
  SHELLEXECUTEINFOW info = {};
  info.cbSize = sizeof(info);
  info.fMask = SEE_MASK_FLAG_NO_UI;
  info.lpVerb = L"open";
  info.lpFile = agent.c_str();
  info.lpParameters = L"QuoviraPlayer";
  info.lpDirectory = folder.c_str();
  info.nShow = SW_HIDE;
  ShellExecuteExW(&info);
}

}  // namespace

void SetApplication(CPlayerApp* app) { g_application = app; }

HINSTANCE GetAppInstance() { return g_application ? g_application->Instance() : nullptr; }

CPlayerApp::~CPlayerApp() { DeleteMainWindow(); }

void CPlayerApp::DeleteMainWindow() {
  delete mainWindow_;
  mainWindow_ = nullptr;
}

CMainWnd* CPlayerApp::CreateMainWindow() { return new CMainWnd; }

int CPlayerApp::Run(HINSTANCE instance, const wchar_t* commandLine) {
  instance_ = instance;
  commandLine_ = commandLine ? commandLine : L"";

  // The marker that a player runs; kept open until the process ends.
  CreateMutexW(nullptr, FALSE, kMainWindowClass);
  if (GetLastError() == ERROR_ALREADY_EXISTS) return HandOverToRunningPlayer(commandLine_, kHandOverWaitMs);

  if (!IsAgentRestart(AsU16(commandLine_))) StartAgent();
  InitCommonControls();

  mainWindow_ = CreateMainWindow();
  if (!mainWindow_) return -1;
  if (!mainWindow_->Create(commandLine_, nullptr, WS_POPUP | WS_MINIMIZEBOX)) return -1;

  MSG message = {};
  BOOL got;
  while ((got = GetMessageW(&message, nullptr, 0, 0)) != 0) {
    if (got == -1) return -1;
    if (mainWindow_->IsOwnMessage(message) &&
        TranslateAcceleratorW(message.hwnd, mainWindow_->Accelerators(), &message))
      continue;
    if (mainWindow_->PlaylistDialogTakes(&message)) continue;
    TranslateMessage(&message);
    DispatchMessageW(&message);
  }
  return static_cast<int>(message.wParam);
}

CWin32PlayerApp::CWin32PlayerApp() { StartGdiplus(); }

CWin32PlayerApp::~CWin32PlayerApp() {
  // The window object still holds GDI+ pictures when its creation failed;
  // they must go before GDI+ does.
  DeleteMainWindow();
  StopGdiplus();
}

CMainWnd* CWin32PlayerApp::CreateMainWindow() { return new CWin32MainWnd; }

}  // namespace qv
