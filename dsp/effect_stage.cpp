#include "dsp/effect_stage.h"

#include <algorithm>

#include "dsp/effect_params_apply.h"
#include "dsp/flush_to_zero.h"
#include "dsp/sample_convert.h"

namespace qv {

EffectStage::EffectStage() { EffectProcessor_Init(&processor_, kDesignRate); }

void EffectStage::SetParams(const EffectParams& params) {
  CountedLockGuard guard(lock_);
  params_ = params;
  ApplyLocked();
}

EffectParams EffectStage::Params() const {
  CountedLockGuard guard(lock_);
  return params_;
}

void EffectStage::Start(int bits, int rate, int channels) {
  CountedLockGuard guard(lock_);
  bits_ = bits;
  rate_ = rate > 0 ? rate : 0;
  channels_ = channels;
  EffectProcessor_ResetEq(&processor_);
  ApplyLocked();
}

void EffectStage::Stop() {
  CountedLockGuard guard(lock_);
  bits_ = 0;
  rate_ = 0;
}

EffectProcessor EffectStage::Snapshot() const {
  CountedLockGuard guard(lock_);
  return processor_;
}

void EffectStage::ApplyLocked() {
  ApplyEffectParams(&processor_, params_, rate_);
  lastEqOn_ = params_.lastEqOn;
  crossoverOn_ = params_.crossoverOn;
  qvEqOn_ = params_.qvEqOn;
  myEqOn_ = params_.myEqOn;
  compressorOn_ = params_.compressorOn;
  expanderOn_ = params_.expanderOn;
}

bool EffectStage::AnyEnabled() const {
  return lastEqOn_ || crossoverOn_ || qvEqOn_ || myEqOn_ || compressorOn_ || expanderOn_;
}

void EffectStage::Process(uint8_t* data, size_t bytes) {
  CountedLockGuard guard(lock_);
  if (rate_ == 0 || !AnyEnabled()) return;
  if (bits_ != 8 && bits_ != 16) return;
  // The processor's memories hold two channels.
  if (channels_ != 1 && channels_ != 2) return;
  if (data == nullptr) return;

  const size_t sampleBytes = static_cast<size_t>(bits_ / 8);
  const size_t frames = bytes / sampleBytes / static_cast<size_t>(channels_);
  EffectProcessor& p = processor_;
  p.eqOnLast = static_cast<uint32_t>(lastEqOn_);
  p.crossoverOn = static_cast<uint32_t>(crossoverOn_);
  p.eqOnMy = static_cast<uint32_t>(myEqOn_);
  p.eqOnQv = static_cast<uint32_t>(qvEqOn_);
  p.compressorOn = static_cast<uint32_t>(compressorOn_);
  p.channels = channels_;
  p.expanderOn = static_cast<uint32_t>(expanderOn_);
  p.sampleRate = rate_;

  ScopedFlushToZero ftz;
  EffectProcessor_ClearNonFinite(&p);
  for (size_t done = 0; done < frames;) {
    const size_t n = std::min<size_t>(kStageChunkFrames, frames - done);
    const size_t samples = n * static_cast<size_t>(channels_);
    uint8_t* pcm = data + done * static_cast<size_t>(channels_) * sampleBytes;
    PcmToFloats(pcm, bits_, buffer_, samples);
    EffectProcessor_Process(&p, buffer_, n);
    FloatsToPcm(buffer_, bits_, pcm, samples);
    done += n;
  }
}

}  // namespace qv
