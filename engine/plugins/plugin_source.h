// The Plugin source kind: files with the extensions ".flac", ".ape" and
// ".wma" are offered to the registered plug-ins that play files, and the
// one that accepts a file is driven through its table.
#pragma once

#include "engine/player_engine.h"
#include "engine/plugins/plugin_registry.h"
#include "engine/source_ops.h"

namespace qv {

struct PluginSourceState : SourceState {
  PluginEntry* entry = nullptr;  // owned by the engine's registry
  int index = -1;
};

extern const SourceOps kPluginSourceOps;

// Copies year, track and the five texts; a text the plug-in left without a
// terminator is cut to the record's length.
void CopyPluginTags(const TagInfo& from, TagInfo* to);

}  // namespace qv
