// qvdriver: drives the running player from outside, for tests and demos.
//
// usage: qvdriver [--timeout MS] COMMAND [ARGS] [; COMMAND [ARGS]]...
//   find                   wait for the player's window; prints hwnd=...
//   wait-gone              wait until the player's window is gone
//   state                  the player's state report, "key=value" per line
//   command ID             post WM_COMMAND ID to the window
//   send MSG WPARAM LPARAM send a message; prints result=...
//   post MSG WPARAM LPARAM post a message
//   click X Y              left press and release at client (X, Y)
//   drag X1 X2 Y [STEPS]   press at X1, move to X2 with the button held, release
//   key VK                 key down and up (posted, as typed keys arrive)
//   move X Y               move the window's top-left corner to screen (X, Y)
//   grab FILE              the window's pixels to FILE (.png or .bmp)
//   dialog TITLE [press]   wait for a window titled TITLE, print its texts,
//                          with "press" press its OK button
//   sleep MS
// Numbers may be decimal or 0x-hex. Exit code 0 when every command
// succeeded, 1 when one failed (no player, no answer), 2 on a usage error.
#include <windows.h>

#include <cstdio>
#include <cwchar>
#include <string>
#include <vector>

#include "player_link.h"
#include "window_grab.h"

namespace {

using Args = std::vector<std::wstring>;

DWORD g_timeoutMs = 10000;

bool Number(const std::wstring& text, long long& out) {
  wchar_t* end = nullptr;
  out = std::wcstoll(text.c_str(), &end, 0);
  return !text.empty() && end && *end == 0;
}

void Print(const std::wstring& text) {
  // Plain output for the scripts that read it: UTF-8.
  int bytes = WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), nullptr, 0, nullptr,
                                  nullptr);
  std::string out(bytes, '\0');
  WideCharToMultiByte(CP_UTF8, 0, text.c_str(), static_cast<int>(text.size()), &out[0], bytes, nullptr, nullptr);
  std::fwrite(out.data(), 1, out.size(), stdout);
  std::fflush(stdout);
}

int Fail(const wchar_t* what) {
  std::fwprintf(stderr, L"qvdriver: %ls\n", what);
  return 1;
}

HWND Player() { return qvdriver::FindPlayer(g_timeoutMs); }

LPARAM Point(long long x, long long y) {
  return MAKELPARAM(static_cast<WORD>(static_cast<short>(x)), static_cast<WORD>(static_cast<short>(y)));
}

int Run(const Args& a) {
  const std::wstring& name = a[0];
  auto need = [&](size_t n) { return a.size() >= n + 1; };
  long long n1 = 0, n2 = 0, n3 = 0, n4 = 0;
  if (name == L"sleep") {
    if (!need(1) || !Number(a[1], n1)) return 2;
    Sleep(static_cast<DWORD>(n1));
    return 0;
  }
  if (name == L"dialog") {
    if (!need(1)) return 2;
    HWND box = qvdriver::FindTitled(a[1], g_timeoutMs);
    if (!box) return Fail(L"no such window");
    Print(qvdriver::ChildTexts(box));
    if (need(2) && a[2] == L"press") PostMessageW(box, WM_COMMAND, IDOK, 0);
    return 0;
  }
  if (name == L"wait-gone") {
    DWORD start = GetTickCount();
    while (FindWindowW(L"QVPLAYERMAIN", nullptr)) {
      if (GetTickCount() - start >= g_timeoutMs) return Fail(L"the player's window is still there");
      Sleep(50);
    }
    return 0;
  }
  HWND player = Player();
  if (!player) return Fail(L"no player window");
  if (name == L"find") {
    wchar_t text[64];
    std::swprintf(text, 64, L"hwnd=0x%lx\n", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(player)));
    Print(text);
    return 0;
  }
  if (name == L"state") {
    std::wstring report = qvdriver::QueryState(player, g_timeoutMs);
    if (report.empty()) return Fail(L"no state report");
    Print(report);
    return 0;
  }
  if (name == L"command") {
    if (!need(1) || !Number(a[1], n1)) return 2;
    return PostMessageW(player, WM_COMMAND, static_cast<WPARAM>(n1), 0) ? 0 : Fail(L"post failed");
  }
  if (name == L"send" || name == L"post") {
    if (!need(3) || !Number(a[1], n1) || !Number(a[2], n2) || !Number(a[3], n3)) return 2;
    if (name == L"post")
      return PostMessageW(player, static_cast<UINT>(n1), static_cast<WPARAM>(n2), static_cast<LPARAM>(n3))
                 ? 0
                 : Fail(L"post failed");
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutW(player, static_cast<UINT>(n1), static_cast<WPARAM>(n2), static_cast<LPARAM>(n3),
                             SMTO_ABORTIFHUNG, g_timeoutMs, &result))
      return Fail(L"no answer");
    wchar_t text[64];
    std::swprintf(text, 64, L"result=%ld\n", static_cast<long>(result));
    Print(text);
    return 0;
  }
  if (name == L"click") {
    if (!need(2) || !Number(a[1], n1) || !Number(a[2], n2)) return 2;
    PostMessageW(player, WM_LBUTTONDOWN, MK_LBUTTON, Point(n1, n2));
    PostMessageW(player, WM_LBUTTONUP, 0, Point(n1, n2));
    return 0;
  }
  if (name == L"drag") {
    if (!need(3) || !Number(a[1], n1) || !Number(a[2], n2) || !Number(a[3], n3)) return 2;
    if (!need(4) || !Number(a[4], n4)) n4 = 10;
    if (n4 < 1) n4 = 1;
    PostMessageW(player, WM_LBUTTONDOWN, MK_LBUTTON, Point(n1, n3));
    for (long long i = 1; i <= n4; ++i) {
      Sleep(30);
      PostMessageW(player, WM_MOUSEMOVE, MK_LBUTTON, Point(n1 + (n2 - n1) * i / n4, n3));
    }
    PostMessageW(player, WM_LBUTTONUP, 0, Point(n2, n3));
    return 0;
  }
  if (name == L"key") {
    if (!need(1) || !Number(a[1], n1)) return 2;
    PostMessageW(player, WM_KEYDOWN, static_cast<WPARAM>(n1), 1);
    PostMessageW(player, WM_KEYUP, static_cast<WPARAM>(n1), 0xC0000001);
    return 0;
  }
  if (name == L"move") {
    if (!need(2) || !Number(a[1], n1) || !Number(a[2], n2)) return 2;
    return SetWindowPos(player, nullptr, static_cast<int>(n1), static_cast<int>(n2), 0, 0,
                        SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE)
               ? 0
               : Fail(L"move failed");
  }
  if (name == L"grab") {
    if (!need(1)) return 2;
    qvdriver::Picture picture = qvdriver::GrabWindow(player);
    if (picture.width == 0) return Fail(L"nothing to grab");
    return qvdriver::WritePicture(a[1], picture) ? 0 : Fail(L"cannot write the picture");
  }
  return 2;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  int i = 1;
  if (i + 1 < argc && std::wstring(argv[i]) == L"--timeout") {
    g_timeoutMs = static_cast<DWORD>(std::wcstoul(argv[i + 1], nullptr, 0));
    i += 2;
  }
  std::vector<Args> commands(1);
  for (; i < argc; ++i) {
    std::wstring arg = argv[i];
    if (arg == L";") {
      commands.emplace_back();
    } else {
      commands.back().push_back(arg);
    }
  }
  for (const Args& c : commands) {
    if (c.empty()) {
      std::fwprintf(stderr, L"usage: qvdriver [--timeout MS] COMMAND [ARGS] [; COMMAND [ARGS]]...\n");
      return 2;
    }
    int rc = Run(c);
    if (rc == 2) std::fwprintf(stderr, L"qvdriver: bad arguments for %ls\n", c[0].c_str());
    if (rc != 0) return rc;
  }
  return 0;
}
