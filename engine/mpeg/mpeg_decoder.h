// One frame at a time through libmad: decodes and synthesises a frame and
// converts it to 16-bit PCM in the stream's channel count, keeping what does
// not fit the caller's space for the next call.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/mpeg/mpeg_dither.h"

namespace qv {

class MpegDecoder {
 public:
  enum Result {
    kFrameDone = 0,       // the frame decoded and all its samples delivered
    kNeedInput = 1,       // the input holds no complete frame
    kOutputFull = 2,      // the output filled up; samples remain pending
    kRecoverable = -1,    // a damaged frame; skip and go on
    kFatal = -2,          // anything else; the decoder must start afresh
  };

  // channels: of the output, 1 or 2, whatever each frame carries.
  explicit MpegDecoder(int channels);
  ~MpegDecoder();
  MpegDecoder(const MpegDecoder&) = delete;
  MpegDecoder& operator=(const MpegDecoder&) = delete;

  // Forgets everything decoded so far, as a new decoder would, keeping
  // libmad's buffers so that this allocates nothing.
  void Reset();
  bool HasPending() const { return pendingFrames_ > 0; }
  // After a seek: the next `samples` sample frames of the stream are not
  // delivered. Decoded samples are dropped, and a frame that fails after its
  // header was read still passes its samplesPerFrame (so that the frames
  // that only refill layer III's bit reservoir keep the count right).
  void SkipSamples(uint64_t samples, unsigned samplesPerFrame) {
    skip_ = samples;
    samplesPerFrame_ = samplesPerFrame;
  }

  // First delivers pending samples (whole sample frames), then decodes one
  // frame from input (which may be empty while samples are pending).
  // *inputUsed: bytes up to the next frame, for kFrameDone and kOutputFull.
  Result Decode(const uint8_t* input, size_t inputLength, uint8_t* out, size_t outSpace, DitherChannel* dither,
                size_t* inputUsed, size_t* outputWritten);

 private:
  size_t Deliver(uint8_t* out, size_t outSpace, DitherChannel* dither);

  struct Mad;
  std::unique_ptr<Mad> mad_;
  int channels_;
  unsigned pendingStart_ = 0;   // first undelivered sample frame of the synthesised PCM
  unsigned pendingFrames_ = 0;  // sample frames not yet delivered
  uint64_t skip_ = 0;
  unsigned samplesPerFrame_ = 0;
};

}  // namespace qv
