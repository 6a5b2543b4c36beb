// A wave-out device without sound hardware: it plays blocks on its own thread,
// either at once or paced in real time, honours pause and reset, and records
// every byte it played. It can be told to report no device, or "already
// allocated" for the next N opens.
#pragma once

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

  explicit VirtualWaveOut(Pace pace = Pace::Instant);
  ~VirtualWaveOut() override;

  // Test controls.
  void SetDeviceCount(int count);
  void FailNextOpensAllocated(int count);
  // Position stops advancing at this many frames (0: never), to imitate a
  // driver whose position falls short of what it played.
  void StallPositionAt(uint64_t frames);

  // What was played, in order, across opens (reset discards unplayed blocks).
  std::vector<uint8_t> Played() const;
  PcmFormat Format() const;
  int OpenCount() const;
  int WriteCount() const;
  bool IsOpen() const;
  bool IsPaused() const;

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

  const Pace pace_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::thread worker_;
  bool quit_ = false;
  bool busy_ = false;  // the worker is inside a callback

  int deviceCount_ = 1;
  int failAllocated_ = 0;
  uint64_t stallAt_ = 0;
  bool open_ = false;
  bool paused_ = false;
  PcmFormat format_;
  DoneCallback done_ = nullptr;
  void* context_ = nullptr;
  std::deque<WaveBlock*> queue_;
  std::deque<WaveBlock*> returned_;  // reset blocks still to call back
  uint64_t position_ = 0;
  std::vector<uint8_t> played_;
  int openCount_ = 0;
  int writeCount_ = 0;
};

}  // namespace qv
