// What qvload found: the JSON report, the exit status, and the one line that
// says why when the file could not be read or broke a limit.
#pragma once

#include <string>

#include "tools/qvrender/json_out.h"

namespace qvload {

constexpr int kExitRead = 0;
constexpr int kExitUsage = 1;
constexpr int kExitNotRead = 2;
// What was read breaks a limit the player relies on (a fault in the player).
constexpr int kExitBrokenLimit = 4;

struct LoadResult {
  qvrender::JsonObject report;
  int exitCode = kExitRead;
  std::string reason;  // for kExitNotRead and kExitBrokenLimit
};

}  // namespace qvload
