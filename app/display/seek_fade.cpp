#include "app/display/seek_fade.h"

namespace qv::display {

namespace {
constexpr int32_t kFadeSteps = 10;
}

bool SeekFade::OnDragMove() {
  bool silence = settlePending_;
  if (silence) done_ = true;
  settlePending_ = true;
  return silence;
}

SeekFade::Step SeekFade::OnTick(int32_t volume, bool muted) {
  if (muted) {
    done_ = true;
    return {0, true};
  }
  if (done_) {
    stepsLeft_ = kFadeSteps;
    fadeVolume_ = 0;
    done_ = false;
  }
  if (fadeVolume_ < volume && stepsLeft_ > 0) {
    fadeVolume_ = volume / stepsLeft_;
    --stepsLeft_;
  } else {
    stepsLeft_ = 0;  // reached (or above) the set volume: end here
  }
  if (stepsLeft_ == 0) {
    fadeVolume_ = volume;
    done_ = true;
  }
  return {fadeVolume_, done_};
}

}  // namespace qv::display
