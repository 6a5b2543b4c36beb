#include "dsp/qbs_reverb.h"

#include <cmath>
#include <new>

namespace qv {

const double kReverbLineMs[kReverbLines] = {15, 22, 8.3, 35, 30, 66};

namespace {

constexpr double kPi = 3.14159265358979323846;
constexpr double kLowPassHz = 4200;
// All-pass gains of lines 1..5.
constexpr float kAllPassGain[kReverbLines] = {0.0f, 0.4f, 0.6f, 0.3f, 0.4f, 0.1f};

struct PresetSteps {
  int feedback, shortTap, longTap;
};
constexpr PresetSteps kPresets[3] = {{5, 10, 0}, {6, 10, 8}, {10, 0, 10}};

// One Schroeder all-pass stage: v = D[i] - g u; D[i] = u + g v.
inline float AllPass(float* line, size_t i, float g, float u) {
  const float v = line[i] - g * u;
  line[i] = u + g * v;
  return v;
}

}  // namespace

size_t ReverbLineLength(double sampleRate, double ms) {
  const double n = std::ceil(sampleRate * ms / 1000 - 0.5);
  return n < 1 ? 1 : static_cast<size_t>(n);
}

ReverbSteps ReverbPresetSteps(int preset, int feedback, int shortTap, int longTap) {
  if (preset == 3) return {ClampQbsStep(feedback), ClampQbsStep(shortTap), ClampQbsStep(longTap)};
  const PresetSteps& p = kPresets[preset >= 0 && preset < 3 ? preset : 0];
  return {p.feedback, p.shortTap, p.longTap};
}

bool Reverberator::Init(int sampleRate) {
  ready_ = false;
  if (sampleRate <= 0 || sampleRate > kReverbMaxRate) return false;
  size_t total = 0;
  for (int k = 0; k < kReverbLines; ++k) {
    length_[k] = ReverbLineLength(sampleRate, kReverbLineMs[k]);
    offset_[k] = total;
    index_[k] = 0;
    total += 2 * length_[k];
  }
  try {
    lines_.assign(total, 0.0f);  // keeps its memory when the rate does not grow
  } catch (const std::bad_alloc&) {
    lines_.clear();
    return false;
  }
  const double w = 2 * kPi * kLowPassHz / sampleRate;
  const double c = 2 - std::cos(w);
  lowPass_ = static_cast<float>(c - std::sqrt(c * c - 1));
  lowPassed_[0] = lowPassed_[1] = 0;
  ready_ = true;
  return true;
}

void Reverberator::Process(float* frames, size_t count, const ReverbSteps& steps) {
  if (!ready_) return;
  const float feedback = static_cast<float>(0.065 * steps.feedback);
  const float shortGain = static_cast<float>(0.05 * steps.shortTap);
  const float longGain = static_cast<float>(0.05 * steps.longTap);
  const float a = lowPass_, b = 1 - lowPass_;
  float* lines[kReverbLines][2];
  for (int k = 0; k < kReverbLines; ++k)
    for (int ch = 0; ch < 2; ++ch) lines[k][ch] = Line(k, ch);

  for (size_t n = 0; n < count; ++n) {
    float* f = frames + 2 * n;
    // Both channels feed back what the other one low-passed in the previous
    // frame: the right channel reads the left's output of frame n-1, not the
    // one the left channel has just produced for frame n. This keeps the two
    // channels mirror images of each other.
    const float previous[2] = {lowPassed_[0], lowPassed_[1]};
    for (int ch = 0; ch < 2; ++ch) {
      const float x = f[ch];
      float* d1 = lines[0][ch];
      const float c = d1[index_[0]];
      d1[index_[0]] = x - feedback * previous[1 - ch];
      const float a2 = AllPass(lines[1][ch], index_[1], kAllPassGain[1], c);
      const float a3 = AllPass(lines[2][ch], index_[2], kAllPassGain[2], a2);
      const float a4 = AllPass(lines[3][ch], index_[3], kAllPassGain[3], a3);
      const float a5 = AllPass(lines[4][ch], index_[4], kAllPassGain[4], a4);
      const float a6 = AllPass(lines[5][ch], index_[5], kAllPassGain[5], a5);
      lowPassed_[ch] = b * a6 + a * lowPassed_[ch];
      f[ch] = x - (shortGain * a4 + longGain * a6);
    }
    for (int k = 0; k < kReverbLines; ++k)
      if (++index_[k] == length_[k]) index_[k] = 0;
  }
}

}  // namespace qv
