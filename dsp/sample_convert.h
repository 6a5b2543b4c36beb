// PCM samples to the effect chain's floats and back. 8-bit samples are
// unsigned with 128 as silence, 16-bit ones signed little-endian.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

constexpr double kPcmToFloat = 1.0 / 32768.0;

inline float PcmToFloat(int16_t s) { return static_cast<float>(s * kPcmToFloat); }
inline float PcmToFloat(uint8_t u) { return static_cast<float>(((u - 128) * 256) * kPcmToFloat); }

// x * 32768, saturated to the 16-bit range and truncated toward zero; NaN
// gives 0 (silence) and never an undefined conversion.
int16_t FloatToPcm16(float x);
// The 16-bit value shifted down to 8 bits (arithmetic shift) plus 128.
uint8_t FloatToPcm8(float x);

// `samples` samples of the given width (8 or 16 bits).
void PcmToFloats(const uint8_t* pcm, int bits, float* out, size_t samples);
void FloatsToPcm(const float* in, int bits, uint8_t* pcm, size_t samples);

}  // namespace qv
