// Filter designs of the effect processor and the equalizer's band plan.
#pragma once

#include "dsp/biquad.h"

namespace qv {

constexpr int kEqBandCount = 31;
// ISO third-octave centres, band 1 (20 Hz) first.
extern const double kEqCentreHz[kEqBandCount];
// sqrt(r) / (r - 1) with r = 10^0.1, the third-octave ratio.
constexpr double kEqQ = 4.333365529969349;

// Crossover frequencies are kept within [kCrossoverMinHz, kCrossoverMaxFraction * fs]
// when designing: beyond that the sections lose stability at low rates.
constexpr double kCrossoverMinHz = 10.0;
constexpr double kCrossoverMaxFraction = 0.45;

// RBJ peaking equalizer. 0 dB gives an exact pass-through section. A design
// that cannot be represented (a gain so large that the coefficients overflow)
// also gives a pass-through section rather than an unstable one.
void DesignPeakingSection(BiquadSection* section, double sampleRate, double centreHz, double q,
                          double gainDb);

// Second-order Butterworth low-pass and high-pass at one crossover frequency,
// which is first kept within the stable range above.
void DesignCrossoverPair(BiquadSection* lowPass, BiquadSection* highPass, double sampleRate,
                         double crossoverHz);

// The crossover frequency actually designed for a requested one.
double ClampCrossoverHz(double crossoverHz, double sampleRate);

}  // namespace qv
