// qvload: reads a playlist, a skin file or a control layer ("skin.ini")
// through the player's own code, as the main window would, and prints one
// JSON object describing what it found.
// Exit status: 0 read; 1 usage; 2 the file could not be read (with one line
// on stderr saying why); 4 what was read breaks a limit the player relies on.
#include <cstdio>
#include <string>
#include <vector>

#include "platform/text/utf16.h"
#include "tools/qvload/load_playlist.h"
#include "tools/qvload/load_skin.h"

namespace {

const char kUsage[] =
    "usage: qvload playlist|skin|controls FILE\n"
    "  playlist  an M3U or PLS file, loaded into the playlist (every entry opened for its length)\n"
    "  skin      a skin file (the picture layer, with the pictures it names)\n"
    "  controls  a control layer (\"skin.ini\": the push and radio buttons)\n";

int Run(const std::vector<std::u16string>& args) {
  if (args.size() != 2) {
    std::fprintf(stderr, "qvload: two arguments expected\n%s", kUsage);
    return qvload::kExitUsage;
  }
  const std::string kind = qv::ToUtf8(args[0]);
  qvload::LoadResult result;
  if (kind == "playlist") {
    result = qvload::LoadPlaylist(args[1]);
  } else if (kind == "skin") {
    result = qvload::LoadSkin(args[1]);
  } else if (kind == "controls") {
    result = qvload::LoadControls(args[1]);
  } else {
    std::fprintf(stderr, "qvload: unknown kind %s\n%s", kind.c_str(), kUsage);
    return qvload::kExitUsage;
  }
  std::printf("%s\n", result.report.Str().c_str());
  if (result.exitCode != qvload::kExitRead)
    std::fprintf(stderr, "qvload: %s: %s\n", qv::ToUtf8(args[1]).c_str(), result.reason.c_str());
  return result.exitCode;
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
