// Filter designs and time constants against their mathematics.
#include <gtest/gtest.h>

#include <ostream>

#include <cmath>

#include "dsp/dynamics_band.h"
#include "dsp/filter_design.h"
#include "tests/dsp/signal_helpers.h"

namespace qv::test {
namespace {

// Poles of 1 - c0 z^-1 - c1 z^-2 strictly inside the unit circle.
bool Stable(const BiquadSection& s) {
  const double a1 = -s.c0, a2 = -s.c1;
  return std::fabs(a2) < 1.0 && std::fabs(a1) < 1.0 + a2;
}

bool Finite(const BiquadSection& s) {
  return std::isfinite(s.c0) && std::isfinite(s.c1) && std::isfinite(s.c2) && std::isfinite(s.c3) &&
         std::isfinite(s.c4);
}

TEST(EqBandPlan, ThirdOctaveQAndCentres) {
  const double r = std::pow(1000.0, 1.0 / 30.0);
  EXPECT_NEAR(kEqQ, std::sqrt(r) / (r - 1.0), 1e-12);
  EXPECT_EQ(20.0, kEqCentreHz[0]);
  EXPECT_EQ(1000.0, kEqCentreHz[17]);  // band 18
  EXPECT_EQ(20000.0, kEqCentreHz[30]);
  for (int k = 1; k < kEqBandCount; ++k) EXPECT_NEAR(kEqCentreHz[k] / kEqCentreHz[k - 1], r, 0.03) << k;  // nominal ISO values
}

struct PeakCase {
  double centreHz;
  double gainDb;
};

void PrintTo(const PeakCase& c, std::ostream* os) { *os << c.gainDb << " dB at " << c.centreHz << " Hz"; }

class PeakingDesign : public ::testing::TestWithParam<PeakCase> {};

TEST_P(PeakingDesign, GainAtCentreAndFlatFarAway) {
  const PeakCase tc = GetParam();
  BiquadSection s;
  DesignPeakingSection(&s, 44100, tc.centreHz, kEqQ, tc.gainDb);
  ASSERT_TRUE(Stable(s));
  EXPECT_NEAR(tc.gainDb, ToDb(SectionMagnitude(s, tc.centreHz, 44100)), 1e-9);
  // Four octaves away the section is nearly flat.
  const double far = tc.centreHz < 1000 ? tc.centreHz * 16 : tc.centreHz / 16;
  EXPECT_LT(std::fabs(ToDb(SectionMagnitude(s, far, 44100))), 0.2);
  // Half a band above the centre the gain lies between 0 and the peak.
  const double between = ToDb(SectionMagnitude(s, tc.centreHz * std::pow(2.0, 1.0 / 6.0), 44100));
  EXPECT_GT(std::fabs(between), 0.1);
  EXPECT_LT(std::fabs(between), std::fabs(tc.gainDb));
}

INSTANTIATE_TEST_SUITE_P(Bands, PeakingDesign,
                         ::testing::Values(PeakCase{31.5, 10}, PeakCase{100, -10}, PeakCase{1000, 10},
                                           PeakCase{1000, 12}, PeakCase{4000, -6}, PeakCase{10000, 3},
                                           PeakCase{16000, -10}));

TEST(PeakingDesignEdges, ZeroDbIsAnExactPassThrough) {
  BiquadSection s;
  DesignPeakingSection(&s, 44100, 1000, kEqQ, 0.0);
  EXPECT_EQ(0.0, s.c0);
  EXPECT_EQ(0.0, s.c1);
  EXPECT_EQ(1.0, s.c2);
  EXPECT_EQ(0.0, s.c3);
  EXPECT_EQ(0.0, s.c4);
}

TEST(PeakingDesignEdges, OverflowingGainsGiveAFlatSectionNotNaN) {
  for (double gain : {20000.0, -20000.0, 1e300}) {
    BiquadSection s;
    DesignPeakingSection(&s, 44100, 1000, kEqQ, gain);
    EXPECT_TRUE(Finite(s)) << gain;
    EXPECT_TRUE(Stable(s)) << gain;
    EXPECT_EQ(1.0, s.c2) << gain;
  }
  // Large but representable gains are designed as asked.
  BiquadSection s;
  DesignPeakingSection(&s, 44100, 1000, kEqQ, 60.0);
  EXPECT_NEAR(60.0, ToDb(SectionMagnitude(s, 1000, 44100)), 1e-6);
}

TEST(CrossoverDesign, ButterworthHalvesMeetAtMinus3Db) {
  for (double rate : {44100.0, 48000.0, 22050.0}) {
    for (double f : {100.0, 320.0, 1000.0, 4000.0}) {
      BiquadSection lp, hp;
      DesignCrossoverPair(&lp, &hp, rate, f);
      EXPECT_NEAR(-3.0103, ToDb(SectionMagnitude(lp, f, rate)), 1e-3) << rate << " " << f;
      EXPECT_NEAR(-3.0103, ToDb(SectionMagnitude(hp, f, rate)), 1e-3) << rate << " " << f;
      EXPECT_NEAR(0.0, ToDb(SectionMagnitude(lp, f / 50, rate)), 1e-3);
      EXPECT_NEAR(0.0, ToDb(SectionMagnitude(hp, std::min(f * 50, rate * 0.49), rate)), 2e-2);
    }
  }
}

struct SplitCase {
  double rate;
  double hz;
  double designedHz;
};

void PrintTo(const SplitCase& c, std::ostream* os) { *os << c.hz << " Hz at " << c.rate; }

class CrossoverRange : public ::testing::TestWithParam<SplitCase> {};

// Low rates with the usual splits (4000 Hz at 8 kHz is the Nyquist frequency
// and gave a section with a double pole on the unit circle).
TEST_P(CrossoverRange, ClampedToAStableDesign) {
  const SplitCase tc = GetParam();
  EXPECT_DOUBLE_EQ(tc.designedHz, ClampCrossoverHz(tc.hz, tc.rate));
  BiquadSection lp, hp;
  DesignCrossoverPair(&lp, &hp, tc.rate, tc.hz);
  ASSERT_TRUE(Finite(lp) && Finite(hp));
  EXPECT_TRUE(Stable(lp));
  EXPECT_TRUE(Stable(hp));
  EXPECT_NEAR(-3.0103, ToDb(SectionMagnitude(lp, tc.designedHz, tc.rate)), 1e-3);
}

INSTANTIATE_TEST_SUITE_P(Rates, CrossoverRange,
                         ::testing::Values(SplitCase{8000, 4000, 3600}, SplitCase{11025, 4000, 4000},
                                           SplitCase{11025, 8000, 4961.25}, SplitCase{12000, 4000, 4000},
                                           SplitCase{12000, 8000, 5400}, SplitCase{16000, 4000, 4000},
                                           SplitCase{44100, 0, 10}, SplitCase{44100, -500, 10},
                                           SplitCase{44100, 5, 10}, SplitCase{44100, 30000, 19845},
                                           SplitCase{44100, std::nan(""), 10}));

TEST(CrossoverRangeEdges, NoUsableRateGivesPassThrough) {
  for (double rate : {0.0, -44100.0, 20.0, std::nan(""), HUGE_VAL}) {
    BiquadSection lp, hp;
    DesignCrossoverPair(&lp, &hp, rate, 1000);
    EXPECT_EQ(1.0, lp.c2) << rate;
    EXPECT_EQ(1.0, hp.c2) << rate;
    EXPECT_EQ(0.0, lp.c0) << rate;
  }
}

TEST(TimeConstants, CoefficientsAt44100) {
  EXPECT_NEAR(0.8464491362763915, TimeConstantCoef(4, 44100, 32), 1e-15);
  EXPECT_NEAR(0.3553585817888799, TimeConstantCoef(0.4, 44100, 32), 1e-15);
  EXPECT_EQ(0.0, TimeConstantCoef(0, 44100, 32));
  DynamicsBand band;
  InitDynamicsBand(&band, 44100);
  EXPECT_EQ(-30.0, band.threshold);
  EXPECT_EQ(0.0, band.gainCeiling);
  EXPECT_EQ(0.5, band.slope);
  EXPECT_EQ(32, band.blockLength);
  EXPECT_EQ(0.03125, band.blockScale);
  EXPECT_NEAR(0.8464491362763915, band.detectorCoef, 1e-15);
  EXPECT_NEAR(0.3553585817888799, band.attackCoef, 1e-15);
  EXPECT_NEAR(0.8464491362763915, band.releaseCoef, 1e-15);
  EXPECT_EQ(1.0, band.gainLinear);
}

}  // namespace
}  // namespace qv::test
