// libmad's fixed-point samples (28 fraction bits) to 16-bit PCM with noise
// shaping and a small random dither, one record per output channel.
#pragma once

#include <cstdint>

namespace qv {

struct DitherChannel {
  int32_t error[3] = {0, 0, 0};
  uint32_t random = 0;
};

// Converts one sample; the record carries the shaped error and the random
// generator from sample to sample.
int16_t DitherTo16(int32_t sample, DitherChannel& d);

}  // namespace qv
