#include "dsp/small_effects.h"

#include <algorithm>

namespace qv {

bool SmallEffects::Set(int type, const SmallEffectParams& params) {
  switch (type) {
    case 0:
    case 1:
      delay_[type].on = params.on;
      delay_[type].delayMs = params.value1;
      delay_[type].level = params.value2;
      return true;
    case 2:
      surround_.on = params.on;
      surround_.level = std::clamp<int32_t>(params.value2, 0, 100);
      return true;
    case 3:
      spatial_.on = params.on;
      spatial_.level = params.value2;
      return true;
    default:
      return false;
  }
}

bool SmallEffects::Get(int type, SmallEffectParams* params) const {
  switch (type) {
    case 0:
    case 1:
      *params = SmallEffectParams{delay_[type].on, delay_[type].delayMs, delay_[type].level};
      return true;
    case 2:
      *params = SmallEffectParams{surround_.on, 0, surround_.level};
      return true;
    case 3:
      params->on = spatial_.on;
      params->value2 = spatial_.level;
      return true;
    default:
      return false;
  }
}

}  // namespace qv
