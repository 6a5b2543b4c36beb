#include "app/window/hand_over.h"

#include <cstring>

#include "app/shell/command_line.h"
#include "app/shell/name_list.h"
#include "app/shell/window_ids.h"
#include "platform/text/utf16.h"
#include "playlist/extensions.h"

namespace qv {

std::vector<std::u16string> CommandLineNames(const wchar_t* commandLine) {
  std::vector<std::u16string> names = SplitCommandLine(commandLine ? AsU16(commandLine) : u"");
  for (std::u16string& name : names) {
    if (IsStreamUrl(name)) continue;
    wchar_t full[MAX_PATH] = {};
    DWORD length = GetFullPathNameW(AsWide(name.c_str()), MAX_PATH, full, nullptr);
    if (length > 0 && length < MAX_PATH) name = AsU16(full);
  }
  return names;
}

void ForwardCommandLine(HWND target, const wchar_t* commandLine) {
  std::vector<std::u16string> names = CommandLineNames(commandLine);
  if (names.empty()) return;
  std::vector<uint8_t> block = BuildDropFilesBlock(names);
  HGLOBAL memory = GlobalAlloc(GHND, block.size());
  if (!memory) return;
  void* bytes = GlobalLock(memory);
  std::memcpy(bytes, block.data(), block.size());
  GlobalUnlock(memory);
  // The receiver releases the block with DragFinish.
  if (!PostMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(memory), 0)) GlobalFree(memory);
}

bool SendCommandLine(HWND target, const wchar_t* commandLine, UINT timeoutMs) {
  std::vector<std::u16string> names = CommandLineNames(commandLine);
  if (names.empty()) return false;
  std::vector<char16_t> packed = PackNameList(names);
  COPYDATASTRUCT data = {};
  data.dwData = copydata::kCommandLine;
  data.cbData = static_cast<DWORD>(packed.size() * sizeof(char16_t));
  data.lpData = packed.data();
  DWORD_PTR answer = 0;
  LRESULT sent = SendMessageTimeoutW(target, WM_COPYDATA, 0, reinterpret_cast<LPARAM>(&data), SMTO_ABORTIFHUNG,
                                     timeoutMs, &answer);
  return sent != 0 && answer != 0;
}

int HandOverToRunningPlayer(const wchar_t* commandLine, DWORD waitMs) {
  HWND running = FindWindowW(kMainWindowClass, nullptr);
  for (DWORD start = GetTickCount(); !running && GetTickCount() - start < waitMs;) {
    Sleep(100);
    running = FindWindowW(kMainWindowClass, nullptr);
  }
  if (!running) return 0;
  // Hidden in the tray or minimized: bring it back before the files arrive.
  if (!IsWindowVisible(running) || IsIconic(running)) {
    DWORD_PTR ignored = 0;
    SendMessageTimeoutW(running, WM_COMMAND, cmd::kRestore, 0, SMTO_ABORTIFHUNG, 10000, &ignored);
  }
  SetForegroundWindow(running);
  SendCommandLine(running, commandLine, 10000);
  return 0;
}

}  // namespace qv
