// Always-open mode: four device buffers kept in rotation by a time-critical
// thread that copies from the ring, or writes silence when the ring is empty
// or the output is paused. It never waits for the decoder.
#include <algorithm>
#include <cstring>
#include <new>
#include <system_error>

#include "engine/output/output_device_impl.h"
#include "platform/threads/thread_priority.h"

namespace qv {

bool OutputDevice::Impl::StartFeed() {
  const uint32_t size = AlwaysOpenBufferSize(format.channels, static_cast<int>(format.samplesPerSec),
                                             format.bitsPerSample);
  deviceData.reset(new (std::nothrow) uint8_t[size_t{size} * kDeviceBuffers]());
  if (!deviceData) return false;
  for (int i = 0; i < kDeviceBuffers; ++i) {
    WaveBlock& buffer = deviceBuffers[i];
    buffer = WaveBlock{};
    buffer.data = deviceData.get() + size_t{size} * i;
    buffer.bufferLength = size;
    buffer.bytesRecorded = size;
    buffer.user = reinterpret_cast<uintptr_t>(this);
    if (!driver->Prepare(&buffer)) return false;
    holdsSilence[i] = true;
  }
  nextBuffer = 0;
  {
    std::lock_guard<std::mutex> ring(ringLock);
    readIndex = 0;
    feedPosition = 0;
  }
  bufferTime = std::chrono::milliseconds(std::max<uint64_t>(1, uint64_t{size} * 1000 / format.avgBytesPerSec));
  returns.Start(kDeviceBuffers);
  try {
    feedThread = std::thread([this] { FeedLoop(); });
  } catch (const std::system_error&) {
    return false;
  }
  return true;
}

void OutputDevice::Impl::StopFeed() {
  if (!feedThread.joinable()) return;
  returns.Quit();
  feedThread.join();
}

void OutputDevice::Impl::UnprepareDeviceBuffers() {
  for (WaveBlock& buffer : deviceBuffers)
    if (buffer.data != nullptr) driver->Unprepare(&buffer);
}

void OutputDevice::Impl::FreeDeviceBuffers() {
  deviceBuffers.fill(WaveBlock{});
  deviceData.reset();
}

void OutputDevice::Impl::FeedLoop() {
  SetCurrentThreadPriority(kPriorityTimeCritical);
  while (returns.Take()) {
    bool written = false;
    {
      CountedLockGuard device(deviceLock);
      if (!open) return;
      const int index = nextBuffer;
      nextBuffer = (nextBuffer + 1) % kDeviceBuffers;
      FillDeviceBuffer(index);
      written = driver->Write(&deviceBuffers[index]);
    }
    if (!written) {
      // The buffer never reached the device, so it is free again; wait one
      // buffer's time so that a failing device does not spin this thread.
      returns.Give();
      if (returns.WaitForQuit(bufferTime)) return;
    }
  }
}

void OutputDevice::Impl::FillDeviceBuffer(int index) {
  WaveBlock& buffer = deviceBuffers[index];
  const uint32_t length = buffer.bufferLength;
  uint32_t fill = 0;
  while (fill < length) {
    if (!paused) {
      std::lock_guard<std::mutex> ring(ringLock);
      if (queued > 0) {
        WaveBlock& block = blocks[readIndex];
        const auto offset = static_cast<uint32_t>(block.user);
        const uint32_t unread = block.bytesRecorded > offset ? block.bytesRecorded - offset : 0;
        const uint32_t n = std::min(length - fill, unread);
        std::memcpy(buffer.data + fill, block.data + offset, n);
        fill += n;
        block.user = offset + n;
        if (n > 0) holdsSilence[index] = false;
        feedPosition += n / format.blockAlign;
        if (offset + n >= block.bytesRecorded) {
          block.user = 0;
          blockQueued[readIndex] = 0;
          --queued;
          readIndex = (readIndex + 1) % static_cast<uint32_t>(blocks.size());
          freeBlock.Set();
        }
        continue;
      }
    }
    // Nothing to play: the rest of the buffer is silence (a buffer that is
    // silent already needs no clearing).
    if (!holdsSilence[index]) {
      if (fill == 0) holdsSilence[index] = true;
      std::memset(buffer.data + fill, 0, length - fill);
    }
    break;
  }
  buffer.bytesRecorded = length;
}

void OutputDevice::Impl::AlwaysOpenDone(void* context, WaveBlock*) {
  static_cast<Impl*>(context)->returns.Give();
}

}  // namespace qv
