// The PCM the plug-ins deliver: 8-bit sources as unsigned 8-bit samples (128
// is silence), every other width as signed 16-bit little-endian, since the
// engine's gain, volume, fade and silence cuts know only these two. Wider
// samples keep their top 16 bits, narrower ones are shifted up.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

// 8 for 8-bit sources, else 16.
int DeliveredBits(int sourceBits);

// Planar signed samples of sourceBits (as libFLAC delivers them) to
// interleaved delivered samples; `out` holds frames x channels x
// DeliveredBits / 8 bytes.
void InterleaveReduced(const int32_t* const planes[], uint32_t frames, uint32_t channels, int sourceBits,
                       uint8_t* out);

// Planar signed 16-bit samples in the machine's order (as FFmpeg's planar
// decoders give them), frames [first, first + frames), interleaved into
// little-endian `out` (frames x channels x 2 bytes).
void InterleavePlanes16(const int16_t* const planes[], size_t first, size_t frames, uint32_t channels,
                        uint8_t* out);

// A float sample (full scale +-1.0) as 16 bits: x 32768, rounded to the
// nearest (ties to even), clipped.
int16_t FloatTo16(float x);
// Planar float samples to interleaved little-endian 16-bit samples.
void InterleaveFloatPlanes16(const float* const planes[], size_t frames, uint32_t channels, uint8_t* out);

// Interleaved little-endian samples of sourceBits (8 unsigned; 16, 24 or 32
// signed) to delivered samples. `in` and `out` may be the same buffer.
void ReducePacked(const uint8_t* in, size_t samples, int sourceBits, uint8_t* out);

}  // namespace qv
