#include "options/memory_settings_store.h"

namespace qv {

// Without a registry the process keeps its settings in memory.
SettingsStore& SystemSettingsStore() {
  static MemorySettingsStore store;
  return store;
}

}  // namespace qv
