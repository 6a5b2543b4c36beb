#pragma once

#include "probe_args.h"

namespace fxprobe {

int RunListen(const ListenArgs& args);
int RunSend(const SendArgs& args);

}  // namespace fxprobe
