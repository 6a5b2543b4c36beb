// Monkey's Audio decompression for the APE plug-in: a decompressor made for
// a wide path, its information queries, block reads, seeking to a block and
// the current position. Built over FFmpeg's APE demuxer and decoder; the
// file is always read as APE, never probed, so other content is refused.
// A block is one sample of every channel; blocks come out interleaved,
// little-endian, at the file's own width (8-bit unsigned, 16 or 24-bit
// signed).
#pragma once

#include <cstdint>
#include <memory>

namespace qv {

enum class ApeInfo {
  Channels,
  SampleRate,
  BitsPerSample,
  BlockAlign,      // bytes per block
  TotalBlocks,
  LengthMs,        // total blocks x 1000 / sample rate
  AverageBitrate,  // kbit/s over the whole file
  CurrentBlock,    // the next block GetData returns
  CurrentMs,       // that block in ms
};

class ApeDecompressor {
 public:
  // Null when the file cannot be opened or is not Monkey's Audio that can be
  // decoded.
  static std::unique_ptr<ApeDecompressor> Create(const char16_t* path);
  ~ApeDecompressor();
  ApeDecompressor(const ApeDecompressor&) = delete;
  ApeDecompressor& operator=(const ApeDecompressor&) = delete;

  int64_t GetInfo(ApeInfo field) const;
  // Decodes up to `blocks` blocks into buffer (BlockAlign bytes each);
  // *retrieved is 0 at the end of the file. False on a decoding error.
  bool GetData(uint8_t* buffer, int64_t blocks, int64_t* retrieved);
  // The next GetData starts exactly at `block` (clamped to the file).
  bool Seek(int64_t block);

 private:
  struct Media;
  explicit ApeDecompressor(std::unique_ptr<Media> media);
  // 1 a decoded frame with samples left, 0 the end, -1 an error.
  int NextFrame();
  void CopyOut(uint8_t* out, int64_t blocks);
  int64_t BlocksToMs(int64_t blocks) const;

  std::unique_ptr<Media> media_;
  int channels_ = 0;
  int sampleRate_ = 0;
  int bits_ = 0;
  int64_t totalBlocks_ = 0;
  int64_t fileBytes_ = 0;
  int64_t currentBlock_ = 0;
  int frameOffset_ = 0;        // blocks of the decoded frame already copied
  int64_t skip_ = 0;           // blocks to drop after a seek
  int64_t seekTarget_ = 0;
  bool awaitingSeekPacket_ = false;
  bool inputEnded_ = false;
  bool failed_ = false;
};

}  // namespace qv
