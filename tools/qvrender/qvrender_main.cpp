// qvrender: runs the engine on one file the way the main window calls it
// and prints one JSON object describing what happened.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/text/utf16.h"
#include "tools/qvrender/render_args.h"
#include "tools/qvrender/render_run.h"

namespace {

int Run(const std::vector<std::u16string>& args) {
  qvrender::RenderArgs parsed;
  std::string error;
  if (!qvrender::ParseArgs(args, &parsed, &error)) {
    std::fprintf(stderr, "qvrender: %s\n%s", error.c_str(), qvrender::kUsage);
    return qvrender::kExitUsage;
  }
  return qvrender::Render(parsed);
}

}  // namespace

#ifdef _WIN32
int wmain(int argc, wchar_t** argv) {
  std::vector<std::u16string> args;
  for (int i = 1; i < argc; ++i) args.emplace_back(qv::AsU16(argv[i]));
  return Run(args);
}
#else
int main(int argc, char** argv) {
  std::vector<std::u16string> args;
  for (int i = 1; i < argc; ++i) args.push_back(qv::FromUtf8(argv[i]));
  return Run(args);
}
#endif
