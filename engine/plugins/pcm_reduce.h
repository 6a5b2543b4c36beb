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

// Interleaved little-endian samples of sourceBits (8 unsigned; 16, 24 or 32
// signed) to delivered samples. `in` and `out` may be the same buffer.
void ReducePacked(const uint8_t* in, size_t samples, int sourceBits, uint8_t* out);

}  // namespace qv
