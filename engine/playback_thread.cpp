// The playback thread: its body, the preparation of the output and the
// finish step that drains, closes and reports.
#include <chrono>

#include "engine/player_engine.h"
#include "platform/threads/thread_priority.h"

namespace qv {

void PlayerEngine::Post(uint32_t message, uintptr_t wParam, intptr_t lParam) {
  notify_->Post(window_.load(), message, wParam, lParam);
}

void PlayerEngine::SetStatus(PlayerStatus status, intptr_t lParam) {
  std::lock_guard<std::mutex> lock(statusMutex_);
  SetStatusLocked(status, lParam);
}

// Stored first, then posted, both under the status mutex: the posted order is
// the stored order and the same status is never posted twice in a row.
void PlayerEngine::SetStatusLocked(PlayerStatus status, intptr_t lParam) {
  if (Status() == status) return;
  status_.store(static_cast<int>(status));
  Post(kWmEngineStatus, static_cast<uintptr_t>(status), lParam);
}

void PlayerEngine::ApplyWantedPriority() {
  const int wanted = wantedPriority_.load();
  if (wanted == appliedPriority_) return;
  SetCurrentThreadPriority(wanted);
  appliedPriority_ = wanted;
}

void PlayerEngine::ThreadBody() {
  appliedPriority_ = kPriorityNormal;
  SetStatus(PlayerStatus::Opening);
  const PrepareResult prepared = Prepare();
  if (prepared != PrepareResult::Ready) {
    // A preparation cut short by Engine_Stop is a stop, not a failure.
    Finish(false, prepared == PrepareResult::Failed);
    return;
  }
  SetStatus(PlayerStatus::Playing);
  for (;;) {
    const LoopResult result = ops_->decodeLoop ? ops_->decodeLoop(*this) : LoopResult::Failed;
    if (result == LoopResult::Stopped) {
      Finish(false, false);
      return;
    }
    if (result == LoopResult::Failed) {
      Finish(false, true);
      return;
    }
    // The source ended: drain. A seek during the drain resumes decoding.
    if (Finish(true, false)) return;
  }
}

PlayerEngine::PrepareResult PlayerEngine::Prepare() {
  // Engine_Stop holds ApiLock while it waits for this thread, so the lock is
  // only tried here, and the wait gives up as soon as a stop is requested.
  for (;;) {
    if (stopRequest_.load()) return PrepareResult::Stopped;
    if (apiLock_.try_lock()) break;
    stopEvent_.WaitFor(std::chrono::milliseconds(1));
  }
  struct Unlock {
    CountedRecursiveLock& lock;
    ~Unlock() { lock.unlock(); }
  } unlock{apiLock_};
  if (stopRequest_.load()) return PrepareResult::Stopped;

  const int channels = format_.channels, rate = format_.sampleRate, bits = bits_;
  if (channels <= 0 || rate <= 0 || bits <= 0 || bits % 8 != 0) return PrepareResult::Failed;
  if (!output_->Open(channels, rate, bits)) return PrepareResult::Failed;
  const uint32_t frameBytes = static_cast<uint32_t>(channels) * static_cast<uint32_t>(bits / 8);
  capacity_ = output_->BlockSize() - output_->BlockSize() % frameBytes;
  if (capacity_ == 0) return PrepareResult::Failed;
  output_->Pause(true);
  pending_ = PendingBlock{};
  if (ops_->playbackStarted) ops_->playbackStarted(*this);
  effects_.Start(bits, rate, channels);
  prebufferWait_.store(true);
  wantedPriority_.store(kPriorityBelowNormal);
  ApplyWantedPriority();
  return PrepareResult::Ready;
}

bool PlayerEngine::Finish(bool drain, bool failed) {
  if (drain) {
    if (pending_.block) {
      WaveBlock* block = pending_.block;
      const uint32_t bytes = capacity_ - pending_.freeBytes;
      pending_ = PendingBlock{};
      WriteBlock(block, bytes);
    }
    // Ends when the position has reached what was submitted and every block
    // is back from the device (some drivers report the position ahead of
    // the last block). When only one of the two holds and nothing moves for
    // a while, it ends too: a driver whose position stops short, or that
    // keeps a block, cannot hold the end of a track.
    constexpr auto kNoProgress = std::chrono::milliseconds(500);
    uint64_t lastPosition = output_->Position();
    uint32_t lastQueued = output_->QueuedBlocks();
    auto lastMove = std::chrono::steady_clock::now();
    for (;;) {
      const bool drained = output_->Drained(), empty = output_->NothingQueued();
      if (drained && empty) break;
      const uint64_t position = output_->Position();
      const uint32_t queued = output_->QueuedBlocks();
      const auto now = std::chrono::steady_clock::now();
      if (position != lastPosition || queued != lastQueued) {
        lastPosition = position;
        lastQueued = queued;
        lastMove = now;
      } else if ((drained || empty) && now - lastMove >= kNoProgress) {
        break;
      }
      if (prebufferWait_.load()) {
        // A source shorter than the prebuffer still plays.
        std::lock_guard<std::mutex> lock(statusMutex_);
        if (prebufferWait_.load() && Status() == PlayerStatus::Playing) {
          output_->Pause(false);
          prebufferWait_.store(false);
        }
      }
      std::this_thread::sleep_for(std::chrono::milliseconds(1));
      if (seekRequest_.load()) return false;
      if (stopRequest_.load()) break;
      Post(kWmEngineBlock, 0, 0);
    }
  }

  const bool alwaysOpen = options_.AlwaysOpenDev != 0;
  if (alwaysOpen)
    output_->Reset();
  else
    output_->Close();
  if (ops_->playbackEnded) ops_->playbackEnded(*this);
  effects_.Stop();
  if (!alwaysOpen || failed) output_->Close();

  pending_ = PendingBlock{};
  basePosition_.store(0);
  prebufferWait_.store(false);
  stopRequest_.store(false);
  seekRequest_.store(false);
  if (ops_->rewind) {
    CountedLockGuard decode(decodeLock_);
    ops_->rewind(*this);
  }
  Post(kWmEngineBlock, 0, 0);
  {
    std::lock_guard<std::mutex> lock(statusMutex_);
    playbackActive_.store(false);
    SetStatusLocked(PlayerStatus::Stopped, failed ? 1 : 0);
  }
  return true;
}

}  // namespace qv
