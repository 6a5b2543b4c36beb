#include "app/shell/window_settings.h"

#include "options/options.h"
#include "options/registry_helpers.h"

namespace qv {

namespace {

uint32_t ReadValue(SettingsStore& store, const char16_t* name, uint32_t def) {
  return ReadRegDword(store, SettingsRoot::CurrentUser, kOptionsKey, name, def);
}

}  // namespace

StoredPlacement ReadStoredPlacement(SettingsStore& store) {
  StoredPlacement p;
  p.showCmd = ReadValue(store, u"Pos_showCmd", kShowNormal);
  p.left = static_cast<int32_t>(ReadValue(store, u"Pos_left", 0));
  p.top = static_cast<int32_t>(ReadValue(store, u"Pos_top", 0));
  p.right = static_cast<int32_t>(ReadValue(store, u"Pos_right", 0));
  p.bottom = static_cast<int32_t>(ReadValue(store, u"Pos_bottom", 0));
  if (p.right == 0) p.right = kMainWindowWidth;
  if (p.bottom == 0) p.bottom = kMainWindowHeight;
  return p;
}

int32_t ReadStoredVolume(SettingsStore& store) {
  // The default stands for a missing value: full volume.
  return VolumeFromStored(true, ReadValue(store, u"Volume", 256));
}

void WriteWindowSettings(SettingsStore& store, const StoredPlacement& placement, int32_t volume) {
  auto write = [&](const char16_t* name, uint32_t value) {
    WriteRegDword(store, SettingsRoot::CurrentUser, kOptionsKey, name, value);
  };
  write(u"Pos_showCmd", placement.showCmd);
  write(u"Pos_left", static_cast<uint32_t>(placement.left));
  write(u"Pos_top", static_cast<uint32_t>(placement.top));
  write(u"Pos_right", static_cast<uint32_t>(placement.right));
  write(u"Pos_bottom", static_cast<uint32_t>(placement.bottom));
  write(u"Volume", static_cast<uint32_t>(volume));
}

}  // namespace qv
