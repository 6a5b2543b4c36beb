// Writing an EffectParams record into the effect processor.
#pragma once

#include "dsp/effect_processor.h"
#include "dsp/effect_records.h"

namespace qv {

// The rate the equalizer and the dynamics time constants are designed for,
// whatever the stream's rate; only the crossover follows the stream.
constexpr double kDesignRate = 44100.0;

// Which gain set feeds the equalizer: the first enabled of Qv, Last, My, Drc,
// or nullptr when none is enabled.
const float (*SelectEqGains(const EffectParams& params))[2];

// Writes coefficients, band gains and dynamics parameters. streamRate 0 means
// no stream is open: then only the dynamics parameters are written.
// Values are made safe here, not in the stored record: a non-finite value
// stands for its default, a negative time for 0, and crossover frequencies
// are kept within the range where the design is stable. Memories that are no
// longer finite are cleared.
void ApplyEffectParams(EffectProcessor* processor, const EffectParams& params, int streamRate);

}  // namespace qv
