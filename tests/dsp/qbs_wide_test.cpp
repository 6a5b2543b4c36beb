// WIDE against its formulas: the response to mid (L = R) and side (L = -R)
// tones at several frequencies and steps, worked out from the filter
// coefficients in the frequency domain; the shaping tables; stability.
#include <gtest/gtest.h>

#include <cmath>
#include <complex>
#include <string>
#include <vector>

#include "dsp/qbs_wide.h"
#include "tests/dsp/qbs_helpers.h"
#include "tests/dsp/signal_helpers.h"

namespace qv::test {
namespace {

using Complex = std::complex<double>;

constexpr double kRate = 44100;

// The mid and side filters as written down for WIDE: y = sum B x + sum A y.
const double kMidB[8] = {0.926571722412109,  0.498084799194336,  0.18789426574707,   0.311490493774414,
                         -0.07769762878418,  -0.247792437744141, -0.084797412109375, 0.00729977722168};
const double kMidA[8] = {-1.0,
                         -0.205893716430664,
                         -0.83427453918457,
                         -0.448486312866211,
                         -0.165594946289062,
                         -0.097497024536133,
                         0.156095236206055,
                         0.116796435546875};
const double kSideB[8] = {0.827274752807617,  0.29119111328125,   -0.201093862915039, -0.089797259521484,
                          -0.571982543945312, -0.515284274291992, -0.156895211791992, 0.168494857788086};
const double kSideA[8] = {-1.0,
                          0.268091818237305,
                          0.085197399902344,
                          0.286991241455078,
                          0.512984344482422,
                          0.249792376708984,
                          -0.138995758056641,
                          -0.396787890625};

Complex DirectForm(const double* b, const double* a, Complex z1) {
  Complex num = 0, den = 1, zj = 1;
  for (int j = 0; j <= 7; ++j, zj *= z1) {
    num += b[j] * zj;
    if (j > 0) den -= a[j] * zj;
  }
  return num / den;
}

// Left output over left input for a tone fed as mid (L = R) or side (L = -R).
Complex WideResponse(bool mid, double hz, int mode, int surround, int bass) {
  const Complex z1 = std::polar(1.0, -2 * kPi * hz / kRate);
  const double wet = surround / 10.0, dry = (10 - surround) / 10.0;
  if (!mid) return DirectForm(kSideB, kSideA, z1) * wet + dry;
  const double t0 = mode == 0 ? 0.0 : 0.125892541179417;
  // Bass shelf and presence cut of u = (L + R) * 0.7071.
  double g = std::pow(10.0, 9.0 * bass / 200.0);
  double k = 4 / (1 + g), t = std::tan(kPi * 500 / kRate);
  const double ab = (1 - t * k) / (1 + t * k), bb = (1 - ab) / 2;
  const Complex shelf = (g - 1) * bb * (1.0 + z1) / (1.0 - ab * z1);
  g = std::pow(10.0, -3.0 * bass / 200.0);
  k = 4 / (1 + g);
  t = std::tan(2 * kPi * 400 / kRate / 4);
  const double d = ((1 - t * k) / (1 + t * k)) / 2;
  const double e1 = -2 * d, e2 = 2 * std::cos(2 * kPi * 400 / kRate) * (0.5 + d), e3 = 0.5 - d;
  const Complex presence = (g - 1) * e3 * (1.0 - z1 * z1) / (1.0 - e2 * z1 - e1 * z1 * z1);
  return (DirectForm(kMidB, kMidA, z1) + t0) * wet + dry + 2 * 0.707106781186548 * (shelf + presence);
}

struct ToneCase {
  const char* name;
  bool mid;
  double hz;
  int mode, surround, bass;
};

class WideTone : public ::testing::TestWithParam<ToneCase> {};

TEST_P(WideTone, GainMatchesTheFilters) {
  const ToneCase& tc = GetParam();
  const size_t frames = 32768;
  std::vector<float> in = Sine(tc.hz, kRate, 0.25, frames, 2);
  if (!tc.mid)
    for (size_t i = 0; i < frames; ++i) in[2 * i + 1] = -in[2 * i];
  QbsRun run(WideRecord(tc.mode, tc.surround, tc.bass));
  const std::vector<float> out = run.Frames(in);

  // The pair stays a mid or a side signal.
  for (size_t i = 0; i < frames; ++i)
    ASSERT_FLOAT_EQ(tc.mid ? out[2 * i] : -out[2 * i], out[2 * i + 1]) << "frame " << i;
  const double want = std::abs(WideResponse(tc.mid, tc.hz, tc.mode, tc.surround, tc.bass));
  const double got = AmplitudeAt(out.data(), frames, 2, 0, tc.hz, kRate, frames / 2) / 0.25;
  EXPECT_NEAR(want, got, 2e-4 + 1e-4 * want);
}

INSTANTIATE_TEST_SUITE_P(
    Steps, WideTone,
    ::testing::Values(ToneCase{"Mid60HzWetOnly", true, 60, 0, 10, 0}, ToneCase{"Mid1kWetOnly", true, 1000, 0, 10, 0},
                      ToneCase{"Mid9kWetOnly", true, 9000, 0, 10, 0},
                      ToneCase{"Side60HzWetOnly", false, 60, 0, 10, 0},
                      ToneCase{"Side1kWetOnly", false, 1000, 0, 10, 0},
                      ToneCase{"Side9kWetOnly", false, 9000, 0, 10, 0},
                      ToneCase{"Side3kHalfMix", false, 3000, 1, 5, 7},
                      ToneCase{"Side15kMix3", false, 15000, 0, 3, 10},
                      ToneCase{"Mid1kDirectMid", true, 1000, 1, 10, 0},
                      ToneCase{"Mid100HzBass10", true, 100, 0, 0, 10},
                      ToneCase{"Mid400HzBass10", true, 400, 0, 0, 10},
                      ToneCase{"Mid3kBass5", true, 3000, 0, 0, 5},
                      ToneCase{"Mid250HzMix6Bass4", true, 250, 1, 6, 4},
                      ToneCase{"Mid12kMix8Bass2", true, 12000, 0, 8, 2}),
    [](const ::testing::TestParamInfo<ToneCase>& info) { return std::string(info.param.name); });

// At surround 10, bass 0 and mode 0 nothing of the dry signal remains: an
// impulse in the left channel gives half the sum and half the difference of
// the two filters' impulse responses.
TEST(Wide, WetOnlyImpulseIsTheFilteredPair) {
  std::vector<float> in(2 * 64, 0.0f);
  in[0] = 0.5f;
  QbsRun run(WideRecord(0, 10, 0));
  const std::vector<float> out = run.Frames(in);
  // The two filters' impulse responses, by their recursions.
  double hm[64], hs[64];
  for (int n = 0; n < 64; ++n) {
    hm[n] = n <= 7 ? kMidB[n] : 0;
    hs[n] = n <= 7 ? kSideB[n] : 0;
    for (int j = 1; j <= 7 && j <= n; ++j) {
      hm[n] += kMidA[j] * hm[n - j];
      hs[n] += kSideA[j] * hs[n - j];
    }
  }
  for (int n = 0; n < 64; ++n) {
    EXPECT_NEAR(0.25 * (hm[n] + hs[n]), out[2 * n], 1e-7) << "left " << n;
    EXPECT_NEAR(0.25 * (hm[n] - hs[n]), out[2 * n + 1], 1e-7) << "right " << n;
  }
}

TEST(Wide, ShapingTablesRunFromNothingToTheirFullDepth) {
  WideFilter wide;
  wide.Init(kRate);
  EXPECT_EQ(0.0, wide.BassGain(0));
  EXPECT_EQ(0.0, wide.PresenceGain(0));
  for (int step = 1; step <= kQbsMaxStep; ++step) {
    EXPECT_NEAR(ToDb(1 + wide.BassGain(step)), 0.9 * step, 1e-9) << step;
    EXPECT_NEAR(ToDb(1 + wide.PresenceGain(step)), -0.3 * step, 1e-9) << step;
  }
}

// The fixed filters are stable: an impulse dies away, at every rate the
// player meets.
TEST(Wide, ImpulseResponseDecays) {
  for (int rate : {8000, 44100, 96000, 192000}) {
    std::vector<float> in(2 * 48000, 0.0f);
    in[0] = 1.0f;
    in[3] = -1.0f;
    QbsRun run(WideRecord(1, 10, 10), rate);
    const std::vector<float> out = run.Frames(in);
    double tail = 0;
    for (size_t i = out.size() - 2000; i < out.size(); ++i) tail = std::max(tail, double(std::fabs(out[i])));
    EXPECT_LT(tail, 1e-6) << rate << " Hz";
  }
}

}  // namespace
}  // namespace qv::test
