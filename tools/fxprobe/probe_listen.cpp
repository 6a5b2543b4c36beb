// Listening windows: one top-level window per class, logging what arrives.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>

#include "probe_args.h"
#include "probe_modes.h"

namespace fxprobe {

namespace {
constexpr UINT_PTR kTimeoutTimer = 1;

struct ListenState {
  FILE* log = nullptr;
  const ListenArgs* args = nullptr;
};
ListenState g_listen;

std::string Narrow(const std::wstring& text) {
  int n = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, nullptr, 0, nullptr, nullptr);
  std::string out(n > 0 ? static_cast<size_t>(n - 1) : 0, '\0');
  if (n > 1) WideCharToMultiByte(CP_UTF8, 0, text.c_str(), -1, &out[0], n, nullptr, nullptr);
  return out;
}

std::string ClassOf(HWND hwnd) {
  wchar_t name[256] = {};
  GetClassNameW(hwnd, name, 256);
  return Narrow(name);
}

void LogLine(const std::string& line) {
  if (!g_listen.log) return;
  fputs(line.c_str(), g_listen.log);
  fputc('\n', g_listen.log);
  fflush(g_listen.log);
}

bool IsLoggedMessage(UINT message) {
  const auto& m = g_listen.args->messages;
  return std::find(m.begin(), m.end(), message) != m.end();
}

LRESULT CALLBACK ListenProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  char text[160];
  switch (message) {
    case WM_COMMAND:
      snprintf(text, sizeof(text), " WM_COMMAND id=%u notify=%u lparam=%ld", LOWORD(wParam), HIWORD(wParam),
               static_cast<long>(lParam));
      LogLine(ClassOf(hwnd) + text);
      return 0;
    case WM_COPYDATA: {
      auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      if (!copy) return 0;
      snprintf(text, sizeof(text), " WM_COPYDATA code=%lu size=%lu from=%#lx data=",
               static_cast<unsigned long>(copy->dwData), static_cast<unsigned long>(copy->cbData),
               static_cast<unsigned long>(wParam));
      const auto* bytes = static_cast<const uint8_t*>(copy->lpData);
      LogLine(ClassOf(hwnd) + text + (bytes ? HexBytes(bytes, copy->cbData) : std::string()));
      return 1;
    }
    case WM_TIMER:
      if (wParam == kTimeoutTimer) {
        LogLine("timeout");
        PostQuitMessage(1);
      }
      return 0;
    case WM_CLOSE:
      PostQuitMessage(0);
      return 0;
  }
  if (IsLoggedMessage(message)) {
    snprintf(text, sizeof(text), " MSG %u wparam=%ld lparam=%ld", message, static_cast<long>(wParam),
             static_cast<long>(lParam));
    LogLine(ClassOf(hwnd) + text);
    return 0;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

bool WriteReadyFile(const std::wstring& path) {
  HANDLE file = CreateFileW(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  DWORD written = 0;
  WriteFile(file, "ready\n", 6, &written, nullptr);
  CloseHandle(file);
  return true;
}
}  // namespace

int RunListen(const ListenArgs& args) {
  g_listen.args = &args;
  g_listen.log = _wfopen(args.logPath.c_str(), L"wb");
  if (!g_listen.log) {
    fwprintf(stderr, L"fxprobe: cannot write %ls\n", args.logPath.c_str());
    return 2;
  }
  HINSTANCE instance = GetModuleHandleW(nullptr);
  std::vector<HWND> windows;
  for (const std::wstring& name : args.classes) {
    WNDCLASSW wc = {};
    wc.lpfnWndProc = ListenProc;
    wc.hInstance = instance;
    wc.lpszClassName = name.c_str();
    if (!RegisterClassW(&wc)) {
      fwprintf(stderr, L"fxprobe: cannot register %ls\n", name.c_str());
      return 2;
    }
    HWND hwnd = CreateWindowExW(WS_EX_TOOLWINDOW, name.c_str(), name.c_str(), WS_POPUP, 0, 0, 1, 1, nullptr,
                                nullptr, instance, nullptr);
    if (!hwnd) {
      fwprintf(stderr, L"fxprobe: cannot create %ls\n", name.c_str());
      return 2;
    }
    windows.push_back(hwnd);
  }
  SetTimer(windows.front(), kTimeoutTimer, args.seconds * 1000u, nullptr);
  if (!args.readyPath.empty() && !WriteReadyFile(args.readyPath)) return 2;

  MSG msg;
  int code = 0;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  if (msg.message == WM_QUIT) code = static_cast<int>(msg.wParam);
  for (HWND hwnd : windows) DestroyWindow(hwnd);
  fclose(g_listen.log);
  g_listen.log = nullptr;
  return code;
}

}  // namespace fxprobe
