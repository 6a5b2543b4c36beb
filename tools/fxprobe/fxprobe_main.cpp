// fxprobe: stands in for the effect host and the effect panels in tests of
// the player, and sends their messages.
#include <windows.h>

#include <cstdio>
#include <string>
#include <vector>

#include "probe_args.h"
#include "probe_modes.h"

int wmain(int argc, wchar_t** argv) {
  std::vector<std::wstring> args(argv, argv + argc);
  fxprobe::Args parsed;
  std::wstring error;
  if (!fxprobe::ParseArgs(args, parsed, error)) {
    fwprintf(stderr, L"fxprobe: %ls\n%ls", error.c_str(), fxprobe::kUsage);
    return 2;
  }
  return parsed.listen ? fxprobe::RunListen(parsed.listenArgs) : fxprobe::RunSend(parsed.sendArgs);
}
