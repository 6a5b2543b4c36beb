// A wave-out device without sound hardware: it plays blocks on its own thread,
// either at once or paced in real time, honours pause and reset, and counts
// (and unless told otherwise keeps) every byte it played. It can be told to
// report no device, or "already allocated" for the next N opens.
//
// Callbacks run on the device's thread with none of its own locks held. Reset
// and Close return only after the blocks they returned have been called back
// (unless completions are held), so the caller may hold locks of its own as
// long as the callback does not need them. Never call Reset or Close from
// inside the callback.
#pragma once

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/audio/wave_out.h"

namespace qv {

class VirtualWaveOut : public WaveOutDriver {
 public:
  enum class Pace { Instant, RealTime };
  // Bytes: every byte played is kept for Played(). CountOnly: only counted,
  // for a device that plays for long or whose output nobody reads.
  enum class Keep { Bytes, CountOnly };

  explicit VirtualWaveOut(Pace pace = Pace::Instant, Keep keep = Keep::Bytes);
  ~VirtualWaveOut() override;

  // Test controls.
  // Changes the pace from the next slice on; a paced slice in progress is
  // dropped and played again at the new pace.
  void SetPace(Pace pace);
  void SetDeviceCount(int count);
  void FailNextOpensAllocated(int count);
  // Position stops advancing at this many frames (0: never), to imitate a
  // driver whose position falls short of what it played.
  void StallPositionAt(uint64_t frames);
  // The next `count` writes fail (the block is not queued).
  void FailNextWrites(int count);
  // While held, no block is played or called back; Reset then returns at
  // once and its completions arrive only after the hold is released, like a
  // driver that returns blocks late.
  void HoldCompletions(bool hold);

  // What was played, in order, across opens (reset discards unplayed
  // blocks); empty when the device only counts.
  std::vector<uint8_t> Played() const;
  PcmFormat Format() const;
  int OpenCount() const;
  // Bytes played across opens, kept or not.
  uint64_t PlayedBytes() const;
  int WriteCount() const;
  int CallbackCount() const;
  bool IsOpen() const;
  bool IsPaused() const;
  // Waits until at least `bytes` have been played; false on timeout.
  bool WaitForPlayed(uint64_t bytes, std::chrono::milliseconds timeout);
  // Waits until every block written so far has been played and called back.
  bool WaitUntilIdle(std::chrono::milliseconds timeout);

  int DeviceCount() override;
  WaveResult Open(const PcmFormat& format, DoneCallback done, void* context) override;
  bool Prepare(WaveBlock* block) override;
  bool Unprepare(WaveBlock* block) override;
  bool Write(WaveBlock* block) override;
  bool Pause() override;
  bool Restart() override;
  bool Reset() override;
  uint64_t PositionSamples() override;
  bool Close() override;

 private:
  void Run();
  // Plays `bytes` more of the head block.
  void PlayHead(uint32_t bytes);
  // Calls the owner back for a finished block, with the lock released.
  void Deliver(std::unique_lock<std::mutex>& lock, WaveBlock* block);
  bool CallbacksSettled() const;

  Pace pace_;  // under mutex_
  const Keep keep_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::thread worker_;
  bool quit_ = false;
  bool busy_ = false;  // the worker is inside a callback
  bool hold_ = false;
  uint64_t generation_ = 0;  // changes on pause, reset, close and a new pace: a paced slice in progress is dropped

  int deviceCount_ = 1;
  int failAllocated_ = 0;
  int failWrites_ = 0;
  uint64_t stallAt_ = 0;
  bool open_ = false;
  bool paused_ = false;
  PcmFormat format_;
  DoneCallback done_ = nullptr;
  void* context_ = nullptr;
  std::deque<WaveBlock*> queue_;
  std::deque<WaveBlock*> returned_;  // reset blocks still to call back
  uint32_t headPlayed_ = 0;      // bytes of the head block already played
  uint64_t playedSinceReset_ = 0;  // bytes, for the position
  std::vector<uint8_t> played_;  // with Keep::Bytes
  uint64_t playedBytes_ = 0;
  int openCount_ = 0;
  int writeCount_ = 0;
  int callbackCount_ = 0;
};

}  // namespace qv
