// The processor's working set while it processes a block: coefficients and
// memories gathered into lane pairs (left, right), and the work and band
// buffers of one chunk. It lives in EffectProcessor::work.
#pragma once

#include <cstdint>

#include "dsp/effect_processor.h"
#include "dsp/lane_pair.h"

namespace qv {

constexpr int kSectionCoefs = 5;
// Crossover sections in lane order: low, mid-low (2), mid-high (2), high.
constexpr int kCrossoverSections = 6;
enum CrossoverSection { kXoLow = 0, kXoMidLowA, kXoMidLowB, kXoMidHighA, kXoMidHighB, kXoHigh };

struct ProcessorLanes {
  LanePair eqCoef[kEqBandCount * kSectionCoefs];
  LanePair eqMemory[kEqBandCount * 2];
  LanePair eqPipe[kEqBandCount + 1];
  LanePair crossoverCoef[kCrossoverSections * kSectionCoefs];
  LanePair splitMemory[kCrossoverSections * 2];
  LanePair recombineMemory[kCrossoverSections * 2];
  LanePair bandGain[kCrossoverBands];
  LanePair dcMemory;
  LanePair work[kProcessorChunkFrames];
  LanePair band[kCrossoverBands][kProcessorChunkFrames];
};

static_assert(sizeof(ProcessorLanes) + alignof(ProcessorLanes) <= kProcessorWorkBytes,
              "EffectProcessor::work is too small");

inline ProcessorLanes& LanesOf(EffectProcessor* state) {
  // The record may sit at any address; the lanes start at the first 16-byte
  // boundary inside its work area.
  const uintptr_t at = reinterpret_cast<uintptr_t>(state->work);
  const uintptr_t aligned = (at + alignof(ProcessorLanes) - 1) & ~uintptr_t(alignof(ProcessorLanes) - 1);
  return *reinterpret_cast<ProcessorLanes*>(aligned);
}

// Runs `count` sections over n samples in place; `pipe` holds count + 1
// lane pairs of scratch.
void RunCascade(const LanePair* coef, LanePair* memory, LanePair* pipe, LanePair* data, int n, int count);

// The band stage over one chunk of n frames in lanes.work: split, band
// gains, expander, compressor, recombination.
void RunBandStage(EffectProcessor* state, ProcessorLanes& lanes, int n);

}  // namespace qv
