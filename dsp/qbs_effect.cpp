#include "dsp/qbs_effect.h"

#include <algorithm>

#include "dsp/flush_to_zero.h"
#include "dsp/sample_convert.h"

namespace qv {

void QbsEffect::SetParams(const QbsParams& params) {
  CountedLockGuard guard(lock_);
  params_ = params;
  params_.qbsFlag = 0;
  settings_.mode = params.wideMode;
  settings_.surround = params.wideSurround;
  settings_.bass = params.wideBass;
  settings_.preset = params.reverbPreset;
  settings_.feedback = params.reverbFeedback;
  settings_.shortDelay = params.reverbShortDelay;
  settings_.longDelay = params.reverbLongDelay;
  if (channels_ != 0 && rate_ != 0 && OnLocked()) InitLocked();
}

QbsParams QbsEffect::Params() const {
  CountedLockGuard guard(lock_);
  return params_;
}

void QbsEffect::Format(int bits, int rate, int channels) {
  CountedLockGuard guard(lock_);
  bits_ = bits;
  rate_ = rate > 0 ? rate : 0;
  channels_ = channels > 0 ? channels : 0;
  if (channels_ != 0 && rate_ != 0 && OnLocked()) InitLocked();
}

void QbsEffect::InitLocked() {
  wide_.Init(rate_);
  reverb_.Init(rate_);
}

void QbsEffect::RunLocked(float* frames, size_t count) {
  if (params_.wideOn) {
    const WideSettings wide{settings_.mode, ClampQbsStep(settings_.surround), ClampQbsStep(settings_.bass)};
    wide_.Process(frames, count, wide);
  }
  if (params_.reverbOn) {
    const ReverbSteps steps =
        ReverbPresetSteps(settings_.preset, settings_.feedback, settings_.shortDelay, settings_.longDelay);
    reverb_.Process(frames, count, steps);
  }
}

void QbsEffect::Process(uint8_t* data, size_t bytes) {
  CountedLockGuard guard(lock_);
  if (rate_ == 0 || !OnLocked()) return;
  if (bits_ != 8 && bits_ != 16) return;
  if (channels_ != 2 || data == nullptr) return;

  const size_t sampleBytes = static_cast<size_t>(bits_ / 8);
  const size_t frames = bytes / sampleBytes / 2;
  ScopedFlushToZero ftz;
  for (size_t done = 0; done < frames;) {
    const size_t n = std::min<size_t>(kQbsChunkFrames, frames - done);
    uint8_t* pcm = data + done * 2 * sampleBytes;
    PcmToFloats(pcm, bits_, buffer_, 2 * n);
    RunLocked(buffer_, n);
    FloatsToPcm(buffer_, bits_, pcm, 2 * n);
    done += n;
  }
}

void QbsEffect::ProcessFrames(float* frames, size_t count) {
  CountedLockGuard guard(lock_);
  if (rate_ == 0 || !OnLocked() || channels_ != 2 || frames == nullptr) return;
  ScopedFlushToZero ftz;
  RunLocked(frames, count);
}

}  // namespace qv
