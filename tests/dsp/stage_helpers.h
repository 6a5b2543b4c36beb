// Records and runners for the effect stage tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "dsp/effect_records.h"
#include "dsp/effect_stage.h"

namespace qv::test {

// Every enable word 0; crossover 100/320/4000 Hz at unity; dynamics at the
// processor's initial values; flat equalizers.
EffectParams DefaultRecord();

// Runs the stage over 16-bit or 8-bit interleaved samples in blocks.
void RunStage(EffectStage& stage, std::vector<int16_t>& pcm, int channels, size_t blockFrames);
void RunStage(EffectStage& stage, std::vector<uint8_t>& pcm, int channels, size_t blockFrames);

}  // namespace qv::test
