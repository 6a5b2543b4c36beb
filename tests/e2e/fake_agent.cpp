// Stands in for the update agent in the end-to-end tests: notes how it was
// started (its command line and current folder) in "agent-starts.txt" beside
// itself, one line per start, and ends.
#include <windows.h>

#include <cstdio>
#include <string>

int wmain() {
  wchar_t module[MAX_PATH] = {};
  GetModuleFileNameW(nullptr, module, MAX_PATH);
  std::wstring log(module);
  log.erase(log.find_last_of(L'\\') + 1);
  log += L"agent-starts.txt";
  wchar_t folder[MAX_PATH] = {};
  GetCurrentDirectoryW(MAX_PATH, folder);
  FILE* f = _wfopen(log.c_str(), L"a, ccs=UTF-8");
  if (!f) return 1;
  std::fwprintf(f, L"%ls|%ls\n", GetCommandLineW(), folder);
  std::fclose(f);
  return 0;
}
