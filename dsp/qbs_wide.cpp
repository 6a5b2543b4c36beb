#include "dsp/qbs_wide.h"

#include <cmath>
#include <cstring>

namespace qv {

namespace {

constexpr double kPi = 3.14159265358979323846;

// The mid and side filters: y = sum B[j] x[n-j] + sum A[j] y[n-j] (A[0] unused).
constexpr double kMidB[kWideOrder + 1] = {0.926571722412109,  0.498084799194336,  0.18789426574707,
                                          0.311490493774414,  -0.07769762878418,  -0.247792437744141,
                                          -0.084797412109375, 0.00729977722168};
constexpr double kMidA[kWideOrder + 1] = {-1.0,
                                          -0.205893716430664,
                                          -0.83427453918457,
                                          -0.448486312866211,
                                          -0.165594946289062,
                                          -0.097497024536133,
                                          0.156095236206055,
                                          0.116796435546875};
constexpr double kSideB[kWideOrder + 1] = {0.827274752807617,  0.29119111328125,   -0.201093862915039,
                                           -0.089797259521484, -0.571982543945312, -0.515284274291992,
                                           -0.156895211791992, 0.168494857788086};
constexpr double kSideA[kWideOrder + 1] = {-1.0,
                                           0.268091818237305,
                                           0.085197399902344,
                                           0.286991241455078,
                                           0.512984344482422,
                                           0.249792376708984,
                                           -0.138995758056641,
                                           -0.396787890625};

constexpr double kDirectMid = 0.125892541179417;  // -18 dB
constexpr double kMonoSum = 0.707106781186548;
// Wet and dry mix factors by step.
constexpr double kMix[kQbsSteps] = {0.0, 0.1, 0.2, 0.3, 0.4, 0.5, 0.6, 0.7, 0.8, 0.9, 1.0};

// One direct-form-I step over the windows of the last seven inputs and
// outputs, newest first.
inline double Step(const double (&b)[kWideOrder + 1], const double (&a)[kWideOrder + 1], double x,
                   const double* in, const double* out) {
  double y = b[0] * x;
  for (int j = 1; j <= kWideOrder; ++j) y += b[j] * in[j - 1] + a[j] * out[j - 1];
  return y;
}

// Puts the newest value in front of the window that starts at `at`.
inline void Push(double* history, int at, double v) { history[at] = history[at + kWideOrder] = v; }

template <size_t N>
bool AllFinite(const double (&m)[N]) {
  for (double v : m)
    if (!std::isfinite(v)) return false;
  return true;
}

template <size_t N>
void ClearArray(double (&m)[N]) {
  std::memset(m, 0, sizeof m);
}

}  // namespace

void WideFilter::Init(double sampleRate) {
  const double w1 = 2 * kPi * 500 / sampleRate;
  const double w2 = 2 * kPi * 400 / sampleRate;
  for (int step = 0; step < kQbsSteps; ++step) {
    // Bass shelf, 0 to +9 dB in 0.9 dB steps.
    double g = std::pow(10.0, 9.0 * step / 200.0);
    bassGain_[step] = g - 1;
    double k = 4 / (1 + g);
    double t = std::tan(w1 / 2);
    bassA_[step] = (1 - t * k) / (1 + t * k);
    bassB_[step] = (1 - bassA_[step]) / 2;
    // Presence cut, 0 to -3 dB in 0.3 dB steps.
    g = std::pow(10.0, -3.0 * step / 200.0);
    presenceGain_[step] = g - 1;
    k = 4 / (1 + g);
    t = std::tan(w2 / 4);
    const double d = ((1 - t * k) / (1 + t * k)) / 2;
    e1_[step] = -2 * d;
    e2_[step] = 2 * std::cos(w2) * (0.5 + d);
    e3_[step] = 0.5 - d;
  }
  ClearArray(midIn_);
  ClearArray(midOut_);
  ClearArray(sideIn_);
  ClearArray(sideOut_);
  history_ = 0;
  u1_ = u2_ = v1_ = p1_ = p2_ = 0;
}

// The shelf has no stable design at rates of 1000 Hz and below; a memory
// that ran away starts again from silence instead of staying NaN.
void WideFilter::ClearNonFinite() {
  if (!AllFinite(midIn_) || !AllFinite(midOut_)) {
    ClearArray(midIn_);
    ClearArray(midOut_);
  }
  if (!AllFinite(sideIn_) || !AllFinite(sideOut_)) {
    ClearArray(sideIn_);
    ClearArray(sideOut_);
  }
  if (!std::isfinite(u1_ + u2_ + v1_ + p1_ + p2_)) u1_ = u2_ = v1_ = p1_ = p2_ = 0;
}

void WideFilter::Process(float* frames, size_t count, const WideSettings& settings) {
  ClearNonFinite();
  const int s = settings.surround, beta = settings.bass;
  const double wet = kMix[s], dry = kMix[kQbsMaxStep - s];
  const double directMid = settings.mode == 0 ? 0.0 : kDirectMid;
  const double bassA = bassA_[beta], bassB = bassB_[beta], bassGain = bassGain_[beta];
  const double e1 = e1_[beta], e2 = e2_[beta], e3 = e3_[beta], presenceGain = presenceGain_[beta];
  double u1 = u1_, u2 = u2_, v1 = v1_, p1 = p1_, p2 = p2_;
  int at = history_;
  for (size_t n = 0; n < count; ++n) {
    float* f = frames + 2 * n;
    const double left = f[0], right = f[1];
    const double mid = (left + right) * 0.5, side = (left - right) * 0.5;
    const double yMid = Step(kMidB, kMidA, mid, midIn_ + at, midOut_ + at);
    const double ySide = Step(kSideB, kSideA, side, sideIn_ + at, sideOut_ + at);
    at = at == 0 ? kWideOrder - 1 : at - 1;
    Push(midIn_, at, mid);
    Push(midOut_, at, yMid);
    Push(sideIn_, at, side);
    Push(sideOut_, at, ySide);
    const double t0 = directMid * mid;
    double outL = (yMid + ySide + t0) * wet + left * dry;
    double outR = (yMid - ySide + t0) * wet + right * dry;

    const double u = (left + right) * kMonoSum;
    const double v = (u + u1) * bassB + bassA * v1;
    v1 = v;
    const double e = (u - u2) * e3 + e2 * p1 + e1 * p2;
    p2 = p1;
    p1 = e;
    u2 = u1;
    u1 = u;
    const double shaping = bassGain * v + presenceGain * e;
    outL += shaping;
    outR += shaping;
    f[0] = static_cast<float>(outL);
    f[1] = static_cast<float>(outR);
  }
  history_ = at;
  u1_ = u1;
  u2_ = u2;
  v1_ = v1;
  p1_ = p1;
  p2_ = p2;
}

}  // namespace qv
