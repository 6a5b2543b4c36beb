// The main window's own values under the options key: its placement and the
// volume.
#pragma once

#include <cstdint>

#include "app/shell/placement.h"
#include "options/settings_store.h"

namespace qv {

// Read before the window exists. Like the other registry helpers these
// create the options key when it is missing.
StoredPlacement ReadStoredPlacement(SettingsStore& store);
int32_t ReadStoredVolume(SettingsStore& store);

// Written when the window is destroyed; failures are ignored.
void WriteWindowSettings(SettingsStore& store, const StoredPlacement& placement, int32_t volume);

}  // namespace qv
