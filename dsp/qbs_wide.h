// WIDE: the mid and the side each pass a fixed 7th-order filter, the wet pair
// is mixed with the dry input by the surround step, and a bass shelf and a
// presence cut of the mono sum, chosen by the bass step, are added to both
// channels. Tables and memories belong to the object, so every engine has
// its own.
#pragma once

#include <cstddef>

#include "dsp/qbs_steps.h"

namespace qv {

constexpr int kWideOrder = 7;

struct WideSettings {
  int mode;      // 0: wet pair without the direct mid; otherwise with it
  int surround;  // 0..10, clamped by the caller
  int bass;      // 0..10, clamped by the caller
};

class WideFilter {
 public:
  // Builds the shaping tables for the rate and clears every memory.
  void Init(double sampleRate);
  // Interleaved stereo frames, in place.
  void Process(float* frames, size_t count, const WideSettings& settings);

  // The shaping tables, by bass step.
  double BassGain(int step) const { return bassGain_[step]; }
  double PresenceGain(int step) const { return presenceGain_[step]; }

 private:
  void ClearNonFinite();

  // Bass shelf: v = (u + u1) * bassB + bassA * v1; bass = bassGain * v.
  double bassGain_[kQbsSteps] = {};
  double bassA_[kQbsSteps] = {};
  double bassB_[kQbsSteps] = {};
  // Presence cut: e = (u - u2) * e3 + e2 * p1 + e1 * p2; presence = presenceGain * e.
  double presenceGain_[kQbsSteps] = {};
  double e1_[kQbsSteps] = {};
  double e2_[kQbsSteps] = {};
  double e3_[kQbsSteps] = {};

  // Direct-form-I histories, each kept twice over so that the last seven
  // values are always one contiguous window, newest first, at history_.
  double midIn_[2 * kWideOrder] = {};
  double midOut_[2 * kWideOrder] = {};
  double sideIn_[2 * kWideOrder] = {};
  double sideOut_[2 * kWideOrder] = {};
  int history_ = 0;
  double u1_ = 0, u2_ = 0, v1_ = 0, p1_ = 0, p2_ = 0;
};

}  // namespace qv
