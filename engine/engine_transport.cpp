// Play, pause, stop, seek and volume.
#include <system_error>

#include "engine/player_engine.h"
#include "platform/threads/thread_priority.h"

namespace qv {

bool PlayerEngine::Play() {
  CountedLockGuard api(apiLock_);
  if (kind_ == SourceKind::None) return false;
  if (Status() == PlayerStatus::Paused) {
    Pause();
    return true;
  }
  // Opening, Playing, or a thread created a moment ago that has not yet
  // stored Opening.
  if (Status() != PlayerStatus::Stopped || playbackActive_.load()) return false;
  JoinFinishedThread();
  playbackActive_.store(true);
  try {
    thread_ = std::thread(&PlayerEngine::ThreadBody, this);
  } catch (const std::system_error&) {
    playbackActive_.store(false);
    return false;
  }
  return true;
}

bool PlayerEngine::Pause() {
  CountedLockGuard api(apiLock_);
  if (kind_ == SourceKind::None || kind_ == SourceKind::NetworkStream) return false;
  // Under the status mutex, so that the thread's prebuffer check cannot
  // restart a device that was paused a moment after it looked at the status.
  std::lock_guard<std::mutex> status(statusMutex_);
  if (Status() == PlayerStatus::Playing) {
    SetStatusLocked(PlayerStatus::Paused, 0);
    output_->Pause(true);
    prebufferWait_.store(false);
    return true;
  }
  if (Status() == PlayerStatus::Paused) {
    if (output_->AllBlocksQueued())
      output_->Pause(false);
    else
      prebufferWait_.store(true);
    SetStatusLocked(PlayerStatus::Playing, 0);
    return true;
  }
  return false;
}

bool PlayerEngine::Stop() {
  CountedLockGuard api(apiLock_);
  if (thread_.joinable()) {
    // The thread never waits for ApiLock while a stop is requested (see
    // Prepare), so holding it here cannot deadlock.
    stopRequest_.store(true);
    stopEvent_.Set();
    output_->Reset();
    thread_.join();
    playbackActive_.store(false);
  }
  writtenFrames_.store(0);
  basePosition_.store(0);
  endSilence_.store(false);
  prebufferWait_.store(false);
  stopRequest_.store(false);
  seekRequest_.store(false);
  stopEvent_.Reset();
  CountedLockGuard decode(decodeLock_);
  return SeekLocked(0);
}

bool PlayerEngine::Seek(int32_t ms) {
  CountedLockGuard api(apiLock_);
  CountedLockGuard decode(decodeLock_);
  return SeekLocked(ms);
}

bool PlayerEngine::SeekLocked(int32_t ms) {
  if (!ops_ || !ops_->reposition) return false;
  if (ms < 0) ms = 0;
  if (ms >= LengthMs()) return false;
  if (!ops_->reposition(*this, static_cast<uint32_t>(ms))) return false;
  leadingCut_.store(basePosition_.load() == 0);
  writtenFrames_.store(0);
  endSilence_.store(false);
  wantedPriority_.store(kPriorityBelowNormal);
  return true;
}

int PlayerEngine::SetVolume(int volume) {
  CountedLockGuard api(apiLock_);
  CountedLockGuard decode(decodeLock_);
  output_->SetVolume(volume);
  return volume;
}

void PlayerEngine::CloseDevice() {
  CountedLockGuard api(apiLock_);
  if (Status() != PlayerStatus::Stopped || playbackActive_.load()) Stop();
  JoinFinishedThread();
  output_->Close();
}

// A thread that has posted its final status only has its last steps left.
void PlayerEngine::JoinFinishedThread() {
  if (thread_.joinable() && !playbackActive_.load()) thread_.join();
}

void PlayerEngine::RepositionOutput(uint64_t baseFrames) {
  basePosition_.store(baseFrames);
  seekRequest_.store(true);
  output_->Reset();
}

}  // namespace qv
