// The two WAV decode loops, both following the engine's block protocol.
#include <algorithm>
#include <cstring>
#include <vector>

#include "engine/wav/wav_source.h"

namespace qv {

namespace {

uint64_t Remaining(const WavState& wav) { return wav.consumed < wav.dataLength ? wav.dataLength - wav.consumed : 0; }

}  // namespace

// PCM: each block is one read of whole frames.
LoopResult WavPcmLoop(PlayerEngine& engine, WavState& wav) {
  const uint32_t frameBytes = uint32_t(wav.dest.channels) * (wav.dest.bitsPerSample / 8);
  PendingBlock& pending = engine.Pending();
  for (;;) {
    if (!pending.block && !engine.TakeFreeBlock()) return LoopResult::Failed;
    WaveBlock* block = pending.block;
    uint32_t got = 0;
    bool seeked = false, dataUsedUp = false;
    {
      CountedLockGuard decode(engine.DecodeLock());
      if (engine.SeekRequested()) {
        engine.HandleSeekRequest();
        seeked = true;
      } else {
        uint64_t want = std::min<uint64_t>(Remaining(wav), engine.BlockCapacity());
        want -= want % frameBytes;
        size_t read = 0;
        if (want > 0 && !engine.File().Read(block->data, static_cast<size_t>(want), &read)) return LoopResult::Failed;
        // A file cut short inside a frame: the partial frame is not played.
        got = static_cast<uint32_t>(read - read % frameBytes);
        if (got == 0) return LoopResult::SourceEnded;
        engine.HeadroomGain(block->data, got);
        wav.consumed += read;
        // Read under the lock: a seek may move it once the lock is released.
        dataUsedUp = Remaining(wav) == 0;
      }
    }
    if (!seeked) {
      pending = PendingBlock{};
      engine.WriteBlock(block, got);
      if (dataUsedUp || engine.EndSilenceReached()) return LoopResult::SourceEnded;
    }
    if (engine.StopRequested()) return LoopResult::Stopped;
    if (engine.EndSilenceReached()) return LoopResult::SourceEnded;
  }
}

// Other formats: each block carries the output of one conversion of at most
// 4096 source bytes. Source bytes the converter leaves unused are fed again
// at the front of the next conversion.
LoopResult WavCompressedLoop(PlayerEngine& engine, WavState& wav) {
  constexpr uint32_t kInputBytes = 4096;
  std::vector<uint8_t> input(kInputBytes);
  uint32_t carried = 0;
  const uint32_t capacity = engine.BlockCapacity();
  PendingBlock& pending = engine.Pending();
  for (;;) {
    if (pending.block) {
      WaveBlock* full = pending.block;
      const uint32_t bytes = capacity - pending.freeBytes;
      pending = PendingBlock{};
      engine.WriteBlock(full, bytes);
      if (engine.EndSilenceReached()) return LoopResult::SourceEnded;
    }
    if (!engine.TakeFreeBlock()) return LoopResult::Failed;
    bool ended = false;
    {
      CountedLockGuard decode(engine.DecodeLock());
      if (engine.SeekRequested()) {
        engine.HandleSeekRequest();
        wav.stream->Reset();
        carried = 0;
      } else {
        WaveBlock* block = pending.block;
        uint32_t want = wav.stream->SourceBytesFor(pending.freeBytes);
        want = static_cast<uint32_t>(std::min<uint64_t>(want, Remaining(wav)));
        want = std::min(want, kInputBytes - carried);
        size_t read = 0;
        if (want > 0 && !engine.File().Read(input.data() + carried, want, &read)) return LoopResult::Failed;
        wav.consumed += read;
        if (want > 0 && read == 0) wav.consumed = wav.dataLength;  // the file ended early
        const uint32_t available = carried + static_cast<uint32_t>(read);
        if (available == 0) {
          // Nothing left to convert, or a block too small for one unit of
          // this format while data remains.
          return Remaining(wav) == 0 ? LoopResult::SourceEnded : LoopResult::Failed;
        }
        uint32_t used = 0, produced = 0;
        uint8_t* out = block->data + (capacity - pending.freeBytes);
        if (!wav.stream->Convert(input.data(), available, out, pending.freeBytes, &used, &produced))
          return LoopResult::Failed;
        used = std::min(used, available);
        produced = std::min(produced, pending.freeBytes);
        engine.HeadroomGain(out, produced);
        pending.freeBytes -= produced;
        carried = available - used;
        if (carried > 0) std::memmove(input.data(), input.data() + used, carried);
        if (used == 0 && read == 0) {
          // No input moved: what is left cannot be converted. At the end of
          // the data that is the end; otherwise the format cannot be played
          // in blocks of this size.
          return Remaining(wav) == 0 ? LoopResult::SourceEnded : LoopResult::Failed;
        }
        if (used == 0 && produced == 0 && carried == kInputBytes) return LoopResult::Failed;
        ended = Remaining(wav) == 0 && carried == 0;
      }
    }
    if (ended) return LoopResult::SourceEnded;
    if (engine.StopRequested()) return LoopResult::Stopped;
  }
}

}  // namespace qv
