// The spectrum analyser: reads output blocks after the effects (never
// changing them) and keeps 20 bar levels from a 1024-point FFT of the left,
// the right or both channels. Its work buffers are members, so analysis
// allocates nothing.
#pragma once

#include <atomic>
#include <cstddef>
#include <cstdint>

#include "dsp/effect_records.h"
#include "platform/sync/counted_lock.h"

namespace qv {

constexpr int kSpectrumPoints = 1024;
constexpr int kSpectrumBars = 20;
constexpr int kSpectrumCap = 17;

enum SpectrumMode { kSpectrumLeft = 1, kSpectrumRight = 2, kSpectrumBoth = 3 };

class SpectrumAnalyser {
 public:
  SpectrumAnalyser() = default;
  SpectrumAnalyser(const SpectrumAnalyser&) = delete;
  SpectrumAnalyser& operator=(const SpectrumAnalyser&) = delete;

  // Playback thread: a stream's format is known; the levels are cleared.
  void Format(int bits, int rate, int channels);
  // Playback thread: playback ended or stopped; nothing is analysed until
  // the next format and the levels are cleared.
  void Clear();
  // Any thread. Modes other than 1 to 3 analyse as mode 1.
  void SetMode(int mode) { mode_.store(mode, std::memory_order_relaxed); }
  int Mode() const { return mode_.load(std::memory_order_relaxed); }
  // Playback thread: one block of interleaved PCM. Blocks of other sizes
  // than 8 and 16 bits leave the levels as they were.
  void Analyse(const uint8_t* data, size_t bytes);
  SpectrumBands Levels() const;

 private:
  // Position i of each channel holds frame i, for i + 2 <= frames; the rest is 0.
  void Fill(const uint8_t* data, size_t frames);
  // dB[k] of the channel's transform, for the bins the bars read.
  double BinDb(int k) const;

  mutable CountedRecursiveLock lock_;
  int bits_ = 0;
  int rate_ = 0;
  int channels_ = 0;
  std::atomic<int> mode_{kSpectrumLeft};
  SpectrumBands levels_{};
  float input_[2][kSpectrumPoints];
  float re_[kSpectrumPoints];
  float im_[kSpectrumPoints];
};

}  // namespace qv
