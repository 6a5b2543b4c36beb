// The fatal "skin.ini" failure: the message box, then a non-zero exit code.
#include <gtest/gtest.h>

#include <string>

#include "app/skin/skin_ini_failure.h"
#include "win32_test_support.h"

namespace {

BOOL CALLBACK CollectText(HWND child, LPARAM out) {
  wchar_t text[512] = {};
  GetWindowTextW(child, text, 512);
  *reinterpret_cast<std::wstring*>(out) += text;
  *reinterpret_cast<std::wstring*>(out) += L"\n";
  return TRUE;
}

TEST(MissingSkinIni, ShowsTheMessageAndEndsWithAFailureCode) {
  std::wstring command = L"\"" + qvtest::ProgramFolder() + L"missing_skin_ini.exe\"";
  STARTUPINFOW si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  ASSERT_TRUE(CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi));
  CloseHandle(pi.hThread);

  HWND box = nullptr;
  ASSERT_TRUE(qvtest::PumpUntil([&] { return (box = FindWindowW(nullptr, L"QuoviraPlayer Error")) != nullptr; }, 60000));
  std::wstring texts;
  EnumChildWindows(box, CollectText, reinterpret_cast<LPARAM>(&texts));
  std::u16string expected = qv::MissingSkinIniMessage();
  EXPECT_NE(texts.find(reinterpret_cast<const wchar_t*>(expected.c_str())), std::wstring::npos)
      << std::string(texts.begin(), texts.end());
  PostMessageW(box, WM_COMMAND, IDOK, 0);

  ASSERT_EQ(WaitForSingleObject(pi.hProcess, 60000), WAIT_OBJECT_0);
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  EXPECT_EQ(code, static_cast<DWORD>(qv::kMissingSkinIniExitCode));
  EXPECT_NE(code, 0u);
}

}  // namespace
