#include "player_link.h"

namespace qvdriver {

namespace {

constexpr UINT kReportState = 0x8000 + 100;
constexpr ULONG_PTR kStateReport = 0x51505352;

std::wstring* g_report = nullptr;

LRESULT CALLBACK ReceiverProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_COPYDATA && g_report) {
    auto* data = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
    if (data && data->dwData == kStateReport && data->lpData) {
      g_report->assign(static_cast<const wchar_t*>(data->lpData), data->cbData / sizeof(wchar_t));
      return TRUE;
    }
    return FALSE;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

BOOL CALLBACK AppendText(HWND child, LPARAM out) {
  wchar_t text[1024] = {};
  GetWindowTextW(child, text, 1024);
  if (text[0]) {
    *reinterpret_cast<std::wstring*>(out) += text;
    *reinterpret_cast<std::wstring*>(out) += L"\n";
  }
  return TRUE;
}

}  // namespace

HWND FindPlayer(DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (HWND w = FindWindowW(L"QVPLAYERMAIN", nullptr)) return w;
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    Sleep(50);
  }
}

HWND FindTitled(const std::wstring& title, DWORD timeoutMs) {
  DWORD start = GetTickCount();
  for (;;) {
    if (HWND w = FindWindowW(nullptr, title.c_str())) return w;
    if (GetTickCount() - start >= timeoutMs) return nullptr;
    Sleep(50);
  }
}

std::wstring QueryState(HWND player, DWORD timeoutMs) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = ReceiverProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QvDriverReceiver";
  RegisterClassW(&wc);
  HWND receiver = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance,
                                  nullptr);
  if (!receiver) return {};
  std::wstring report;
  g_report = &report;
  // The answer arrives as a sent WM_COPYDATA while this call waits.
  DWORD_PTR ignored = 0;
  SendMessageTimeoutW(player, kReportState, 0, reinterpret_cast<LPARAM>(receiver), SMTO_ABORTIFHUNG, timeoutMs,
                      &ignored);
  g_report = nullptr;
  DestroyWindow(receiver);
  return report;
}

std::wstring ChildTexts(HWND window) {
  std::wstring texts;
  EnumChildWindows(window, AppendText, reinterpret_cast<LPARAM>(&texts));
  return texts;
}

}  // namespace qvdriver
