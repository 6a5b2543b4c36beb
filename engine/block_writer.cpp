// One block on its way from a decode loop to the output: the pending block,
// the seek handshake, the silence cuts, the effect chain and the prebuffer.
#include <chrono>
#include <cstring>

#include "engine/player_engine.h"
#include "platform/threads/thread_priority.h"

namespace qv {

WaveBlock* PlayerEngine::TakeFreeBlock() {
  ApplyWantedPriority();
  WaveBlock* block = output_->GetFreeBlock();
  pending_.block = block;
  pending_.freeBytes = block ? capacity_ : 0;
  return block;
}

void PlayerEngine::HandleSeekRequest() {
  if (Status() == PlayerStatus::Playing) prebufferWait_.store(true);
  output_->Reset();
  seekRequest_.store(false);
  pending_ = PendingBlock{};
}

void PlayerEngine::GiveBackBlock(WaveBlock* block) {
  block->bytesRecorded = 0;
  output_->Submit(block);
}

void PlayerEngine::HeadroomGain(uint8_t* data, size_t bytes) { ApplyGain(data, bytes, bits_, kHeadroomGain); }

bool PlayerEngine::SleepUnlessStopped(int ms) {
  if (stopRequest_.load()) return true;
  stopEvent_.WaitFor(std::chrono::milliseconds(ms));
  return stopRequest_.load();
}

void PlayerEngine::WriteBlock(WaveBlock* block, uint32_t bytes) {
  const int channels = format_.channels;
  const uint32_t frameBytes = static_cast<uint32_t>(bits_ / 8) * static_cast<uint32_t>(channels);
  const uint64_t rate = static_cast<uint64_t>(format_.sampleRate);
  const bool suppress = options_.SuppressZeroSamples != 0;

  if (kind_ != SourceKind::NetworkStream) {
    if (leadingCut_.load()) {
      // A source started from its beginning never fades in.
      output_->CancelFade();
      if (suppress) {
        const size_t silent = MeasureSilenceFromStart(block->data, bytes, bits_, channels);
        if (silent == bytes) {
          // All near-silent: give the block back; the cut stays armed.
          GiveBackBlock(block);
          basePosition_.fetch_add(bytes / frameBytes);
          return;
        }
        if (silent > 0) {
          std::memmove(block->data, block->data + silent, bytes - silent);
          bytes -= static_cast<uint32_t>(silent);
          basePosition_.fetch_add(silent / frameBytes);
        }
      }
      leadingCut_.store(false);
    } else if (suppress) {
      if (endSilence_.load()) {
        GiveBackBlock(block);
        return;
      }
      // Within the last ten seconds, trailing near-silence longer than 10 ms
      // ends the source. Unsigned like the counters: a source shorter than
      // ten seconds wraps the threshold and is never cut at its end.
      const uint64_t threshold = totalFrames_ - rate * 10;
      if (basePosition_.load() + writtenFrames_.load() >= threshold) {
        const size_t trailing = MeasureSilenceFromEnd(block->data, bytes, bits_, channels);
        if (trailing > frameBytes * rate / 100) {
          bytes -= static_cast<uint32_t>(trailing);
          endSilence_.store(true);
        }
      }
    }
  }

  block->bytesRecorded = bytes;
  if (bytes > 0) effects_.Process(block->data, bytes);
  Post(kWmEngineBlock, 0, 0);
  output_->Submit(block);
  writtenFrames_.fetch_add(bytes / frameBytes);
  StartIfPrebuffered();
  ApplyWantedPriority();
}

void PlayerEngine::StartIfPrebuffered() {
  if (!prebufferWait_.load()) return;
  std::lock_guard<std::mutex> lock(statusMutex_);
  if (!prebufferWait_.load() || Status() != PlayerStatus::Playing) return;
  const uint64_t rate = static_cast<uint64_t>(format_.sampleRate);
  const uint64_t needed =
      (static_cast<uint64_t>(options_.OutputBufferLen) * rate / 1000) * static_cast<uint64_t>(options_.OutputPrebuffer) / 100;
  if (output_->UnplayedFrames() >= needed || output_->AllBlocksQueued()) {
    output_->Pause(false);
    prebufferWait_.store(false);
    wantedPriority_.store(options_.ThreadPriority);
  }
}

}  // namespace qv
