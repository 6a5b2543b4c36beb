#include "tests/dsp/stage_helpers.h"

#include <algorithm>

namespace qv::test {

EffectParams DefaultRecord() {
  EffectParams p{};
  const int32_t hz[3] = {100, 320, 4000};
  for (int k = 0; k < 3; ++k) p.crossoverHzLeft[k] = p.crossoverHzRight[k] = hz[k];
  for (int b = 0; b < 4; ++b) {
    p.bandVolumeLeft[b] = p.bandVolumeRight[b] = 100;
    p.compressorNormalFactor[b] = p.expanderNormalFactor[b] = 50;
    p.compressorThreshold[b] = p.expanderThreshold[b] = -30;
    p.compressorAgcRange[b] = 0;
    p.compressorAttack[b] = p.expanderAttack[b] = 0.4f;
    p.compressorRelease[b] = p.expanderRelease[b] = 4;
  }
  return p;
}

template <typename T>
void Run(EffectStage& stage, std::vector<T>& pcm, int channels, size_t blockFrames) {
  const size_t frames = pcm.size() / static_cast<size_t>(channels);
  for (size_t at = 0; at < frames; at += blockFrames) {
    const size_t n = std::min(blockFrames, frames - at);
    stage.Process(reinterpret_cast<uint8_t*>(pcm.data() + at * channels), n * channels * sizeof(T));
  }
}

void RunStage(EffectStage& stage, std::vector<int16_t>& pcm, int channels, size_t blockFrames) {
  Run(stage, pcm, channels, blockFrames);
}

void RunStage(EffectStage& stage, std::vector<uint8_t>& pcm, int channels, size_t blockFrames) {
  Run(stage, pcm, channels, blockFrames);
}

}  // namespace qv::test
