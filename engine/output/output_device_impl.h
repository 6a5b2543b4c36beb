// State behind OutputDevice, shared by the direct-mode code and the
// always-open feed. Lock order: lifecycle lock (open, close, configure), then
// the device lock (device calls, fade-in, order of writes), then the ring lock
// (block bookkeeping). Driver calls are never made under the ring lock, so a
// driver callback may take it.
#pragma once

#include <array>
#include <atomic>
#include <chrono>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/output/buffer_return_signal.h"
#include "engine/output/output_device.h"
#include "engine/output/sample_ops.h"
#include "platform/audio/wave_out.h"
#include "platform/sync/counted_lock.h"
#include "platform/sync/event.h"

namespace qv {

struct OutputDevice::Impl {
  static constexpr int kDeviceBuffers = 4;

  Impl(WaveOutDriver* driver, PcmFormat& format) : driver(driver), format(format) {}

  // Lifecycle (output_device.cpp).
  bool Open(int channels, int rate, int bits);
  bool OpenDriverWithRetries();
  bool BuildRing();
  void FreeRing();
  void Close();
  void Reset();
  void ClearRingState();  // under the ring lock
  void ArmOrKeepFade();   // under the device lock
  // Whether the block at `index` may be queued now; gives it back otherwise.
  // Submitting runs under the device lock.
  bool TakesBlock(uint32_t index);
  void SubmitDirect(WaveBlock* block, uint32_t index, uint32_t bytes);
  void SubmitAlwaysOpen(WaveBlock* block, uint32_t index, uint32_t bytes);
  // Takes the block at the write index into the queue; under the ring lock.
  void Enqueue(uint32_t index, uint32_t bytes);
  static void DirectDone(void* context, WaveBlock* block);

  // Always-open feed (always_open_feed.cpp).
  bool StartFeed();
  void StopFeed();
  void FreeDeviceBuffers();
  void UnprepareDeviceBuffers();
  void FeedLoop();
  // Fills one device buffer from the ring, or with silence; under the device lock.
  void FillDeviceBuffer(int index);
  static void AlwaysOpenDone(void* context, WaveBlock* block);

  WaveOutDriver* const driver;
  PcmFormat& format;  // the owner's copy; changed under the device lock

  CountedRecursiveLock lifecycleLock;
  CountedRecursiveLock deviceLock;
  mutable std::mutex ringLock;

  // Configuration: changed under the lifecycle and device locks, only while closed.
  uint32_t bufferMs = 500;
  bool alwaysOpen = false;
  bool fadeOn = false;

  // Device lock.
  bool open = false;
  FadeIn fade;
  std::atomic<int> volume{0};

  // Ring lock.
  std::vector<WaveBlock> blocks;
  std::vector<uint8_t> blockQueued;  // 1 while the device or the feed owns the block
  std::unique_ptr<uint8_t[]> ringData;
  uint32_t blockSize = 16384;
  uint32_t queued = 0;
  uint32_t writeIndex = 0;
  uint32_t readIndex = 0;
  uint64_t submitted = 0;     // frames since the last reset
  uint64_t feedPosition = 0;  // always-open: frames handed to the device since the last reset
  ManualResetEvent freeBlock{true};

  // Always-open mode.
  std::atomic<bool> paused{false};
  std::array<WaveBlock, kDeviceBuffers> deviceBuffers{};
  std::array<bool, kDeviceBuffers> holdsSilence{};
  std::unique_ptr<uint8_t[]> deviceData;
  int nextBuffer = 0;  // device lock
  std::chrono::milliseconds bufferTime{1};
  BufferReturnSignal returns;
  std::thread feedThread;
};

}  // namespace qv
