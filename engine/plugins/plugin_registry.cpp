#include "engine/plugins/plugin_registry.h"

namespace qv {

namespace {

// Every entry slot from Init to CloseStreaming except GetCapabilities.
bool EntriesSet(const DecoderPlugin& p) {
  return p.Init && p.Quit && p.GetName && p.SetEqualizer && p.ShowConfig && p.GetExtCount && p.GetExt &&
         p.IsValidFile && p.OpenFile && p.Seek && p.Start && p.Decode && p.Stop && p.Close && p.GetTag &&
         p.GetFileTag && p.OpenStreaming && p.DecodeStreaming && p.CloseStreaming;
}

}  // namespace

bool PluginRegistry::Register(PluginGetter getter) {
  const DecoderPlugin* table = getter ? getter() : nullptr;
  if (!table || table->Version != kPluginVersion || table->CharWidth != kPluginCharWidth || !EntriesSet(*table))
    return false;
  table->Init();
  auto entry = std::make_unique<PluginEntry>();
  entry->table = *table;
  entry->table.Context = nullptr;
  // The slot may be empty: such a plug-in has no capabilities and is never
  // offered a file.
  entry->capabilities = table->GetCapabilities ? table->GetCapabilities() : 0;
  entries_.push_back(std::move(entry));
  return true;
}

void PluginRegistry::UnregisterAll() {
  while (!entries_.empty()) {
    entries_.front()->table.Quit();
    entries_.erase(entries_.begin());
  }
}

PluginEntry* PluginRegistry::Entry(int index) {
  if (index < 0 || index >= Count()) return nullptr;
  return entries_[static_cast<size_t>(index)].get();
}

DecoderPlugin* PluginRegistry::Table(int index) {
  PluginEntry* entry = Entry(index);
  return entry ? &entry->table : nullptr;
}

}  // namespace qv
