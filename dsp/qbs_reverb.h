// REVERB: per channel a feedback delay line and five all-pass stages, with
// the low-passed chain output of each channel fed back into the other one.
// Two taps of the chain are subtracted from the dry signal. The delay lines
// are sized from the stream's rate, so their timings hold at any rate, and
// belong to the object.
#pragma once

#include <cstddef>
#include <vector>

#include "dsp/qbs_steps.h"

namespace qv {

constexpr int kReverbLines = 6;
// Line timings in ms: the feedback line, then the all-pass stages.
extern const double kReverbLineMs[kReverbLines];
// Rates above this get no REVERB: the lines would be needlessly large.
constexpr int kReverbMaxRate = 768000;

// The line length for a timing: ceil(fs * T / 1000 - 0.5), evaluated in
// that order (fs * (T / 1000) rounds differently for some T, 35 ms at
// 44100 Hz among them), and at least one sample.
size_t ReverbLineLength(double sampleRate, double ms);

struct ReverbSteps {
  int feedback;  // 0..10, clamped by the caller
  int shortTap;  // 0..10, clamped by the caller
  int longTap;   // 0..10, clamped by the caller
};

// The steps that a preset selects; preset 3 takes the custom steps (clamped),
// any preset other than 0 to 3 counts as preset 0.
ReverbSteps ReverbPresetSteps(int preset, int feedback, int shortTap, int longTap);

class Reverberator {
 public:
  // Sizes the lines for the rate and clears every line, index and memory.
  // False when the rate is outside 1..kReverbMaxRate or the lines cannot be
  // had; Process then leaves frames untouched.
  bool Init(int sampleRate);
  bool Ready() const { return ready_; }
  // Interleaved stereo frames, in place.
  void Process(float* frames, size_t count, const ReverbSteps& steps);

  size_t LineLength(int line) const { return length_[line]; }
  float LowPassCoefficient() const { return lowPass_; }

 private:
  float* Line(int line, int channel) { return lines_.data() + offset_[line] + channel * length_[line]; }

  std::vector<float> lines_;  // each line's left, then right samples
  size_t length_[kReverbLines] = {};
  size_t offset_[kReverbLines] = {};
  size_t index_[kReverbLines] = {};
  float lowPassed_[2] = {};
  float lowPass_ = 0;
  bool ready_ = false;
};

}  // namespace qv
