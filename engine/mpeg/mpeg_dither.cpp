#include "engine/mpeg/mpeg_dither.h"

namespace qv {

namespace {
constexpr int kFractionBits = 28;
constexpr int kShift = kFractionBits + 1 - 16;  // 13
constexpr int64_t kMask = (int64_t(1) << kShift) - 1;
constexpr int64_t kMin = -(int64_t(1) << kFractionBits);
constexpr int64_t kMax = (int64_t(1) << kFractionBits) - 1;
}  // namespace

int16_t DitherTo16(int32_t in, DitherChannel& d) {
  // 64-bit: a sample near libmad's +-8.0 limit plus the error terms would
  // overflow 32 bits before the clip.
  int64_t sample = int64_t(in) + d.error[0] - d.error[1] + d.error[2];
  d.error[2] = d.error[1];
  d.error[1] = d.error[0] / 2;

  int64_t output = sample + (int64_t(1) << (kShift - 1));
  const uint32_t random = d.random * 1664525u + 1013904223u;
  output += int64_t(random & kMask) - int64_t(d.random & kMask);
  d.random = random;

  if (output > kMax) {
    output = kMax;
    if (sample > kMax) sample = kMax;
  } else if (output < kMin) {
    output = kMin;
    if (sample < kMin) sample = kMin;
  }
  output &= ~kMask;
  d.error[0] = static_cast<int32_t>(sample - output);
  return static_cast<int16_t>(output >> kShift);
}

}  // namespace qv
