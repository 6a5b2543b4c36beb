#include "engine/output/output_device.h"

#include <algorithm>
#include <functional>
#include <new>

#include "engine/output/output_device_impl.h"

namespace qv {

namespace {

constexpr int kOpenAttempts = 10;
constexpr auto kAllocatedRetryDelay = std::chrono::milliseconds(100);

bool ValidFormat(int channels, int rate, int bits) {
  if (channels <= 0 || rate <= 0) return false;
  if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  const uint64_t align = uint64_t(channels) * uint64_t(bits) / 8;
  return align <= 0xFFFF && uint64_t(rate) * align <= UINT32_MAX;
}

bool SameFormat(const PcmFormat& f, int channels, int rate, int bits) {
  return f.channels == channels && f.samplesPerSec == uint32_t(rate) && f.bitsPerSample == bits;
}

// Index of a block inside the ring, or false when it is not one of its blocks.
bool RingIndex(const std::vector<WaveBlock>& blocks, const WaveBlock* block, uint32_t* index) {
  if (blocks.empty() || block == nullptr) return false;
  const std::less<const WaveBlock*> before;
  if (before(block, blocks.data()) || !before(block, blocks.data() + blocks.size())) return false;
  *index = static_cast<uint32_t>(block - blocks.data());
  return true;
}

}  // namespace

// ---- Impl: lifecycle --------------------------------------------------------

bool OutputDevice::Impl::Open(int channels, int rate, int bits) {
  CountedLockGuard life(lifecycleLock);
  bool hasDevice = false;
  {
    CountedLockGuard device(deviceLock);
    hasDevice = driver != nullptr && driver->DeviceCount() > 0;
    // Always-open mode keeps the device between tracks of the same format.
    if (hasDevice && open && SameFormat(format, channels, rate, bits)) return true;
  }
  Close();
  if (!hasDevice || !ValidFormat(channels, rate, bits)) return false;
  {
    CountedLockGuard device(deviceLock);
    format = PcmFormat::Make(channels, rate, bits);
    std::lock_guard<std::mutex> ring(ringLock);
    blockSize = OutputBlockSize(channels, rate, bits);
  }
  if (!OpenDriverWithRetries()) {
    Close();
    return false;
  }
  bool ok = false;
  {
    CountedLockGuard device(deviceLock);
    open = true;
    paused = false;
    ok = BuildRing() && (!alwaysOpen || StartFeed());
    fade.Cancel();
    ArmOrKeepFade();
  }
  // The feed thread may be waiting for the device lock: close only after it
  // has been released.
  if (!ok) Close();
  return ok;
}

bool OutputDevice::Impl::OpenDriverWithRetries() {
  for (int attempt = 1;; ++attempt) {
    WaveResult result;
    {
      CountedLockGuard device(deviceLock);
      result = driver->Open(format, alwaysOpen ? &Impl::AlwaysOpenDone : &Impl::DirectDone, this);
    }
    if (result == WaveResult::Ok) return true;
    if (result != WaveResult::Allocated || attempt >= kOpenAttempts) return false;
    std::this_thread::sleep_for(kAllocatedRetryDelay);
  }
}

bool OutputDevice::Impl::BuildRing() {
  const uint32_t size = blockSize;
  const uint32_t count = OutputBlockCount(format.avgBytesPerSec, bufferMs, size);
  const uint64_t total = uint64_t{count} * size;
  if (total > UINT32_MAX || total > SIZE_MAX) return false;
  try {
    std::unique_ptr<uint8_t[]> data(new (std::nothrow) uint8_t[static_cast<size_t>(total)]());
    if (!data) return false;
    std::vector<WaveBlock> ring(count);
    for (uint32_t i = 0; i < count; ++i) {
      ring[i].data = data.get() + size_t{i} * size;
      ring[i].bufferLength = size;
      ring[i].user = alwaysOpen ? 0 : reinterpret_cast<uintptr_t>(this);
    }
    {
      std::lock_guard<std::mutex> lock(ringLock);
      blocks = std::move(ring);
      blockQueued.assign(count, 0);
      ringData = std::move(data);
      ClearRingState();
    }
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (!alwaysOpen)
    for (WaveBlock& block : blocks)
      if (!driver->Prepare(&block)) return false;
  return true;
}

void OutputDevice::Impl::FreeRing() {
  std::lock_guard<std::mutex> lock(ringLock);
  blocks.clear();
  blockQueued.clear();
  ringData.reset();
  ClearRingState();
}

void OutputDevice::Impl::ClearRingState() {
  std::fill(blockQueued.begin(), blockQueued.end(), 0);
  if (alwaysOpen)
    for (WaveBlock& block : blocks) block.user = 0;  // read offset
  queued = 0;
  writeIndex = 0;
  readIndex = 0;
  submitted = 0;
  feedPosition = 0;
  freeBlock.Set();
}

void OutputDevice::Impl::ArmOrKeepFade() {
  if (fadeOn) fade.Arm(static_cast<int>(format.samplesPerSec));
}

void OutputDevice::Impl::Close() {
  CountedLockGuard life(lifecycleLock);
  StopFeed();  // before the device lock, which the feed thread takes
  CountedLockGuard device(deviceLock);
  if (open) {
    Reset();
    if (alwaysOpen) {
      paused = true;
      driver->Reset();
      UnprepareDeviceBuffers();
    } else {
      for (WaveBlock& block : blocks) driver->Unprepare(&block);
    }
    driver->Close();
    open = false;
  }
  FreeDeviceBuffers();
  FreeRing();
  format = PcmFormat{};
}

void OutputDevice::Impl::Reset() {
  CountedLockGuard device(deviceLock);
  if (!open) return;
  if (alwaysOpen) {
    paused = true;
    std::lock_guard<std::mutex> ring(ringLock);
    ClearRingState();
  } else {
    driver->Pause();
    driver->Reset();  // returns every queued block through DirectDone
    {
      std::lock_guard<std::mutex> ring(ringLock);
      ClearRingState();
    }
    driver->Pause();
  }
  ArmOrKeepFade();
}

// ---- Impl: submitting -------------------------------------------------------

void OutputDevice::Impl::Enqueue(uint32_t index, uint32_t bytes) {
  blockQueued[index] = 1;
  ++queued;
  if (queued >= blocks.size()) freeBlock.Reset();
  writeIndex = (index + 1) % static_cast<uint32_t>(blocks.size());
  submitted += bytes / format.blockAlign;
}

bool OutputDevice::Impl::TakesBlock(uint32_t index) {
  std::lock_guard<std::mutex> ring(ringLock);
  if (open && index < blocks.size() && index == writeIndex && !blockQueued[index]) return true;
  // Handed out before a reset (or the device is gone): give it back.
  freeBlock.Set();
  return false;
}

void OutputDevice::Impl::SubmitDirect(WaveBlock* block, uint32_t index, uint32_t bytes) {
  {
    // Counted before the write: the device may hand it back at once.
    std::lock_guard<std::mutex> ring(ringLock);
    Enqueue(index, bytes);
  }
  if (driver->Write(block)) return;
  // A write the device refused is neither queued nor submitted; the block
  // stays the next free one.
  std::lock_guard<std::mutex> ring(ringLock);
  if (blockQueued[index]) {
    blockQueued[index] = 0;
    if (queued > 0) --queued;
  }
  writeIndex = index;
  submitted -= bytes / format.blockAlign;
  freeBlock.Set();
}

void OutputDevice::Impl::SubmitAlwaysOpen(WaveBlock* block, uint32_t index, uint32_t bytes) {
  std::lock_guard<std::mutex> ring(ringLock);
  block->user = 0;
  Enqueue(index, bytes);
}

void OutputDevice::Impl::DirectDone(void* context, WaveBlock* block) {
  auto* self = static_cast<Impl*>(context);
  std::lock_guard<std::mutex> ring(self->ringLock);
  uint32_t index = 0;
  // A block returned after a reset was already taken off the count.
  if (RingIndex(self->blocks, block, &index) && self->blockQueued[index]) {
    self->blockQueued[index] = 0;
    if (self->queued > 0) --self->queued;
  }
  self->freeBlock.Set();
}

// ---- OutputDevice -----------------------------------------------------------

OutputDevice::OutputDevice(WaveOutDriver* driver) : impl_(std::make_unique<Impl>(driver, format_)) {}

OutputDevice::~OutputDevice() { impl_->Close(); }

bool OutputDevice::Configure(uint32_t bufferMs, bool alwaysOpen, bool fade) {
  CountedLockGuard life(impl_->lifecycleLock);
  CountedLockGuard device(impl_->deviceLock);
  if (impl_->open || bufferMs < 10) return false;
  impl_->bufferMs = bufferMs;
  impl_->alwaysOpen = alwaysOpen;
  impl_->fadeOn = fade;
  return true;
}

void OutputDevice::GetConfiguration(uint32_t* bufferMs, bool* alwaysOpen, bool* fade) const {
  CountedLockGuard device(impl_->deviceLock);
  if (bufferMs) *bufferMs = impl_->bufferMs;
  if (alwaysOpen) *alwaysOpen = impl_->alwaysOpen;
  if (fade) *fade = impl_->fadeOn;
}

bool OutputDevice::Open(int channels, int rate, int bits) { return impl_->Open(channels, rate, bits); }

bool OutputDevice::IsOpen() const {
  CountedLockGuard device(impl_->deviceLock);
  return impl_->open;
}

WaveBlock* OutputDevice::GetFreeBlock() {
  Impl& d = *impl_;
  for (;;) {
    d.freeBlock.Wait();
    std::lock_guard<std::mutex> ring(d.ringLock);
    if (d.blocks.empty()) return nullptr;
    WaveBlock* block = &d.blocks[d.writeIndex];
    if (!d.blockQueued[d.writeIndex]) {
      block->bufferLength = d.blockSize;
      return block;
    }
    // Still with the device: wait for the next block to come back.
    d.freeBlock.Reset();
  }
}

void OutputDevice::Submit(WaveBlock* block) {
  if (block == nullptr) return;
  Impl& d = *impl_;
  uint32_t index = 0;
  uint32_t bytes = 0;
  {
    std::lock_guard<std::mutex> ring(d.ringLock);
    if (!RingIndex(d.blocks, block, &index)) return;
    bytes = std::min(block->bytesRecorded, d.blockSize);
    bytes -= bytes % std::max<uint32_t>(format_.blockAlign, 1);
    if (bytes == 0) {
      d.freeBlock.Set();  // nothing to play: the next get returns this block again
      return;
    }
  }
  block->bytesRecorded = bytes;
  ApplyGain(block->data, bytes, format_.bitsPerSample, d.volume.load());
  // Under the device lock a reset cannot come between the check and the
  // bookkeeping.
  CountedLockGuard device(d.deviceLock);
  if (!d.TakesBlock(index)) return;
  d.fade.Apply(block->data, bytes, format_.bitsPerSample, format_.channels);
  if (d.alwaysOpen)
    d.SubmitAlwaysOpen(block, index, bytes);
  else
    d.SubmitDirect(block, index, bytes);
}

void OutputDevice::Reset() { impl_->Reset(); }

void OutputDevice::Pause(bool on) {
  Impl& d = *impl_;
  CountedLockGuard device(d.deviceLock);
  if (!d.open) return;
  if (d.alwaysOpen)
    d.paused = on;
  else if (on)
    d.driver->Pause();
  else
    d.driver->Restart();
}

void OutputDevice::StopAtEndOfTrack() {
  CountedLockGuard life(impl_->lifecycleLock);
  if (impl_->alwaysOpen)
    impl_->Reset();
  else
    impl_->Close();
}

void OutputDevice::Close() { impl_->Close(); }

uint64_t OutputDevice::Position() {
  Impl& d = *impl_;
  CountedLockGuard device(d.deviceLock);
  if (!d.open) return 0;
  if (d.alwaysOpen) {
    std::lock_guard<std::mutex> ring(d.ringLock);
    return d.feedPosition;
  }
  return d.driver->PositionSamples();
}

uint64_t OutputDevice::FramesSubmitted() const {
  std::lock_guard<std::mutex> ring(impl_->ringLock);
  return impl_->submitted;
}

// The position is read first: blocks submitted meanwhile only make the
// answer more cautious.
bool OutputDevice::Drained() {
  const uint64_t position = Position();
  return position >= FramesSubmitted();
}

uint64_t OutputDevice::UnplayedFrames() {
  const uint64_t position = Position();
  const uint64_t submitted = FramesSubmitted();
  return submitted > position ? submitted - position : 0;
}

bool OutputDevice::AllBlocksQueued() const {
  std::lock_guard<std::mutex> ring(impl_->ringLock);
  return !impl_->blocks.empty() && impl_->queued >= impl_->blocks.size();
}

bool OutputDevice::NothingQueued() const {
  std::lock_guard<std::mutex> ring(impl_->ringLock);
  return impl_->queued == 0;
}

void OutputDevice::SetVolume(int volume) { impl_->volume = std::min(std::max(volume, 0), 256); }

int OutputDevice::Volume() const { return impl_->volume.load(); }

void OutputDevice::CancelFade() {
  CountedLockGuard device(impl_->deviceLock);
  impl_->fade.Cancel();
}

void OutputDevice::GetBufferInfo(uint32_t* totalBytes, uint32_t* queuedBytes) const {
  std::lock_guard<std::mutex> ring(impl_->ringLock);
  const auto count = static_cast<uint32_t>(impl_->blocks.size());
  if (totalBytes) *totalBytes = count * impl_->blockSize;
  if (queuedBytes) *queuedBytes = count == 0 ? 0 : impl_->queued * impl_->blockSize;
}

uint32_t OutputDevice::BlockSize() const {
  std::lock_guard<std::mutex> ring(impl_->ringLock);
  return impl_->blockSize;
}

uint32_t OutputDevice::BlockCount() const {
  std::lock_guard<std::mutex> ring(impl_->ringLock);
  return static_cast<uint32_t>(impl_->blocks.size());
}

uint32_t OutputDevice::QueuedBlocks() const {
  std::lock_guard<std::mutex> ring(impl_->ringLock);
  return impl_->queued;
}

}  // namespace qv
