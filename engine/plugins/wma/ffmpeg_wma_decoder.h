// The project's own WMA decoder object: the media object operations over
// FFmpeg's Windows Media Audio v1 and v2 decoders. Input is the compressed
// stream in any slicing (payloads, fragments of media objects); it is cut
// into the blocks of the stream's block alignment, each decoded on its own.
// Output is interleaved 16-bit PCM of the stream's channels and rate.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "platform/media/media_object.h"

namespace qv {

class FfmpegWmaDecoder final : public MediaObject {
 public:
  FfmpegWmaDecoder();
  ~FfmpegWmaDecoder() override;

  // WMA v1 or v2 in a wave format record (its extra data carries the
  // encoder's options), one or two channels.
  bool SetInputType(const MediaType& type) override;
  // PCM, 16 bits, with the input's channels and rate.
  bool SetOutputType(const MediaType& type) override;
  bool AllocateStreamingResources() override;
  void FreeStreamingResources() override;
  InputResult ProcessInput(CMediaBuffer* buffer, bool syncPoint) override;
  OutputResult ProcessOutput(CMediaBuffer* buffer, bool* more) override;
  void Discontinuity() override;
  void Flush() override;

 private:
  struct Codec;

  bool HoldsOutput() const;
  size_t Queued() const { return input_.size() - inputAt_; }
  void DecodeBlock();
  void DrainCodec();
  void ReceiveFrames();
  void ClearInput();

  std::vector<uint8_t> inputFormat_;
  uint16_t formatTag_ = 0;
  uint16_t channels_ = 0;
  uint32_t sampleRate_ = 0;
  uint32_t avgBytesPerSec_ = 0;
  uint16_t blockAlign_ = 0;
  bool outputSet_ = false;

  std::unique_ptr<Codec> codec_;
  std::vector<uint8_t> input_;    // compressed bytes not yet decoded, from inputAt_
  size_t inputAt_ = 0;
  // Decoded PCM not yet handed out: [pendingAt_, pendingEnd_). The vector
  // only grows, so that decoding does not clear bytes it then overwrites.
  std::vector<uint8_t> pending_;
  size_t pendingAt_ = 0;
  size_t pendingEnd_ = 0;
  bool discontinuity_ = false;
};

}  // namespace qv
