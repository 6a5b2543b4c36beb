// In-place radix-2 decimation-in-time FFT of a real input: a bit-reversed
// copy of the input, then log2(n) butterfly passes with twiddle factors from
// the angle-addition recurrence. Forward and unnormalised:
// X[k] = sum x[n] e^(-2 pi i k n / N).
#pragma once

#include <cstddef>

namespace qv {

// False, with the outputs untouched, when n is not a power of two.
bool ForwardFft(const float* input, float* re, float* im, size_t n);

}  // namespace qv
