// The double-precision effect processor: DC blocker, master gain, 31-band
// equalizer per channel and a four-band crossover whose bands get a gain, an
// expander and a compressor before they are summed again.
//
// Plain records and free functions. The caller serialises every call and
// every write of the fields (the effect stage's lock).
#pragma once

#include <cstddef>
#include <cstdint>

#include "dsp/biquad.h"
#include "dsp/dynamics_band.h"
#include "dsp/filter_design.h"

namespace qv {

constexpr int kProcessorChannels = 2;
constexpr int kCrossoverBands = 4;
// Frames handled per pass through the work buffers; a multiple of the
// dynamics block length, so passes never split an analysis block.
constexpr int kProcessorChunkFrames = 256;
static_assert(kProcessorChunkFrames % kDynamicsBlockLength == 0, "chunks hold whole analysis blocks");

// Crossover cascades; for each band the left cascade comes first.
struct CrossoverCascades {
  SectionCascade<1> low[kProcessorChannels];      // low-pass f1
  SectionCascade<2> midLow[kProcessorChannels];   // high-pass f1, low-pass f2
  SectionCascade<2> midHigh[kProcessorChannels];  // high-pass f2, low-pass f3
  SectionCascade<1> high[kProcessorChannels];     // high-pass f3
};

// Per band, per channel, per section.
struct CrossoverMemories {
  BiquadMemory low[kProcessorChannels][1];
  BiquadMemory midLow[kProcessorChannels][2];
  BiquadMemory midHigh[kProcessorChannels][2];
  BiquadMemory high[kProcessorChannels][1];
};

// Room for the processor's work buffers, so that processing never allocates.
// Its layout is private to the processor; the size is checked there.
constexpr size_t kProcessorWorkBytes = 27 * 1024;

struct EffectProcessor {
  uint32_t eqOnLast;
  uint32_t crossoverOn;
  uint32_t eqOnMy;
  uint32_t eqOnQv;
  uint32_t compressorOn;
  int32_t channels;  // 1 or 2; anything else leaves blocks untouched
  uint32_t expanderOn;
  double sampleRate;
  double dcMemory[kProcessorChannels];
  double masterGain;
  BiquadMemory eqMemory[kProcessorChannels][kEqBandCount];
  SectionCascade<kEqBandCount> eqCascade[kProcessorChannels];
  CrossoverCascades crossover;
  CrossoverMemories splitMemory;
  CrossoverMemories recombineMemory;
  double bandGain[kProcessorChannels][kCrossoverBands];
  DynamicsBand dynamics[2 * kCrossoverBands];  // compressor low..high, then expander low..high
  // The anti-denormal bias alternates with the frame's parity; this carries
  // the parity from one block to the next (1: the next frame is odd).
  uint32_t nextFrameOdd;
  unsigned char work[kProcessorWorkBytes];
};

constexpr int kCompressorBand0 = 0;
constexpr int kExpanderBand0 = kCrossoverBands;

// DC blocker: w = x + kDcPole * w1; y = kDcGain * (w - w1).
constexpr double kDcPole = 0.999476538;
constexpr double kDcGain = 0.999738269;
constexpr double kAntiDenormalBias = 1e-8;
constexpr double kMinBandGain = 1e-8;

void EffectProcessor_Init(EffectProcessor* state, double sampleRate);
// New stream format: flat equalizer, cleared EQ and DC memories, unity master
// gain. Crossover, band gains and dynamics are kept.
void EffectProcessor_ResetEq(EffectProcessor* state);
// Clears every filter memory and dynamics state that is no longer a finite
// number, so that one bad block or record cannot silence what follows.
void EffectProcessor_ClearNonFinite(EffectProcessor* state);
// Processes frameCount interleaved frames of `channels` floats in place.
void EffectProcessor_Process(EffectProcessor* state, float* frames, size_t frameCount);

}  // namespace qv
