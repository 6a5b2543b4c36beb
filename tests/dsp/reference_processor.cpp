#include "tests/dsp/reference_processor.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace qv::test {
namespace {

using Buffer = std::vector<double>;

template <int Capacity>
int Count(const SectionCascade<Capacity>& cascade) {
  const double n = cascade.count;
  if (!(n >= 1.0)) return 0;
  return n >= Capacity ? Capacity : static_cast<int>(n);
}

double Section(const BiquadSection& s, BiquadMemory& m, double x) {
  const double w = x + s.c0 * m.w1 + s.c1 * m.w2;
  const double y = s.c2 * w + s.c3 * m.w1 + s.c4 * m.w2;
  m.w2 = m.w1;
  m.w1 = w;
  return y;
}

template <int Capacity>
void Filter(const SectionCascade<Capacity>& cascade, BiquadMemory* memory, const Buffer& in, Buffer& out) {
  const int n = Count(cascade);
  for (size_t i = 0; i < in.size(); ++i) {
    double x = in[i];
    for (int k = 0; k < n; ++k) x = Section(cascade.section[k], memory[k], x);
    out[i] = x;
  }
}

// Compressor or expander on one band, linked over the channels given.
void Rule(DynamicsBand& r, bool expander, Buffer* channel[2], int channels) {
  const size_t n = channel[0]->size();
  const size_t length = static_cast<size_t>(r.blockLength);
  for (size_t start = 0; start < n; start += length) {
    const size_t len = std::min(length, n - start);
    const double scale = len == length ? r.blockScale : 1.0 / static_cast<double>(len);
    double s[2] = {0.0, 0.0};
    for (int c = 0; c < channels; ++c)
      for (size_t i = start; i < start + len; ++i) s[c] += (*channel[c])[i] * (*channel[c])[i];
    const double ms = channels == 2 ? (s[0] + s[1]) * 0.5 * scale : s[0] * scale;
    r.meanSquare = ms + (r.meanSquare - ms) * r.detectorCoef;
    const double level = 10.0 * std::log10(r.meanSquare + 1e-8) + 3.01;
    double target;
    if (!expander)
      target = std::min(r.gainCeiling, (r.threshold - level) * r.slope);
    else if (r.slope == 1.0)
      target = level < r.threshold ? -144.0 : 0.0;
    else
      target = std::min(0.0, r.slope * (level - r.threshold));
    const double d = r.gainDb - target;
    const double m = d < 0.0 ? r.releaseCoef : r.attackCoef;
    r.gainDb = target + d * m;
    const double g = std::pow(10.0, r.gainDb * 0.05);
    const double step = (g - r.gainLinear) * scale;
    for (size_t i = start; i < start + len; ++i) {
      r.gainLinear += step;
      for (int c = 0; c < channels; ++c) (*channel[c])[i] *= r.gainLinear;
    }
  }
}

}  // namespace

void ReferenceProcess(EffectProcessor* p, float* frames, size_t frameCount) {
  const int C = p->channels;
  if (C != 1 && C != 2) return;
  const size_t N = frameCount;
  Buffer work[2];
  Buffer band[2][4];
  for (int c = 0; c < C; ++c) {
    work[c].assign(N, 0.0);
    for (auto& b : band[c]) b.assign(N, 0.0);
  }

  for (size_t i = 0; i < N; ++i) {
    const bool odd = ((i + p->nextFrameOdd) & 1) != 0;
    for (int c = 0; c < C; ++c) work[c][i] = static_cast<double>(frames[i * C + c]) + (odd ? -1e-8 : 1e-8);
  }

  for (int c = 0; c < C; ++c) {
    double w1 = p->dcMemory[c];
    for (size_t i = 0; i < N; ++i) {
      const double w = work[c][i] + 0.999476538 * w1;
      work[c][i] = 0.999738269 * (w - w1);
      w1 = w;
    }
    p->dcMemory[c] = w1;
  }

  for (int c = 0; c < C; ++c)
    for (size_t i = 0; i < N; ++i) work[c][i] *= p->masterGain;

  if (p->eqOnLast || p->eqOnMy || p->eqOnQv) {
    for (int c = 0; c < C; ++c) Filter(p->eqCascade[c], p->eqMemory[c], work[c], work[c]);
  }

  if (p->crossoverOn || p->compressorOn || p->expanderOn) {
    CrossoverCascades& x = p->crossover;
    for (int c = 0; c < C; ++c) {
      Filter(x.low[c], p->splitMemory.low[c], work[c], band[c][0]);
      Filter(x.midLow[c], p->splitMemory.midLow[c], work[c], band[c][1]);
      Filter(x.midHigh[c], p->splitMemory.midHigh[c], work[c], band[c][2]);
      Filter(x.high[c], p->splitMemory.high[c], work[c], band[c][3]);
    }
    if (p->crossoverOn) {
      for (int c = 0; c < C; ++c)
        for (int b = 0; b < 4; ++b) {
          const double g = std::max(p->bandGain[c][b], 1e-8);
          for (double& v : band[c][b]) v *= g;
        }
    }
    if (p->expanderOn) {
      for (int b = 0; b < 4; ++b) {
        Buffer* channel[2] = {&band[0][b], &band[1][b]};
        Rule(p->dynamics[4 + b], true, channel, C);
      }
    }
    if (p->compressorOn) {
      for (int b = 0; b < 4; ++b) {
        Buffer* channel[2] = {&band[0][b], &band[1][b]};
        Rule(p->dynamics[b], false, channel, C);
      }
    }
    for (int c = 0; c < C; ++c) {
      Buffer tmp(N);
      Filter(x.low[c], p->recombineMemory.low[c], band[c][0], work[c]);
      Filter(x.midLow[c], p->recombineMemory.midLow[c], band[c][1], tmp);
      for (size_t i = 0; i < N; ++i) work[c][i] += tmp[i];
      Filter(x.midHigh[c], p->recombineMemory.midHigh[c], band[c][2], tmp);
      for (size_t i = 0; i < N; ++i) work[c][i] += tmp[i];
      Filter(x.high[c], p->recombineMemory.high[c], band[c][3], tmp);
      for (size_t i = 0; i < N; ++i) work[c][i] += tmp[i];
    }
  }

  for (size_t i = 0; i < N; ++i)
    for (int c = 0; c < C; ++c) frames[i * C + c] = static_cast<float>(work[c][i]);
  p->nextFrameOdd = static_cast<uint32_t>((p->nextFrameOdd + N) & 1);
}

}  // namespace qv::test
