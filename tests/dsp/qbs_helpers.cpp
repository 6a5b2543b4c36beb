#include "tests/dsp/qbs_helpers.h"

#include <algorithm>
#include <cmath>

#include "tests/dsp/signal_helpers.h"

namespace qv::test {

QbsParams WideRecord(int mode, int surround, int bass) {
  QbsParams p{};
  p.wideOn = 1;
  p.wideMode = mode;
  p.wideSurround = surround;
  p.wideBass = bass;
  return p;
}

QbsParams ReverbRecord(int preset, int feedback, int shortTap, int longTap) {
  QbsParams p{};
  p.reverbOn = 1;
  p.reverbPreset = preset;
  p.reverbFeedback = feedback;
  p.reverbShortDelay = shortTap;
  p.reverbLongDelay = longTap;
  return p;
}

QbsRun::QbsRun(const QbsParams& params, int rate, int channels) {
  effect.Format(16, rate, channels);
  effect.SetParams(params);
}

std::vector<float> QbsRun::Frames(std::vector<float> frames) {
  const size_t count = frames.size() / 2;
  for (size_t at = 0; at < count; at += 1000)
    effect.ProcessFrames(frames.data() + 2 * at, std::min<size_t>(1000, count - at));
  return frames;
}

std::vector<int16_t> MusicPcm16(size_t frames, int channels, uint32_t seed) {
  std::vector<int16_t> out(frames * channels);
  for (size_t i = 0; i < frames; ++i) {
    for (int c = 0; c < channels; ++c) {
      seed = seed * 1664525u + 1013904223u;
      const double noise = ((seed >> 8) / 16777216.0 - 0.5) * 0.1;
      const double tone = 0.35 * std::sin(2 * kPi * (220.0 + 37 * c) * i / 44100.0) +
                          0.2 * std::sin(2 * kPi * (3100.0 - 400 * c) * i / 44100.0);
      out[i * channels + c] = static_cast<int16_t>(std::lrint(32767 * (tone + noise)));
    }
  }
  return out;
}

}  // namespace qv::test
