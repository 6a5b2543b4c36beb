#include "tools/qvload/load_skin.h"

namespace qvload {

std::string ControlLayerLimitBroken(const qv::ControlLayer& layer) {
  // Push buttons are read up to entry 1000; radios only up to the slots the
  // main window keeps.
  if (layer.buttons.size() > 1000) return std::to_string(layer.buttons.size()) + " push buttons";
  if (layer.radios.size() > static_cast<size_t>(qv::kMaxRadioEntries))
    return std::to_string(layer.radios.size()) + " radio buttons";
  for (const qv::ControlEntry& e : layer.buttons)
    if (e.pictures.size() != qv::kButtonPictureCount) return "push button " + std::to_string(e.number) + " has " +
                                                             std::to_string(e.pictures.size()) + " picture names";
  for (const qv::ControlEntry& e : layer.radios)
    if (e.pictures.size() != qv::kRadioPictureCount) return "radio button " + std::to_string(e.number) + " has " +
                                                            std::to_string(e.pictures.size()) + " picture names";
  return {};
}

}  // namespace qvload
