#include "app/skin/skin_ini_failure_win32.h"

#include "app/skin/skin_ini_failure.h"
#include "app/skin/skin_path.h"
#include "platform/text/utf16.h"

namespace qv {

std::wstring ControlLayerPath(const std::wstring& installFolder) {
  std::u16string path = JoinSkinPath(AsU16(installFolder.c_str()), kSkinIniName);
  return std::wstring(AsWide(path.c_str()));
}

bool ControlLayerReadable(const std::wstring& path) {
  if (path.empty()) return false;
  HANDLE file = CreateFileW(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                            OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (file == INVALID_HANDLE_VALUE) return false;
  CloseHandle(file);
  return true;
}

void ExitForMissingSkinIni(HWND owner) {
  std::u16string text = MissingSkinIniMessage();
  MessageBoxW(owner, AsWide(text.c_str()), AsWide(kSkinIniFailureTitle), MB_OK | MB_ICONERROR);
  ExitProcess(kMissingSkinIniExitCode);
}

}  // namespace qv
