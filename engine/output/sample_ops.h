// In-place routines on interleaved PCM blocks: 8-bit unsigned (128 is
// silence) or 16-bit signed little-endian. Wider samples are passed through
// untouched by every routine here.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

constexpr int kHeadroomGain = 136;  // 1/256 units

// Scales every sample by gain/256 with clipping; nothing when gain is 256.
void ApplyGain(uint8_t* data, size_t bytes, int bits, int gain);

// Near-silent frames (every channel within -16..16 for 16-bit, exactly 128
// for 8-bit) counted from the start or the end; returns whole frames x frame bytes.
size_t MeasureSilenceFromStart(const uint8_t* data, size_t bytes, int bits, int channels);
size_t MeasureSilenceFromEnd(const uint8_t* data, size_t bytes, int bits, int channels);

// Linear fade-in from silence over 750 ms, in 16.16 fixed point.
struct FadeIn {
  int32_t gain = 65536;
  int32_t step = 0;
  uint32_t framesLeft = 0;

  void Arm(int rate);
  void Cancel() { framesLeft = 0; gain = 65536; }
  bool Active() const { return framesLeft > 0; }
  // Applies the fade from the start of the block.
  void Apply(uint8_t* data, size_t bytes, int bits, int channels);
};

}  // namespace qv
