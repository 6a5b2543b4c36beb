// The effect processor's block algorithm in its plain form: one channel at a
// time, one stage after the other over whole buffers, fresh buffers on every
// call. The production form must give the same bits.
#pragma once

#include <cstddef>

#include "dsp/effect_processor.h"

namespace qv::test {

void ReferenceProcess(EffectProcessor* state, float* frames, size_t frameCount);

}  // namespace qv::test
