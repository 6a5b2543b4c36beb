#include "dsp/spectrum_analyser.h"

#include <algorithm>
#include <cmath>
#include <cstring>

#include "dsp/fft.h"

namespace qv {

namespace {

// The bin below each bar's bin: bar i of modes 1 and 2 reads bin kSingle[i] + 1,
// bar i of each half in mode 3 reads bin kHalf[i] + 1.
constexpr int kSingle[kSpectrumBars] = {0,  1,  2,  3,   5,   8,   11,  17,  23,  34,
                                        45, 73, 92, 138, 185, 237, 289, 330, 371, 463};
constexpr int kHalfBars = kSpectrumBars / 2;
constexpr int kHalf[kHalfBars] = {0, 2, 5, 11, 23, 45, 92, 185, 289, 371};

int16_t Sample16(const uint8_t* p) {
  int16_t s;
  std::memcpy(&s, p, 2);  // little-endian on every target
  return s;
}

int Level(double weight, double db) { return std::min(kSpectrumCap, static_cast<int>(weight * db)); }

}  // namespace

void SpectrumAnalyser::Format(int bits, int rate, int channels) {
  CountedLockGuard guard(lock_);
  bits_ = bits;
  rate_ = rate;
  channels_ = channels;
  levels_ = SpectrumBands{};
}

void SpectrumAnalyser::Clear() {
  CountedLockGuard guard(lock_);
  bits_ = 0;
  rate_ = 0;
  levels_ = SpectrumBands{};
}

SpectrumBands SpectrumAnalyser::Levels() const {
  CountedLockGuard guard(lock_);
  return levels_;
}

// Frames are read by the stream's own layout: a mono sample fills both
// channels of its position, and only the first two channels of a wider
// frame are read. No read goes past the block.
void SpectrumAnalyser::Fill(const uint8_t* data, size_t frames) {
  const size_t filled = std::min<size_t>(frames >= 2 ? frames - 1 : 0, kSpectrumPoints);
  const size_t stride = static_cast<size_t>(channels_);
  const size_t right = channels_ >= 2 ? 1 : 0;
  for (size_t i = 0; i < filled; ++i) {
    const size_t at = i * stride;
    if (bits_ == 16) {
      input_[0][i] = Sample16(data + 2 * at);
      input_[1][i] = Sample16(data + 2 * (at + right));
    } else {
      input_[0][i] = static_cast<float>((data[at] - 128) * 256);
      input_[1][i] = static_cast<float>((data[at + right] - 128) * 256);
    }
  }
  for (int ch = 0; ch < 2; ++ch) std::fill(input_[ch] + filled, input_[ch] + kSpectrumPoints, 0.0f);
}

double SpectrumAnalyser::BinDb(int k) const {
  const float m = std::sqrt(re_[k] * re_[k] + im_[k] * im_[k]);
  const double db = m > 0 ? 20 * std::log10(static_cast<double>(m)) : 0.0;
  return (db - 54) / 3;
}

void SpectrumAnalyser::Analyse(const uint8_t* data, size_t bytes) {
  CountedLockGuard guard(lock_);
  if (bits_ != 8 && bits_ != 16) return;
  if (channels_ <= 0 || data == nullptr) return;
  const size_t frames = bytes / static_cast<size_t>(bits_ / 8) / static_cast<size_t>(channels_);
  Fill(data, frames);

  int mode = Mode();
  if (mode < kSpectrumLeft || mode > kSpectrumBoth) mode = kSpectrumLeft;
  if (mode != kSpectrumBoth) {
    ForwardFft(input_[mode - 1], re_, im_, kSpectrumPoints);
    for (int i = 0; i < kSpectrumBars; ++i)
      levels_.level[i] = Level(0.4 * i / kSpectrumBars + 0.6, BinDb(kSingle[i] + 1));
    return;
  }
  for (int ch = 0; ch < 2; ++ch) {
    ForwardFft(input_[ch], re_, im_, kSpectrumPoints);
    for (int i = 0; i < kHalfBars; ++i)
      levels_.level[ch * kHalfBars + i] = Level(0.4 * i / kHalfBars + 0.6, BinDb(kHalf[i] + 1));
  }
}

}  // namespace qv
