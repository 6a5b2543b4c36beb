// Sending the host's messages to a window.
#include <windows.h>

#include <cstdio>

#include "probe_modes.h"

namespace fxprobe {

int RunSend(const SendArgs& args) {
  HWND target = args.hwnd ? reinterpret_cast<HWND>(args.hwnd) : FindWindowW(args.className.c_str(), nullptr);
  if (!target || !IsWindow(target)) {
    fwprintf(stderr, L"fxprobe: no window %ls\n", args.className.c_str());
    return 3;
  }
  LRESULT result = 0;
  switch (args.kind) {
    case SendKind::CopyData: {
      // The copy carries the sender's window as wParam, as the panels do.
      HWND self = CreateWindowExW(0, L"STATIC", L"fxprobe", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                  GetModuleHandleW(nullptr), nullptr);
      COPYDATASTRUCT copy;
      copy.dwData = args.code;
      copy.cbData = static_cast<DWORD>(args.data.size());
      copy.lpData = args.data.empty() ? nullptr : const_cast<uint8_t*>(args.data.data());
      result = SendMessageW(target, WM_COPYDATA, reinterpret_cast<WPARAM>(self), reinterpret_cast<LPARAM>(&copy));
      if (self) DestroyWindow(self);
      break;
    }
    case SendKind::Message:
      result = SendMessageW(target, args.code, static_cast<WPARAM>(args.wParam), args.lParam);
      break;
    case SendKind::Command:
      result = SendMessageW(target, WM_COMMAND, args.code, args.lParam);
      break;
  }
  printf("result=%ld\n", static_cast<long>(result));
  fflush(stdout);
  return 0;
}

}  // namespace fxprobe
