// The main window's accelerator table: virtual keys (with Ctrl for one entry)
// and the commands they send.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

struct AcceleratorEntry {
  uint16_t key;  // virtual-key code
  bool control;
  uint16_t command;
};

constexpr size_t kAcceleratorCount = 34;
extern const AcceleratorEntry kAccelerators[kAcceleratorCount];

}  // namespace qv
