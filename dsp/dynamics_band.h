// One band of the compressor or the expander: its parameters, its running
// state, and the per-analysis-block gain rules.
#pragma once

#include <cstdint>

namespace qv {

// Frames per analysis block. Fixed: the processor works through a block in
// steps of this length.
constexpr int kDynamicsBlockLength = 32;

struct DynamicsBand {
  double threshold;     // dB
  double gainCeiling;   // dB; largest gain the compressor rule may apply
  double slope;         // 0..1, gain change per dB of level difference
  int32_t blockLength;  // frames per analysis block
  double blockScale;    // 1 / blockLength
  double detectorCoef;  // mean-square smoothing
  double attackCoef;    // gain smoothing while the gain falls
  double releaseCoef;   // gain smoothing while the gain rises
  double meanSquare;    // state
  double gainDb;        // state
  double gainLinear;    // state: gain reached at the end of the last block
};

constexpr double kDefaultThresholdDb = -30.0;
constexpr double kDefaultSlope = 0.5;
constexpr double kDefaultAttackMs = 0.4;
constexpr double kDefaultReleaseMs = 4.0;
constexpr double kDetectorMs = 4.0;

// Smoothing coefficient for a time constant of timeMs at the given rate,
// counted in analysis blocks: 1 - 1 / (T * fs / (1000 * L) + 1).
double TimeConstantCoef(double timeMs, double sampleRate, int blockLength);

// Initial parameters and state, coefficients computed for sampleRate.
void InitDynamicsBand(DynamicsBand* band, double sampleRate);

enum class DynamicsRule { Compressor, Expander };

// One analysis block: takes the block's mean square, moves the smoothed
// level and gain, and returns the per-frame increment of the linear gain for
// a block of the given scale (1 / frames in the block). The caller then adds
// the increment to gainLinear before each frame and multiplies by it.
double DynamicsBlockStep(DynamicsBand* band, DynamicsRule rule, double meanSquare, double scale);

}  // namespace qv
