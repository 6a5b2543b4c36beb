// libmad's fixed-point samples (28 fraction bits) to 16-bit PCM with noise
// shaping and a small random dither, one record per output channel. Inline:
// it runs for every sample.
#pragma once

#include <cstdint>

namespace qv {

struct DitherChannel {
  int32_t error[3] = {0, 0, 0};
  uint32_t random = 0;
};

namespace dither_detail {
constexpr int kFractionBits = 28;
constexpr int kShift = kFractionBits + 1 - 16;  // 13
constexpr int32_t kMask = (1 << kShift) - 1;
constexpr int32_t kMin = -(1 << kFractionBits);
constexpr int32_t kMax = (1 << kFractionBits) - 1;
// Far outside the clip range: bounding the input there changes no result
// and keeps the sums below within 32 bits (libmad's samples reach +-8.0).
constexpr int32_t kInputBound = 1 << 30;
}  // namespace dither_detail

// Converts one sample; the record carries the shaped error and the random
// generator from sample to sample.
inline int16_t DitherTo16(int32_t in, DitherChannel& d) {
  using namespace dither_detail;
  in = in > kInputBound ? kInputBound : (in < -kInputBound ? -kInputBound : in);
  int32_t sample = in + d.error[0] - d.error[1] + d.error[2];
  d.error[2] = d.error[1];
  d.error[1] = d.error[0] / 2;

  int32_t output = sample + (1 << (kShift - 1));
  const uint32_t random = d.random * 1664525u + 1013904223u;
  output += static_cast<int32_t>(random & kMask) - static_cast<int32_t>(d.random & kMask);
  d.random = random;

  if (output > kMax) {
    output = kMax;
    if (sample > kMax) sample = kMax;
  } else if (output < kMin) {
    output = kMin;
    if (sample < kMin) sample = kMin;
  }
  output &= ~kMask;
  d.error[0] = sample - output;
  return static_cast<int16_t>(output >> kShift);
}

}  // namespace qv
