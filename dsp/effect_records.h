// Effect parameter records. They travel unchanged in window messages and are
// stored field by field, so their little-endian layouts are fixed byte for
// byte and checked below.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

constexpr int kEqBands = 31;

struct EffectParams {
  int32_t qvEqOn;
  int32_t qvEqReserved;
  float qvEqGain[kEqBands][2];
  int32_t lastEqOn;
  int32_t lastEqReserved;
  float lastEqGain[kEqBands][2];
  int32_t crossoverOn;
  int32_t crossoverHzLeft[3];
  int32_t bandVolumeLeft[4];
  int32_t crossoverHzRight[3];
  int32_t bandVolumeRight[4];
  int32_t compressorOn;
  float compressorNormalFactor[4];
  float compressorThreshold[4];
  float compressorAgcRange[4];
  float compressorAttack[4];
  float compressorRelease[4];
  int32_t myEqOn;
  int32_t myEqReserved;
  float myEqGain[kEqBands][2];
  int32_t drcEqOn;
  int32_t drcEqReserved;
  float drcEqGain[kEqBands][2];
  int32_t expanderOn;
  float expanderNormalFactor[4];
  float expanderThreshold[4];
  float expanderAttack[4];
  float expanderRelease[4];
  int32_t drcFlag;
};

struct QbsParams {
  int32_t wideOn;
  int32_t wideMode;
  int32_t wideSurround;
  int32_t wideBass;
  int32_t reverbOn;
  int32_t reverbPreset;
  int32_t reverbFeedback;
  int32_t reverbShortDelay;
  int32_t reverbLongDelay;
  int32_t qbsFlag;
};

struct SmallEffectParams {
  int32_t on;
  int32_t value1;
  int32_t value2;
};

// A small effect's record as it travels with its type.
struct TypedSmallEffectParams {
  int32_t type;
  SmallEffectParams params;
};

struct SpectrumBands {
  int32_t level[20];
};

static_assert(sizeof(float) == 4, "records hold IEEE single floats");
static_assert(sizeof(EffectParams) == 1240, "EffectParams layout");
static_assert(offsetof(EffectParams, qvEqGain) == 8, "EffectParams layout");
static_assert(offsetof(EffectParams, lastEqOn) == 256, "EffectParams layout");
static_assert(offsetof(EffectParams, lastEqGain) == 264, "EffectParams layout");
static_assert(offsetof(EffectParams, crossoverOn) == 512, "EffectParams layout");
static_assert(offsetof(EffectParams, crossoverHzLeft) == 516, "EffectParams layout");
static_assert(offsetof(EffectParams, bandVolumeLeft) == 528, "EffectParams layout");
static_assert(offsetof(EffectParams, crossoverHzRight) == 544, "EffectParams layout");
static_assert(offsetof(EffectParams, bandVolumeRight) == 556, "EffectParams layout");
static_assert(offsetof(EffectParams, compressorOn) == 572, "EffectParams layout");
static_assert(offsetof(EffectParams, compressorNormalFactor) == 576, "EffectParams layout");
static_assert(offsetof(EffectParams, compressorThreshold) == 592, "EffectParams layout");
static_assert(offsetof(EffectParams, compressorAgcRange) == 608, "EffectParams layout");
static_assert(offsetof(EffectParams, compressorAttack) == 624, "EffectParams layout");
static_assert(offsetof(EffectParams, compressorRelease) == 640, "EffectParams layout");
static_assert(offsetof(EffectParams, myEqOn) == 656, "EffectParams layout");
static_assert(offsetof(EffectParams, myEqGain) == 664, "EffectParams layout");
static_assert(offsetof(EffectParams, drcEqOn) == 912, "EffectParams layout");
static_assert(offsetof(EffectParams, drcEqGain) == 920, "EffectParams layout");
static_assert(offsetof(EffectParams, expanderOn) == 1168, "EffectParams layout");
static_assert(offsetof(EffectParams, expanderNormalFactor) == 1172, "EffectParams layout");
static_assert(offsetof(EffectParams, expanderThreshold) == 1188, "EffectParams layout");
static_assert(offsetof(EffectParams, expanderAttack) == 1204, "EffectParams layout");
static_assert(offsetof(EffectParams, expanderRelease) == 1220, "EffectParams layout");
static_assert(offsetof(EffectParams, drcFlag) == 1236, "EffectParams layout");
static_assert(sizeof(QbsParams) == 40, "QbsParams layout");
static_assert(offsetof(QbsParams, qbsFlag) == 36, "QbsParams layout");
static_assert(sizeof(SmallEffectParams) == 12, "SmallEffectParams layout");
static_assert(sizeof(TypedSmallEffectParams) == 16, "TypedSmallEffectParams layout");
static_assert(sizeof(SpectrumBands) == 80, "SpectrumBands layout");

}  // namespace qv
