#include "dsp/dynamics_band.h"

#include <algorithm>
#include <cmath>

namespace qv {

double TimeConstantCoef(double timeMs, double sampleRate, int blockLength) {
  return 1.0 - 1.0 / (timeMs * sampleRate / (1000.0 * blockLength) + 1.0);
}

void InitDynamicsBand(DynamicsBand* band, double sampleRate) {
  band->threshold = kDefaultThresholdDb;
  band->gainCeiling = 0.0;
  band->slope = kDefaultSlope;
  band->blockLength = kDynamicsBlockLength;
  band->blockScale = 1.0 / kDynamicsBlockLength;
  band->detectorCoef = TimeConstantCoef(kDetectorMs, sampleRate, kDynamicsBlockLength);
  band->attackCoef = TimeConstantCoef(kDefaultAttackMs, sampleRate, kDynamicsBlockLength);
  band->releaseCoef = TimeConstantCoef(kDefaultReleaseMs, sampleRate, kDynamicsBlockLength);
  band->meanSquare = 0.0;
  band->gainDb = 0.0;
  band->gainLinear = 1.0;
}

double DynamicsBlockStep(DynamicsBand* band, DynamicsRule rule, double meanSquare, double scale) {
  DynamicsBand& r = *band;
  r.meanSquare = meanSquare + (r.meanSquare - meanSquare) * r.detectorCoef;
  const double level = 10.0 * std::log10(r.meanSquare + 1e-8) + 3.01;
  double target;
  if (rule == DynamicsRule::Compressor) {
    target = std::min(r.gainCeiling, (r.threshold - level) * r.slope);
  } else if (r.slope == 1.0) {
    target = level < r.threshold ? -144.0 : 0.0;  // noise gate
  } else {
    target = std::min(0.0, r.slope * (level - r.threshold));
  }
  const double d = r.gainDb - target;
  const double m = d < 0.0 ? r.releaseCoef : r.attackCoef;
  r.gainDb = target + d * m;
  const double g = std::pow(10.0, r.gainDb * 0.05);
  return (g - r.gainLinear) * scale;
}

}  // namespace qv
