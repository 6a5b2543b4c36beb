// The engine's registered decoder plug-ins, in registration order. Each
// entry keeps a private copy of the plug-in's table (the context slot that
// OpenFile writes belongs to this copy) and the capability bits read once.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/plugins/decoder_plugin.h"

namespace qv {

struct PluginEntry {
  DecoderPlugin table;
  uint32_t capabilities = 0;
};

class PluginRegistry {
 public:
  PluginRegistry() = default;
  ~PluginRegistry() { UnregisterAll(); }
  PluginRegistry(const PluginRegistry&) = delete;
  PluginRegistry& operator=(const PluginRegistry&) = delete;

  // Accepts the getter's table when it is not null, has the version and
  // character width of this contract and every entry slot set; calls Init,
  // copies the table and reads the capabilities. A refused table is skipped.
  bool Register(PluginGetter getter);
  // Calls Quit on each entry, front to back, and frees it.
  void UnregisterAll();

  int Count() const { return static_cast<int>(entries_.size()); }
  // Null when the index is out of range.
  PluginEntry* Entry(int index);
  DecoderPlugin* Table(int index);

 private:
  // Entries stay where they are: the UI holds pointers to their tables.
  std::vector<std::unique_ptr<PluginEntry>> entries_;
};

// Registers the built-in plug-ins in their order: WMA, FLAC, APE.
void RegisterBuiltInPlugins(PluginRegistry& registry);

}  // namespace qv
