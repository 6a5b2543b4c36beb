// Command line of fxprobe.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace fxprobe {

struct ListenArgs {
  std::wstring logPath;
  std::wstring readyPath;  // written once every window exists
  unsigned seconds = 60;   // the probe ends by itself after this long
  std::vector<std::wstring> classes;
  std::vector<uint32_t> messages;  // plain messages logged besides WM_COMMAND and WM_COPYDATA
};

enum class SendKind { CopyData, Message, Command };

struct SendArgs {
  std::wstring className;  // target by class (top-level window), or
  uintptr_t hwnd = 0;      // by handle
  SendKind kind = SendKind::Message;
  uint32_t code = 0;  // copy-data code, message or command number
  intptr_t wParam = 0;
  intptr_t lParam = 0;
  std::vector<uint8_t> data;
};

struct Args {
  bool listen = false;
  ListenArgs listenArgs;
  SendArgs sendArgs;
};

// False with a message in error for a command line that does not parse.
bool ParseArgs(const std::vector<std::wstring>& argv, Args& args, std::wstring& error);

// Lower-case hexadecimal, two digits per byte.
std::string HexBytes(const uint8_t* data, size_t size);
bool ParseHexBytes(const std::wstring& text, std::vector<uint8_t>& out);

extern const wchar_t kUsage[];

}  // namespace fxprobe
