// Records and runners for the stereo effect and spectrum tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "dsp/effect_records.h"
#include "dsp/qbs_effect.h"

namespace qv::test {

QbsParams WideRecord(int mode, int surround, int bass);
// preset, then the custom feedback, short and long steps.
QbsParams ReverbRecord(int preset, int feedback, int shortTap, int longTap);

// A QbsEffect for a 16-bit stereo stream at the rate, with the record set.
struct QbsRun {
  QbsRun(const QbsParams& params, int rate = 44100, int channels = 2);
  std::vector<float> Frames(std::vector<float> frames);  // ProcessFrames in blocks of 1000
  QbsEffect effect;
};

// Deterministic stereo-ish PCM: two tones and some noise, different per channel.
std::vector<int16_t> MusicPcm16(size_t frames, int channels, uint32_t seed);

}  // namespace qv::test
