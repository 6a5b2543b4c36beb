#include "engine/plugins/pcm_reduce.h"

#include <algorithm>

namespace qv {

namespace {

// One signed sample of `bits` to 16 bits: wider keep their top bits
// (arithmetic shift), narrower move up; out-of-range values are clamped.
int16_t To16(int32_t sample, int bits) {
  int64_t v = sample;
  if (bits > 16)
    v >>= (bits - 16);
  else if (bits < 16)
    v *= int64_t(1) << (16 - bits);
  return static_cast<int16_t>(std::clamp<int64_t>(v, -32768, 32767));
}

uint8_t ToUnsigned8(int32_t sample) { return static_cast<uint8_t>(std::clamp(sample, -128, 127) + 128); }

void Put16(uint8_t* out, int16_t v) {
  out[0] = static_cast<uint8_t>(v & 0xFF);
  out[1] = static_cast<uint8_t>((static_cast<uint16_t>(v) >> 8) & 0xFF);
}

}  // namespace

int DeliveredBits(int sourceBits) { return sourceBits == 8 ? 8 : 16; }

void InterleaveReduced(const int32_t* const planes[], uint32_t frames, uint32_t channels, int sourceBits,
                       uint8_t* out) {
  if (sourceBits == 8) {
    for (uint32_t f = 0; f < frames; ++f)
      for (uint32_t c = 0; c < channels; ++c) *out++ = ToUnsigned8(planes[c][f]);
    return;
  }
  for (uint32_t f = 0; f < frames; ++f)
    for (uint32_t c = 0; c < channels; ++c, out += 2) Put16(out, To16(planes[c][f], sourceBits));
}

void ReducePacked(const uint8_t* in, size_t samples, int sourceBits, uint8_t* out) {
  switch (sourceBits) {
    case 24:
      // Forward in place is safe: each output (2 bytes) ends before the
      // input it came from (3 bytes each) is read again.
      for (size_t i = 0; i < samples; ++i, in += 3, out += 2) {
        out[0] = in[1];
        out[1] = in[2];
      }
      return;
    case 32:
      for (size_t i = 0; i < samples; ++i, in += 4, out += 2) {
        out[0] = in[2];
        out[1] = in[3];
      }
      return;
    default:  // 8 and 16 bits are delivered as they are
      if (in != out) std::copy(in, in + samples * (sourceBits / 8), out);
  }
}

}  // namespace qv
