// Effect processor benchmark: every effect on, one stereo input, the plain
// reference form beside the production form. Prints a table and a JSON line
// with nanoseconds per stereo frame and the multiple of real time at 44100 Hz.
// Beside them the rest of the chain on the same input: WIDE and REVERB on
// float frames (as the processor), and the spectrum analyser on 16-bit
// blocks of the same length, in each of its two costs (one channel, both).
//
//   effect_bench [seconds-of-audio] [block-frames] [repetitions]
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>

#include "dsp/effect_params_apply.h"
#include "dsp/effect_processor.h"
#include "dsp/qbs_effect.h"
#include "dsp/sample_convert.h"
#include "dsp/spectrum_analyser.h"
#include "tests/dsp/reference_processor.h"

namespace {

using Clock = std::chrono::steady_clock;
using ProcessFn = void (*)(qv::EffectProcessor*, float*, size_t);

constexpr double kRate = 44100.0;

// Every effect on, with settings that keep each stage busy.
qv::EffectParams EveryEffectOn() {
  qv::EffectParams params{};
  params.lastEqOn = 1;
  for (int band = 0; band < qv::kEqBands; ++band) {
    params.lastEqGain[band][0] = static_cast<float>(6.0 * std::sin(band * 0.7));
    params.lastEqGain[band][1] = static_cast<float>(6.0 * std::cos(band * 0.5));
  }
  params.crossoverOn = 1;
  const int32_t hz[3] = {100, 320, 4000};
  const int32_t volume[4] = {120, 90, 100, 110};
  std::copy(hz, hz + 3, params.crossoverHzLeft);
  std::copy(hz, hz + 3, params.crossoverHzRight);
  std::copy(volume, volume + 4, params.bandVolumeLeft);
  std::copy(volume, volume + 4, params.bandVolumeRight);
  params.compressorOn = 1;
  params.expanderOn = 1;
  for (int b = 0; b < 4; ++b) {
    params.compressorNormalFactor[b] = 60;
    params.compressorThreshold[b] = -24;
    params.compressorAgcRange[b] = 6;
    params.compressorAttack[b] = 5;
    params.compressorRelease[b] = 100;
    params.expanderNormalFactor[b] = 50;
    params.expanderThreshold[b] = -50;
    params.expanderAttack[b] = 5;
    params.expanderRelease[b] = 100;
  }
  return params;
}

std::vector<float> MusicLikeInput(size_t frames) {
  std::vector<float> out(frames * 2);
  uint32_t seed = 1;
  for (size_t i = 0; i < frames; ++i) {
    const double t = i / kRate;
    const double envelope = 0.5 + 0.45 * std::sin(2 * 3.14159265 * 0.3 * t);
    for (int c = 0; c < 2; ++c) {
      seed = seed * 1664525u + 1013904223u;
      const double noise = ((seed >> 8) / 16777216.0 - 0.5) * 0.05;
      const double tone = 0.3 * std::sin(2 * 3.14159265 * (110.0 + 3 * c) * t) +
                          0.15 * std::sin(2 * 3.14159265 * 1250.0 * t) + 0.05 * std::sin(2 * 3.14159265 * 7000.0 * t);
      out[i * 2 + c] = static_cast<float>(envelope * (tone + noise));
    }
  }
  return out;
}

double NsPerFrame(ProcessFn process, const std::vector<float>& input, size_t block, int repetitions) {
  const qv::EffectParams params = EveryEffectOn();
  std::unique_ptr<qv::EffectProcessor> p(new qv::EffectProcessor);
  std::vector<float> buffer(input.size());
  const size_t frames = input.size() / 2;
  double best = 1e300;
  for (int r = 0; r < repetitions; ++r) {
    qv::EffectProcessor_Init(p.get(), kRate);
    qv::ApplyEffectParams(p.get(), params, static_cast<int>(kRate));
    p->eqOnLast = p->crossoverOn = p->compressorOn = p->expanderOn = 1;
    p->channels = 2;
    std::memcpy(buffer.data(), input.data(), input.size() * sizeof(float));
    const auto start = Clock::now();
    for (size_t at = 0; at < frames; at += block)
      process(p.get(), buffer.data() + at * 2, std::min(block, frames - at));
    const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    best = std::min(best, ns / static_cast<double>(frames));
  }
  return best;
}

qv::QbsParams QbsRecord(bool wide, bool reverb) {
  qv::QbsParams params{};
  params.wideOn = wide ? 1 : 0;
  params.wideMode = 1;
  params.wideSurround = 7;
  params.wideBass = 6;
  params.reverbOn = reverb ? 1 : 0;
  params.reverbPreset = 1;
  return params;
}

double QbsNsPerFrame(const qv::QbsParams& params, const std::vector<float>& input, size_t block, int repetitions) {
  std::unique_ptr<qv::QbsEffect> effect(new qv::QbsEffect);
  std::vector<float> buffer(input.size());
  const size_t frames = input.size() / 2;
  double best = 1e300;
  for (int r = 0; r < repetitions; ++r) {
    effect->Format(16, static_cast<int>(kRate), 2);
    effect->SetParams(params);
    std::memcpy(buffer.data(), input.data(), input.size() * sizeof(float));
    const auto start = Clock::now();
    for (size_t at = 0; at < frames; at += block)
      effect->ProcessFrames(buffer.data() + at * 2, std::min(block, frames - at));
    const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    best = std::min(best, ns / static_cast<double>(frames));
  }
  return best;
}

double SpectrumNsPerFrame(int mode, const std::vector<float>& input, size_t block, int repetitions) {
  std::unique_ptr<qv::SpectrumAnalyser> analyser(new qv::SpectrumAnalyser);
  std::vector<uint8_t> pcm(input.size() * 2);
  qv::FloatsToPcm(input.data(), 16, pcm.data(), input.size());
  const size_t frames = input.size() / 2;
  double best = 1e300;
  int32_t sink = 0;
  for (int r = 0; r < repetitions; ++r) {
    analyser->Format(16, static_cast<int>(kRate), 2);
    analyser->SetMode(mode);
    const auto start = Clock::now();
    for (size_t at = 0; at < frames; at += block) {
      analyser->Analyse(pcm.data() + at * 4, std::min(block, frames - at) * 4);
      sink += analyser->Levels().level[r % 20];
    }
    const double ns = std::chrono::duration<double, std::nano>(Clock::now() - start).count();
    best = std::min(best, ns / static_cast<double>(frames));
  }
  if (sink == INT32_MIN) std::printf("\n");  // keeps the levels alive
  return best;
}

}  // namespace

int main(int argc, char** argv) {
  const double seconds = argc > 1 ? std::atof(argv[1]) : 20.0;
  const size_t block = argc > 2 ? static_cast<size_t>(std::atol(argv[2])) : 4096;
  const int repetitions = argc > 3 ? std::atoi(argv[3]) : 5;
  if (!(seconds > 0) || block == 0 || repetitions <= 0) {
    std::fprintf(stderr, "usage: effect_bench [seconds-of-audio] [block-frames] [repetitions]\n");
    return 2;
  }
  const std::vector<float> input = MusicLikeInput(static_cast<size_t>(seconds * kRate));
  const double reference = NsPerFrame(qv::test::ReferenceProcess, input, block, repetitions);
  const double fast = NsPerFrame(qv::EffectProcessor_Process, input, block, repetitions);
  const double wide = QbsNsPerFrame(QbsRecord(true, false), input, block, repetitions);
  const double reverb = QbsNsPerFrame(QbsRecord(false, true), input, block, repetitions);
  const double qbs = QbsNsPerFrame(QbsRecord(true, true), input, block, repetitions);
  const double spectrum = SpectrumNsPerFrame(qv::kSpectrumLeft, input, block, repetitions);
  const double spectrumBoth = SpectrumNsPerFrame(qv::kSpectrumBoth, input, block, repetitions);
  const double perFrameBudget = 1e9 / kRate;
  std::printf("%-14s %14s %16s\n", "form", "ns/frame", "x realtime");
  std::printf("%-14s %14.2f %16.1f\n", "reference", reference, perFrameBudget / reference);
  std::printf("%-14s %14.2f %16.1f\n", "fast", fast, perFrameBudget / fast);
  std::printf("%-14s %14.2f %16.1f\n", "wide", wide, perFrameBudget / wide);
  std::printf("%-14s %14.2f %16.1f\n", "reverb", reverb, perFrameBudget / reverb);
  std::printf("%-14s %14.2f %16.1f\n", "wide+reverb", qbs, perFrameBudget / qbs);
  std::printf("%-14s %14.2f %16.1f\n", "spectrum", spectrum, perFrameBudget / spectrum);
  std::printf("%-14s %14.2f %16.1f\n", "spectrum both", spectrumBoth, perFrameBudget / spectrumBoth);
  std::printf(
      "{\"block_frames\":%zu,\"seconds\":%.1f,\"reference_ns_per_frame\":%.3f,\"fast_ns_per_frame\":%.3f,"
      "\"reference_x_realtime\":%.1f,\"fast_x_realtime\":%.1f,\"speedup\":%.2f,"
      "\"wide_ns_per_frame\":%.3f,\"reverb_ns_per_frame\":%.3f,\"wide_reverb_ns_per_frame\":%.3f,"
      "\"spectrum_ns_per_frame\":%.3f,\"spectrum_both_ns_per_frame\":%.3f}\n",
      block, seconds, reference, fast, perFrameBudget / reference, perFrameBudget / fast, reference / fast, wide,
      reverb, qbs, spectrum, spectrumBoth);
  return 0;
}
