// The step settings of the stereo effects. Every step indexes an 11-entry
// table; records arrive unchecked from preset files and other windows, so a
// step is clamped to the table's range before it is used, while the record
// itself is kept as given.
#pragma once

#include <algorithm>
#include <cstdint>

namespace qv {

constexpr int kQbsSteps = 11;  // steps 0..10
constexpr int kQbsMaxStep = kQbsSteps - 1;

inline int ClampQbsStep(int32_t step) { return static_cast<int>(std::clamp<int32_t>(step, 0, kQbsMaxStep)); }

}  // namespace qv
