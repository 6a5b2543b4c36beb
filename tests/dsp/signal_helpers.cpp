#include "tests/dsp/signal_helpers.h"

#include <algorithm>
#include <cmath>
#include <complex>

namespace qv::test {
namespace {

template <typename T>
double Fit(const T* samples, size_t frames, int channels, int channel, double hz, double rate, size_t from,
           double scale) {
  const double period = rate / hz;
  const size_t periods = static_cast<size_t>((frames - from) / period);
  const size_t count = static_cast<size_t>(std::llround(periods * period));
  double s = 0, c = 0;
  for (size_t i = 0; i < count; ++i) {
    const double phase = 2.0 * kPi * hz * static_cast<double>(from + i) / rate;
    const double v = samples[(from + i) * channels + channel] * scale;
    s += v * std::sin(phase);
    c += v * std::cos(phase);
  }
  return 2.0 * std::hypot(s, c) / static_cast<double>(count);
}

}  // namespace

std::vector<float> Sine(double hz, double rate, double amplitude, size_t frames, int channels) {
  std::vector<float> out(frames * channels);
  for (size_t i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c)
      out[i * channels + c] = static_cast<float>(amplitude * std::sin(2.0 * kPi * hz * i / rate));
  return out;
}

std::vector<int16_t> Sine16(double hz, double rate, double amplitude, size_t frames, int channels) {
  std::vector<int16_t> out(frames * channels);
  for (size_t i = 0; i < frames; ++i)
    for (int c = 0; c < channels; ++c)
      out[i * channels + c] = static_cast<int16_t>(std::lrint(32768.0 * amplitude * std::sin(2.0 * kPi * hz * i / rate)));
  return out;
}

double AmplitudeAt(const float* samples, size_t frames, int channels, int channel, double hz, double rate,
                   size_t from) {
  return Fit(samples, frames, channels, channel, hz, rate, from, 1.0);
}

double AmplitudeAt(const int16_t* samples, size_t frames, int channels, int channel, double hz, double rate,
                   size_t from) {
  return Fit(samples, frames, channels, channel, hz, rate, from, 1.0 / 32768.0);
}

double ToDb(double ratio) { return 20.0 * std::log10(ratio); }

EffectProcessor* NewProcessor(int channels) {
  auto* p = new EffectProcessor;
  EffectProcessor_Init(p, 44100.0);
  p->channels = channels;
  return p;
}

void DeleteProcessor(EffectProcessor* p) { delete p; }

void ProcessInBlocks(EffectProcessor* p, std::vector<float>& samples, size_t block) {
  const size_t frames = samples.size() / static_cast<size_t>(p->channels);
  for (size_t at = 0; at < frames; at += block) {
    const size_t n = std::min(block, frames - at);
    EffectProcessor_Process(p, samples.data() + at * p->channels, n);
  }
}

double SectionMagnitude(const BiquadSection& s, double hz, double rate) {
  const std::complex<double> z1 = std::polar(1.0, -2.0 * kPi * hz / rate);
  const std::complex<double> z2 = z1 * z1;
  const std::complex<double> num = s.c2 + s.c3 * z1 + s.c4 * z2;
  const std::complex<double> den = 1.0 - s.c0 * z1 - s.c1 * z2;
  return std::abs(num / den);
}

}  // namespace qv::test
