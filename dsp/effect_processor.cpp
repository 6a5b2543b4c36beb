// Block processing. Both channels of a frame travel together in one lane
// pair; coefficients and memories are gathered into the processor's work area
// for the block and written back at its end. Only the lanes of real channels
// are written back: a mono block never touches the right channel's memories.
#include <algorithm>

#include "dsp/processor_lanes.h"

namespace qv {
namespace {

void PackSection(LanePair* dst, const BiquadSection& l, const BiquadSection& r) {
  dst[0] = MakeLanes(l.c0, r.c0);
  dst[1] = MakeLanes(l.c1, r.c1);
  dst[2] = MakeLanes(l.c2, r.c2);
  dst[3] = MakeLanes(l.c3, r.c3);
  dst[4] = MakeLanes(l.c4, r.c4);
}

// Which lanes carry a channel whose cascade runs section k. A lane without
// one (a mono block's right lane, or a cascade with fewer sections) gets a
// pass-through section with zero memory and is not written back.
struct LaneUse {
  bool left;
  bool right;
};

template <int Capacity>
LaneUse UseOf(const SectionCascade<Capacity> (&cascade)[kProcessorChannels], int channels, int k) {
  return LaneUse{k < SectionsToRun(cascade[0]), channels == 2 && k < SectionsToRun(cascade[1])};
}

template <int Capacity>
void PackCascadeSection(LanePair* coef, LanePair* memA, LanePair* memB,
                        const SectionCascade<Capacity> (&cascade)[kProcessorChannels],
                        const BiquadMemory* left, const BiquadMemory* right, LaneUse use, int k,
                        LanePair* memC = nullptr, LanePair* memD = nullptr,
                        const BiquadMemory* left2 = nullptr, const BiquadMemory* right2 = nullptr) {
  PackSection(coef, use.left ? cascade[0].section[k] : kPassThroughSection,
              use.right ? cascade[1].section[k] : kPassThroughSection);
  *memA = MakeLanes(use.left ? left[k].w1 : 0.0, use.right ? right[k].w1 : 0.0);
  *memB = MakeLanes(use.left ? left[k].w2 : 0.0, use.right ? right[k].w2 : 0.0);
  if (memC) {
    *memC = MakeLanes(use.left ? left2[k].w1 : 0.0, use.right ? right2[k].w1 : 0.0);
    *memD = MakeLanes(use.left ? left2[k].w2 : 0.0, use.right ? right2[k].w2 : 0.0);
  }
}

void UnpackMemory(const LanePair* memA, const LanePair* memB, BiquadMemory* left, BiquadMemory* right,
                  LaneUse use, int k) {
  if (use.left) left[k] = BiquadMemory{(*memA)[0], (*memB)[0]};
  if (use.right) right[k] = BiquadMemory{(*memA)[1], (*memB)[1]};
}

void PackEqualizer(const EffectProcessor& p, ProcessorLanes& lanes) {
  for (int k = 0; k < kEqBandCount; ++k) {
    const LaneUse use = UseOf(p.eqCascade, p.channels, k);
    PackCascadeSection(lanes.eqCoef + k * kSectionCoefs, &lanes.eqMemory[2 * k], &lanes.eqMemory[2 * k + 1],
                       p.eqCascade, p.eqMemory[0], p.eqMemory[1], use, k);
  }
}

void UnpackEqualizer(EffectProcessor& p, const ProcessorLanes& lanes) {
  for (int k = 0; k < kEqBandCount; ++k) {
    UnpackMemory(&lanes.eqMemory[2 * k], &lanes.eqMemory[2 * k + 1], p.eqMemory[0], p.eqMemory[1],
                 UseOf(p.eqCascade, p.channels, k), k);
  }
}

// The crossover's six sections in lane order, with where their memories live.
template <typename Fn>
void ForEachCrossoverSection(EffectProcessor& p, Fn&& fn) {
  auto& x = p.crossover;
  auto& s = p.splitMemory;
  auto& r = p.recombineMemory;
  fn(kXoLow, x.low, s.low[0], s.low[1], r.low[0], r.low[1], 0);
  fn(kXoMidLowA, x.midLow, s.midLow[0], s.midLow[1], r.midLow[0], r.midLow[1], 0);
  fn(kXoMidLowB, x.midLow, s.midLow[0], s.midLow[1], r.midLow[0], r.midLow[1], 1);
  fn(kXoMidHighA, x.midHigh, s.midHigh[0], s.midHigh[1], r.midHigh[0], r.midHigh[1], 0);
  fn(kXoMidHighB, x.midHigh, s.midHigh[0], s.midHigh[1], r.midHigh[0], r.midHigh[1], 1);
  fn(kXoHigh, x.high, s.high[0], s.high[1], r.high[0], r.high[1], 0);
}

void PackCrossover(EffectProcessor& p, ProcessorLanes& lanes) {
  const int channels = p.channels;
  ForEachCrossoverSection(p, [&](int lane, const auto& cascade, const BiquadMemory* sl, const BiquadMemory* sr,
                                 const BiquadMemory* rl, const BiquadMemory* rr, int k) {
    PackCascadeSection(lanes.crossoverCoef + lane * kSectionCoefs, &lanes.splitMemory[2 * lane],
                       &lanes.splitMemory[2 * lane + 1], cascade, sl, sr, UseOf(cascade, channels, k), k,
                       &lanes.recombineMemory[2 * lane], &lanes.recombineMemory[2 * lane + 1], rl, rr);
  });
  for (int b = 0; b < kCrossoverBands; ++b) {
    auto gain = [&](int c) {
      if (!p.crossoverOn) return 1.0;
      const double g = p.bandGain[c][b];
      return g < kMinBandGain ? kMinBandGain : g;
    };
    lanes.bandGain[b] = MakeLanes(gain(0), channels == 2 ? gain(1) : 1.0);
  }
}

void UnpackCrossover(EffectProcessor& p, const ProcessorLanes& lanes) {
  const int channels = p.channels;
  ForEachCrossoverSection(p, [&](int lane, const auto& cascade, BiquadMemory* sl, BiquadMemory* sr,
                                 BiquadMemory* rl, BiquadMemory* rr, int k) {
    const LaneUse use = UseOf(cascade, channels, k);
    UnpackMemory(&lanes.splitMemory[2 * lane], &lanes.splitMemory[2 * lane + 1], sl, sr, use, k);
    UnpackMemory(&lanes.recombineMemory[2 * lane], &lanes.recombineMemory[2 * lane + 1], rl, rr, use, k);
  });
}

// Input with the alternating bias, DC blocker and master gain.
void LoadChunk(const EffectProcessor& p, ProcessorLanes& lanes, const float* in, int n, bool firstOdd) {
  const LanePair pole = Broadcast(kDcPole), dcGain = Broadcast(kDcGain), master = Broadcast(p.masterGain);
  const double even = firstOdd ? -kAntiDenormalBias : kAntiDenormalBias;
  LanePair w1 = lanes.dcMemory;
  auto run = [&](int i, LanePair x) {
    const LanePair w = x + pole * w1;
    const LanePair y = dcGain * (w - w1);
    w1 = w;
    lanes.work[i] = y * master;
  };
  if (p.channels == 2) {
    for (int i = 0; i < n; ++i) {
      const double bias = (i & 1) ? -even : even;
      run(i, MakeLanes(static_cast<double>(in[2 * i]) + bias, static_cast<double>(in[2 * i + 1]) + bias));
    }
  } else {
    for (int i = 0; i < n; ++i) {
      const double bias = (i & 1) ? -even : even;
      run(i, MakeLanes(static_cast<double>(in[i]) + bias, 0.0));
    }
  }
  lanes.dcMemory = w1;
}

void StoreChunk(const ProcessorLanes& lanes, float* out, int n, int channels) {
  if (channels == 2) {
    for (int i = 0; i < n; ++i) {
      out[2 * i] = static_cast<float>(lanes.work[i][0]);
      out[2 * i + 1] = static_cast<float>(lanes.work[i][1]);
    }
  } else {
    for (int i = 0; i < n; ++i) out[i] = static_cast<float>(lanes.work[i][0]);
  }
}

}  // namespace

void EffectProcessor_Process(EffectProcessor* state, float* frames, size_t frameCount) {
  EffectProcessor& p = *state;
  const int channels = p.channels;
  if (frames == nullptr || frameCount == 0 || (channels != 1 && channels != 2)) return;
  ProcessorLanes& lanes = LanesOf(state);

  const bool eqOn = p.eqOnLast || p.eqOnMy || p.eqOnQv;
  const bool bandsOn = p.crossoverOn || p.compressorOn || p.expanderOn;
  const int eqSections = std::max(SectionsToRun(p.eqCascade[0]), channels == 2 ? SectionsToRun(p.eqCascade[1]) : 0);

  lanes.dcMemory = MakeLanes(p.dcMemory[0], channels == 2 ? p.dcMemory[1] : 0.0);
  if (eqOn) PackEqualizer(p, lanes);
  if (bandsOn) PackCrossover(p, lanes);

  bool odd = p.nextFrameOdd != 0;
  for (size_t done = 0; done < frameCount;) {
    const int n = static_cast<int>(std::min<size_t>(kProcessorChunkFrames, frameCount - done));
    float* chunk = frames + done * static_cast<size_t>(channels);
    LoadChunk(p, lanes, chunk, n, odd);
    if (eqOn) RunCascade(lanes.eqCoef, lanes.eqMemory, lanes.eqPipe, lanes.work, n, eqSections);
    if (bandsOn) RunBandStage(state, lanes, n);
    StoreChunk(lanes, chunk, n, channels);
    odd = odd != ((n & 1) != 0);
    done += static_cast<size_t>(n);
  }
  p.nextFrameOdd = odd ? 1u : 0u;

  p.dcMemory[0] = lanes.dcMemory[0];
  if (channels == 2) p.dcMemory[1] = lanes.dcMemory[1];
  if (eqOn) UnpackEqualizer(p, lanes);
  if (bandsOn) UnpackCrossover(p, lanes);
}

}  // namespace qv
