// The MPEG decode loop, following the engine's block protocol: file bytes go
// into an input buffer, frames from it into the pending block.
#include <mad.h>

#include <cstring>
#include <new>
#include <vector>

#include "engine/mpeg/mpeg_source.h"

namespace qv {

namespace {

constexpr size_t kInputBytes = 16384;
constexpr size_t kSmallInputBytes = 2048;
// libmad decodes a frame only with this many bytes after it; at the end of
// the file zeros stand in for them.
constexpr size_t kGuardBytes = MAD_BUFFER_GUARD;

// The bytes read from the file and not yet decoded: data[begin, end).
class InputBuffer {
 public:
  bool Allocate() {
    for (size_t capacity : {kInputBytes, kSmallInputBytes}) {
      try {
        bytes_.resize(capacity + kGuardBytes);
        capacity_ = capacity;
        return true;
      } catch (const std::bad_alloc&) {
      }
    }
    return false;
  }
  void Clear() {
    begin_ = end_ = 0;
    guarded_ = false;
  }
  const uint8_t* Data() const { return bytes_.data() + begin_; }
  size_t Length() const { return end_ - begin_; }
  void Consume(size_t n) { begin_ += n < Length() ? n : Length(); }
  bool Full() const { return begin_ == 0 && end_ == capacity_; }
  // The end of the file was reached and the guard bytes appended.
  bool Guarded() const { return guarded_; }

  enum class Fill { Read, EndOfFile, Failed };
  // Moves the undecoded bytes to the front and reads as many as fit.
  Fill Refill(LockedFile& file) {
    const size_t keep = Length();
    if (begin_ > 0 && keep > 0) std::memmove(bytes_.data(), bytes_.data() + begin_, keep);
    begin_ = 0;
    end_ = keep;
    size_t got = 0;
    if (!file.Read(bytes_.data() + end_, capacity_ - end_, &got)) return Fill::Failed;
    if (got > 0) {
      end_ += got;
      return Fill::Read;
    }
    std::memset(bytes_.data() + end_, 0, kGuardBytes);
    end_ += kGuardBytes;
    guarded_ = true;
    return Fill::EndOfFile;
  }

 private:
  std::vector<uint8_t> bytes_;
  size_t capacity_ = 0;
  size_t begin_ = 0, end_ = 0;
  bool guarded_ = false;
};

// Moves the input to a frame start: the quick test at the current byte, or
// else the first byte from which a whole header of this stream parses.
// False when fewer than 4 bytes remain.
bool SyncInput(InputBuffer& input, const MpegStreamId& stream) {
  const uint8_t* data = input.Data();
  const size_t length = input.Length();
  if (length < 4) return false;
  if (QuickSync(data)) return true;
  for (size_t i = 1; i + 4 <= length; ++i) {
    MpegHeader h;
    if (ParseMpegHeaderAt(data + i, &h) && stream.Matches(h)) {
      input.Consume(i);
      return true;
    }
  }
  input.Consume(length - 3);
  return false;
}

enum class Step { BlockFull, Ended, Failed };

// Decodes into the pending block until it is full, the file has no more
// frames, or a read fails. Runs under the DecodeLock.
Step DecodeStep(PlayerEngine& engine, MpegState& s, InputBuffer& input) {
  PendingBlock& pending = engine.Pending();
  const uint32_t capacity = engine.BlockCapacity();
  MpegDecoder& decoder = *s.decoder;
  while (pending.freeBytes > 0) {
    bool needInput = false;
    if (!decoder.HasPending() && !SyncInput(input, s.stream)) needInput = true;
    if (!needInput) {
      uint8_t* out = pending.block->data + (capacity - pending.freeBytes);
      const bool holding = decoder.HasPending();
      size_t used = 0, written = 0;
      const auto result = decoder.Decode(holding ? nullptr : input.Data(), holding ? 0 : input.Length(), out,
                                         pending.freeBytes, s.dither, &used, &written);
      switch (result) {
        case MpegDecoder::kFrameDone:
        case MpegDecoder::kOutputFull:
          input.Consume(used);
          pending.freeBytes -= static_cast<uint32_t>(written);
          break;
        case MpegDecoder::kRecoverable:
          input.Consume(1);
          break;
        case MpegDecoder::kFatal:
          decoder.Reset();
          input.Consume(1);
          break;
        case MpegDecoder::kNeedInput:
          needInput = true;
          break;
      }
    }
    if (!needInput) continue;
    if (input.Guarded() || input.Full()) {
      // Nothing more will arrive (the end of the file), or a frame longer
      // than the whole buffer: drop a byte and look for the next frame,
      // until too little is left for a header.
      if (input.Length() < 4) return Step::Ended;
      input.Consume(1);
      continue;
    }
    if (input.Refill(engine.File()) == InputBuffer::Fill::Failed) return Step::Failed;
  }
  return Step::BlockFull;
}

}  // namespace

LoopResult MpegDecodeLoop(PlayerEngine& engine) {
  MpegState& s = *engine.State<MpegState>();
  InputBuffer input;
  if (!input.Allocate()) return LoopResult::Failed;
  PendingBlock& pending = engine.Pending();
  const uint32_t capacity = engine.BlockCapacity();
  for (;;) {
    if (!pending.block && !engine.TakeFreeBlock()) return LoopResult::Failed;
    Step step = Step::BlockFull;
    bool seeked = false;
    {
      CountedLockGuard decode(engine.DecodeLock());
      if (engine.SeekRequested()) {
        engine.HandleSeekRequest();
        s.decoder->Reset();
        s.decoder->SkipSamples(s.seekSkip, static_cast<unsigned>(s.first.samplesPerFrame));
        input.Clear();
        seeked = true;
      } else {
        step = DecodeStep(engine, s, input);
      }
    }
    if (step == Step::Failed) return LoopResult::Failed;
    // At the end the finish step writes what the pending block holds.
    if (step == Step::Ended) return LoopResult::SourceEnded;
    if (!seeked) {
      WaveBlock* block = pending.block;
      pending = PendingBlock{};
      engine.WriteBlock(block, capacity);
    }
    if (engine.StopRequested()) return LoopResult::Stopped;
    if (engine.EndSilenceReached()) return LoopResult::SourceEnded;
  }
}

}  // namespace qv
