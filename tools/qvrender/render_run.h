// Runs the engine on one file as the main window would, prints the JSON
// report and returns the exit status.
#pragma once

#include "tools/qvrender/render_args.h"

namespace qvrender {

constexpr int kExitPlayed = 0;
constexpr int kExitUsage = 1;
constexpr int kExitNotOpened = 2;
constexpr int kExitPlaybackFailed = 3;

int Render(const RenderArgs& args);

}  // namespace qvrender
