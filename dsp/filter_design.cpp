#include "dsp/filter_design.h"

#include <cmath>

namespace qv {

const double kEqCentreHz[kEqBandCount] = {
    20,   25,   31.5, 40,   50,   63,   80,    100,   125,   160,   200,
    250,  315,  400,  500,  630,  800,  1000,  1250,  1600,  2000,  2500,
    3150, 4000, 5000, 6300, 8000, 10000, 12500, 16000, 20000};

namespace {

constexpr double kPi = 3.14159265358979323846;

bool IsFinite(const BiquadSection& s) {
  return std::isfinite(s.c0) && std::isfinite(s.c1) && std::isfinite(s.c2) && std::isfinite(s.c3) &&
         std::isfinite(s.c4);
}

}  // namespace

void DesignPeakingSection(BiquadSection* section, double sampleRate, double centreHz, double q,
                          double gainDb) {
  if (gainDb == 0.0) {
    *section = kPassThroughSection;
    return;
  }
  const double w = 2.0 * kPi * centreHz / sampleRate;
  const double a = std::pow(10.0, gainDb / 40.0);
  const double alpha = std::sin(w) / (2.0 * q);
  const double cosw = std::cos(w);
  const double a0 = 1.0 + alpha / a;
  BiquadSection s;
  s.c0 = 2.0 * cosw / a0;
  s.c1 = -(1.0 - alpha / a) / a0;
  s.c2 = (1.0 + alpha * a) / a0;
  s.c3 = -2.0 * cosw / a0;
  s.c4 = (1.0 - alpha * a) / a0;
  // A gain beyond about +-12000 dB overflows A; such a section would be
  // unstable or NaN, so the band is left flat.
  *section = IsFinite(s) && std::isfinite(a) && a > 0.0 ? s : kPassThroughSection;
}

double ClampCrossoverHz(double crossoverHz, double sampleRate) {
  const double high = kCrossoverMaxFraction * sampleRate;
  if (!(crossoverHz >= kCrossoverMinHz)) return kCrossoverMinHz;  // also NaN
  if (crossoverHz > high) return high;
  return crossoverHz;
}

void DesignCrossoverPair(BiquadSection* lowPass, BiquadSection* highPass, double sampleRate,
                         double crossoverHz) {
  if (!(kCrossoverMaxFraction * sampleRate > kCrossoverMinHz) || !std::isfinite(sampleRate)) {
    // No rate at which a stable split exists: both halves pass.
    *lowPass = kPassThroughSection;
    *highPass = kPassThroughSection;
    return;
  }
  const double f = ClampCrossoverHz(crossoverHz, sampleRate);
  const double w = 2.0 * kPi * f / sampleRate;
  const double cosw = std::cos(w);
  const double alpha = std::sin(w) / std::sqrt(2.0);
  const double a0 = 1.0 + alpha;
  const double c0 = 2.0 * cosw / a0;
  const double c1 = -(1.0 - alpha) / a0;
  lowPass->c0 = c0;
  lowPass->c1 = c1;
  lowPass->c2 = (1.0 - cosw) / (2.0 * a0);
  lowPass->c3 = (1.0 - cosw) / a0;
  lowPass->c4 = lowPass->c2;
  highPass->c0 = c0;
  highPass->c1 = c1;
  highPass->c2 = (1.0 + cosw) / (2.0 * a0);
  highPass->c3 = -(1.0 + cosw) / a0;
  highPass->c4 = highPass->c2;
}

}  // namespace qv
