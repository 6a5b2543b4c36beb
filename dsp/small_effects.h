// Four effects whose settings are only stored and returned, addressed by
// type: 0 and 1 delays, 2 the C-surround, 3 the spatial effect. They take
// part in no processing. Not synchronised; the engine guards them.
#pragma once

#include <cstdint>

#include "dsp/effect_records.h"

namespace qv {

struct DelayEffect {
  int32_t kind;
  int32_t on = 0;
  int32_t delayMs = 100;
  int32_t level = 20;
};

class CSurroundEffect {
 public:
  virtual ~CSurroundEffect() = default;
  int32_t on = 0;
  int32_t level = 20;  // 0..100
};

struct SpatialEffect {
  int32_t on = 0;
  int32_t level = 50;
};

constexpr int kSmallEffectTypes = 4;

class SmallEffects {
 public:
  // Types above 3 (or negative) do nothing and return false.
  bool Set(int type, const SmallEffectParams& params);
  // Type 2 returns 0 as its first value; type 3 leaves the caller's first
  // value as it was.
  bool Get(int type, SmallEffectParams* params) const;

 private:
  DelayEffect delay_[2] = {DelayEffect{0}, DelayEffect{1}};
  CSurroundEffect surround_;
  SpatialEffect spatial_;
};

}  // namespace qv
