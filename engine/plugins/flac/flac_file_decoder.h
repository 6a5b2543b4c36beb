// The FLAC plug-in's context: libFLAC's decoder reading a standard-library
// file opened by its wide path, the stream's format and the output of the
// last decoded frame, interleaved in the delivered format, waiting to be
// copied into the engine's blocks (a frame decoded while the engine's block
// has room for all of it goes there directly).
//
// The decoder reads through its stream callbacks rather than libFLAC's own
// FILE handling: libFLAC asks the C library's end-of-file indicator, which
// the Windows runtime does not always clear on a seek, so a stream that had
// been read to its end could no longer seek. Here the end is the position
// against the size measured at open.
#pragma once

#include <FLAC++/decoder.h>

#include <cstdint>
#include <cstdio>
#include <memory>
#include <vector>

#include "engine/plugins/decoder_plugin.h"

namespace qv {

class FileDecoder : public FLAC::Decoder::Stream {
 public:
  FileDecoder() = default;
  ~FileDecoder() override;

  // Opens the file and reads its metadata up to the audio; false when the
  // file cannot be opened, is not FLAC or has no usable stream information.
  bool Open(const char16_t* path);
  PluginFileInfo Info() const;

  // Copies at most one frame's output into the header.
  int Decode(PluginWaveHeader* header);
  // Repositions to ms of the duration; the reached ms, or -1 (the decoder
  // then carries on from where it was).
  int32_t Seek(int32_t ms);
  // End of playback: frees the output buffer and rewinds to sample 0.
  void Rewind();

  uint64_t TotalSamples() const { return totalSamples_; }

 protected:
  ::FLAC__StreamDecoderReadStatus read_callback(FLAC__byte buffer[], size_t* bytes) override;
  ::FLAC__StreamDecoderSeekStatus seek_callback(FLAC__uint64 absolute_byte_offset) override;
  ::FLAC__StreamDecoderTellStatus tell_callback(FLAC__uint64* absolute_byte_offset) override;
  ::FLAC__StreamDecoderLengthStatus length_callback(FLAC__uint64* stream_length) override;
  bool eof_callback() override;
  ::FLAC__StreamDecoderWriteStatus write_callback(const ::FLAC__Frame* frame,
                                                  const FLAC__int32* const buffer[]) override;
  void metadata_callback(const ::FLAC__StreamMetadata* metadata) override;
  void error_callback(::FLAC__StreamDecoderErrorStatus status) override;

 private:
  void ClearPending() {
    pending_ = nullptr;
    pendingBytes_ = 0;
  }
  // The first sample not yet copied out.
  uint64_t NextSample() const;
  uint32_t FrameBytes() const { return channels_ * static_cast<uint32_t>(outBits_ / 8); }

  std::unique_ptr<char[]> stdioBuffer_;  // declared first: destroyed after the file is closed
  std::FILE* file_ = nullptr;
  uint64_t fileSize_ = 0;
  uint32_t channels_ = 0;
  uint32_t sampleRate_ = 0;
  int bits_ = 0;     // of the stream
  int outBits_ = 0;  // delivered: 8 or 16
  int32_t bitrateKbps_ = 0;
  int32_t durationMs_ = 0;
  uint64_t totalSamples_ = 0;  // 0 when the stream information does not say

  std::vector<uint8_t> output_;  // grows to the largest frame; freed by Rewind
  const uint8_t* pending_ = nullptr;
  uint32_t pendingBytes_ = 0;
  // While Decode runs: the header's room. A frame that fits is interleaved
  // straight into it (directBytes_), without the copy through output_.
  uint8_t* direct_ = nullptr;
  uint32_t directRoom_ = 0;
  uint32_t directBytes_ = 0;
  uint64_t frameSample_ = 0;  // first sample of the frame in output_
  uint32_t frameFrames_ = 0;  // its length in samples per channel
};

}  // namespace qv
