#include "dsp/sample_convert.h"

#include <cstring>

namespace qv {

int16_t FloatToPcm16(float x) {
  const double d = static_cast<double>(x) * 32768.0;
  if (d > 32767.0) return 32767;
  if (d <= -32768.0) return -32768;
  if (d != d) return 0;  // NaN
  return static_cast<int16_t>(d);
}

uint8_t FloatToPcm8(float x) {
  const int v = (FloatToPcm16(x) >> 8) + 128;  // within 0..255 by construction
  return static_cast<uint8_t>(v);
}

void PcmToFloats(const uint8_t* pcm, int bits, float* out, size_t samples) {
  if (bits == 8) {
    for (size_t i = 0; i < samples; ++i) out[i] = PcmToFloat(pcm[i]);
  } else {
    for (size_t i = 0; i < samples; ++i) {
      int16_t s;
      std::memcpy(&s, pcm + 2 * i, 2);  // little-endian on every target
      out[i] = PcmToFloat(s);
    }
  }
}

void FloatsToPcm(const float* in, int bits, uint8_t* pcm, size_t samples) {
  if (bits == 8) {
    for (size_t i = 0; i < samples; ++i) pcm[i] = FloatToPcm8(in[i]);
  } else {
    for (size_t i = 0; i < samples; ++i) {
      const int16_t s = FloatToPcm16(in[i]);
      std::memcpy(pcm + 2 * i, &s, 2);
    }
  }
}

}  // namespace qv
