#include "platform/audio/virtual_wave_out.h"

#include <algorithm>

namespace qv {

namespace {

bool IsPlayablePcm(const PcmFormat& f) {
  const bool knownWidth = f.bitsPerSample == 8 || f.bitsPerSample == 16 || f.bitsPerSample == 24 ||
                          f.bitsPerSample == 32;
  return f.formatTag == 1 && f.channels > 0 && f.samplesPerSec > 0 && knownWidth &&
         f.blockAlign == f.channels * f.bitsPerSample / 8 &&
         uint64_t{f.avgBytesPerSec} == uint64_t{f.samplesPerSec} * f.blockAlign;
}

// Paced play advances in slices of about 10 ms, so pause and reset take
// effect within one slice.
uint32_t SliceBytes(const PcmFormat& f) {
  const uint32_t align = std::max<uint32_t>(f.blockAlign, 1);
  return std::max<uint32_t>(f.avgBytesPerSec / 100 / align, 1) * align;
}

}  // namespace

// Started in the body: the worker uses members declared after worker_.
VirtualWaveOut::VirtualWaveOut(Pace pace, Keep keep) : pace_(pace), keep_(keep) {
  worker_ = std::thread([this] { Run(); });
}

VirtualWaveOut::~VirtualWaveOut() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    quit_ = true;
    hold_ = false;
  }
  wake_.notify_all();
  idle_.notify_all();
  worker_.join();
}

void VirtualWaveOut::SetPace(Pace pace) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    pace_ = pace;
    ++generation_;
  }
  wake_.notify_all();
}

void VirtualWaveOut::SetDeviceCount(int count) {
  std::lock_guard<std::mutex> lock(mutex_);
  deviceCount_ = count;
}

void VirtualWaveOut::FailNextOpensAllocated(int count) {
  std::lock_guard<std::mutex> lock(mutex_);
  failAllocated_ = count;
}

void VirtualWaveOut::StallPositionAt(uint64_t frames) {
  std::lock_guard<std::mutex> lock(mutex_);
  stallAt_ = frames;
}

void VirtualWaveOut::FailNextWrites(int count) {
  std::lock_guard<std::mutex> lock(mutex_);
  failWrites_ = count;
}

void VirtualWaveOut::HoldCompletions(bool hold) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    hold_ = hold;
    ++generation_;
  }
  wake_.notify_all();
}

std::vector<uint8_t> VirtualWaveOut::Played() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return played_;
}

PcmFormat VirtualWaveOut::Format() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return format_;
}

int VirtualWaveOut::OpenCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return openCount_;
}

uint64_t VirtualWaveOut::PlayedBytes() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return playedBytes_;
}

int VirtualWaveOut::WriteCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return writeCount_;
}

int VirtualWaveOut::CallbackCount() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return callbackCount_;
}

bool VirtualWaveOut::IsOpen() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return open_;
}

bool VirtualWaveOut::IsPaused() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return paused_;
}

bool VirtualWaveOut::WaitForPlayed(uint64_t bytes, std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  return idle_.wait_for(lock, timeout, [&] { return playedBytes_ >= bytes; });
}

bool VirtualWaveOut::WaitUntilIdle(std::chrono::milliseconds timeout) {
  std::unique_lock<std::mutex> lock(mutex_);
  return idle_.wait_for(lock, timeout, [&] { return queue_.empty() && CallbacksSettled(); });
}

bool VirtualWaveOut::CallbacksSettled() const { return returned_.empty() && !busy_; }

int VirtualWaveOut::DeviceCount() {
  std::lock_guard<std::mutex> lock(mutex_);
  return deviceCount_;
}

WaveResult VirtualWaveOut::Open(const PcmFormat& format, DoneCallback done, void* context) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (deviceCount_ <= 0) return WaveResult::NoDevice;
  if (failAllocated_ > 0) {
    --failAllocated_;
    return WaveResult::Allocated;
  }
  if (open_ || !IsPlayablePcm(format) || done == nullptr) return WaveResult::Error;
  open_ = true;
  paused_ = false;
  format_ = format;
  done_ = done;
  context_ = context;
  headPlayed_ = 0;
  playedSinceReset_ = 0;
  ++openCount_;
  return WaveResult::Ok;
}

bool VirtualWaveOut::Prepare(WaveBlock* block) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!open_ || block == nullptr || block->data == nullptr) return false;
  block->flags = kWaveBlockPrepared;
  block->driverData = this;
  return true;
}

bool VirtualWaveOut::Unprepare(WaveBlock* block) {
  std::lock_guard<std::mutex> lock(mutex_);
  if (block == nullptr || !(block->flags & kWaveBlockPrepared)) return false;
  if (block->flags & kWaveBlockInQueue) return false;  // still playing
  block->flags &= ~kWaveBlockPrepared;
  block->driverData = nullptr;
  return true;
}

bool VirtualWaveOut::Write(WaveBlock* block) {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_ || block == nullptr || !(block->flags & kWaveBlockPrepared)) return false;
    if (block->flags & kWaveBlockInQueue) return false;
    if (failWrites_ > 0) {
      --failWrites_;
      return false;
    }
    block->flags = (block->flags & ~kWaveBlockDone) | kWaveBlockInQueue;
    queue_.push_back(block);
    ++writeCount_;
  }
  wake_.notify_all();
  return true;
}

bool VirtualWaveOut::Pause() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_) return false;
    paused_ = true;
    ++generation_;
  }
  wake_.notify_all();
  return true;
}

bool VirtualWaveOut::Restart() {
  {
    std::lock_guard<std::mutex> lock(mutex_);
    if (!open_) return false;
    paused_ = false;
  }
  wake_.notify_all();
  return true;
}

bool VirtualWaveOut::Reset() {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!open_) return false;
  for (WaveBlock* block : queue_) {
    block->flags = (block->flags & ~kWaveBlockInQueue) | kWaveBlockDone;
    returned_.push_back(block);
  }
  queue_.clear();
  headPlayed_ = 0;
  playedSinceReset_ = 0;
  paused_ = false;  // like the system device, a reset leaves it running
  ++generation_;
  wake_.notify_all();
  if (!hold_) idle_.wait(lock, [&] { return quit_ || hold_ || CallbacksSettled(); });
  return true;
}

uint64_t VirtualWaveOut::PositionSamples() {
  std::lock_guard<std::mutex> lock(mutex_);
  if (!open_ || format_.blockAlign == 0) return 0;
  const uint64_t frames = playedSinceReset_ / format_.blockAlign;
  return stallAt_ > 0 ? std::min(frames, stallAt_) : frames;
}

bool VirtualWaveOut::Close() {
  std::unique_lock<std::mutex> lock(mutex_);
  if (!open_ || !queue_.empty()) return false;
  hold_ = false;
  wake_.notify_all();
  idle_.wait(lock, [&] { return quit_ || CallbacksSettled(); });
  open_ = false;
  paused_ = false;
  ++generation_;
  return true;
}

void VirtualWaveOut::PlayHead(uint32_t bytes) {
  WaveBlock* block = queue_.front();
  if (keep_ == Keep::Bytes) {
    const uint8_t* from = block->data + headPlayed_;
    played_.insert(played_.end(), from, from + bytes);
  }
  playedBytes_ += bytes;
  headPlayed_ += bytes;
  playedSinceReset_ += bytes;
  idle_.notify_all();
}

void VirtualWaveOut::Deliver(std::unique_lock<std::mutex>& lock, WaveBlock* block) {
  const DoneCallback done = done_;
  void* const context = context_;
  busy_ = true;
  ++callbackCount_;
  lock.unlock();
  done(context, block);
  lock.lock();
  busy_ = false;
  idle_.notify_all();
}

void VirtualWaveOut::Run() {
  std::unique_lock<std::mutex> lock(mutex_);
  while (!quit_) {
    if (!hold_ && !returned_.empty()) {
      WaveBlock* block = returned_.front();
      returned_.pop_front();
      Deliver(lock, block);
      continue;
    }
    if (open_ && !paused_ && !hold_ && !queue_.empty()) {
      WaveBlock* head = queue_.front();
      const uint32_t length = std::min(head->bytesRecorded, head->bufferLength);
      const uint32_t left = length > headPlayed_ ? length - headPlayed_ : 0;
      uint32_t bytes = left;
      if (pace_ == Pace::RealTime && left > 0) {
        bytes = std::min(left, SliceBytes(format_));
        const auto due = std::chrono::microseconds(uint64_t{bytes} * 1000000 / format_.avgBytesPerSec);
        const uint64_t generation = generation_;
        // Woken by a pause, reset, hold or close: the slice is not played.
        if (wake_.wait_for(lock, due, [&] { return quit_ || generation_ != generation; })) continue;
      }
      if (bytes > 0) PlayHead(bytes);
      if (headPlayed_ >= length) {
        queue_.pop_front();
        headPlayed_ = 0;
        head->flags = (head->flags & ~kWaveBlockInQueue) | kWaveBlockDone;
        Deliver(lock, head);
      }
      continue;
    }
    wake_.wait(lock);
  }
}

}  // namespace qv
