#include "dsp/fft.h"

#include <cmath>

namespace qv {

namespace {

constexpr double kPi = 3.14159265358979323846;

size_t BitReverse(size_t i, int bits) {
  size_t r = 0;
  for (int b = 0; b < bits; ++b, i >>= 1) r = (r << 1) | (i & 1);
  return r;
}

}  // namespace

bool ForwardFft(const float* input, float* re, float* im, size_t n) {
  if (n == 0 || (n & (n - 1)) != 0) return false;
  int bits = 0;
  while ((size_t{1} << bits) < n) ++bits;
  for (size_t i = 0; i < n; ++i) {
    re[BitReverse(i, bits)] = input[i];
    im[i] = 0;
  }
  for (size_t half = 1; half < n; half *= 2) {
    const size_t span = 2 * half;
    // w turns by theta each step: w += w (e^(i theta) - 1), with
    // cos theta - 1 written as -2 sin^2(theta / 2) to keep its precision.
    const double theta = -kPi / static_cast<double>(half);
    const double s = std::sin(0.5 * theta);
    const double stepRe = -2.0 * s * s;  // cos(theta) - 1
    const double stepIm = std::sin(theta);
    double wr = 1.0, wi = 0.0;
    for (size_t j = 0; j < half; ++j) {
      const float fr = static_cast<float>(wr), fi = static_cast<float>(wi);
      for (size_t k = j; k < n; k += span) {
        const size_t m = k + half;
        const float tr = fr * re[m] - fi * im[m];
        const float ti = fr * im[m] + fi * re[m];
        re[m] = re[k] - tr;
        im[m] = im[k] - ti;
        re[k] += tr;
        im[k] += ti;
      }
      const double t = wr;
      wr += t * stepRe - wi * stepIm;
      wi += wi * stepRe + t * stepIm;
    }
  }
  return true;
}

}  // namespace qv
