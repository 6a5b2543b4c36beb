// The skin and control layer without the Win32 picture and control code:
// the load plan CSkin carries out and the control-layer parser over the
// shared INI reader.
#include <algorithm>

#include "app/skin/control_layer.h"
#include "app/skin/ini_text.h"
#include "app/skin/skin_load_plan.h"
#include "tools/qvload/load_skin.h"

namespace qvload {

LoadResult LoadSkin(const std::u16string& path) {
  LoadResult result;
  qv::IniText file;
  if (!file.Open(path)) {
    result.exitCode = kExitNotRead;
    result.reason = "cannot read the file";
    return result;
  }
  const qv::SkinLoadPlan plan = qv::PlanSkinLoad(&file, path);
  size_t longestName = plan.background.file.size();
  for (const qv::PlannedPicture& p : plan.pictures) longestName = std::max(longestName, p.file.size());
  result.report.Int("version", plan.version)
      .Int("pictures", static_cast<int64_t>(plan.pictures.size()))
      .Int("longest_file_name", static_cast<int64_t>(longestName))
      .Int("title_colour", plan.colours.colour[qv::kTitleColour])
      .Int("display_on", plan.colours.displayOn);
  return result;
}

LoadResult LoadControls(const std::u16string& path) {
  LoadResult result;
  qv::IniText file;
  if (!file.Open(path)) {
    result.exitCode = kExitNotRead;
    result.reason = "cannot read the file";
    return result;
  }
  const qv::ControlLayer layer = qv::ReadControlLayer([&](std::u16string_view section, std::u16string_view key) {
    std::u16string value;
    qv::ReadIniString(&file, section, key, value);
    return value;
  });
  result.reason = ControlLayerLimitBroken(layer);
  if (!result.reason.empty()) result.exitCode = kExitBrokenLimit;
  result.report.Int("buttons", static_cast<int64_t>(layer.buttons.size()))
      .Int("radios", static_cast<int64_t>(layer.radios.size()));
  return result;
}

}  // namespace qvload
