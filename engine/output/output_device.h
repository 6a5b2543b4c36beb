// The engine's audio output: one wave-out device, the ring of blocks the
// playback thread fills, volume, fade-in and the playing position. Direct mode
// writes every ring block to the device; always-open mode keeps the device
// open between tracks and feeds it from an output thread, writing silence
// when the ring is empty or the output is paused.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <thread>
#include <vector>

#include "engine/output/sample_ops.h"
#include "platform/audio/wave_out.h"
#include "platform/sync/counted_lock.h"
#include "platform/sync/event.h"

namespace qv {

class OutputDevice {
 public:
  // The driver stays owned by the caller and must outlive the device.
  explicit OutputDevice(WaveOutDriver* driver);
  ~OutputDevice();
  OutputDevice(const OutputDevice&) = delete;
  OutputDevice& operator=(const OutputDevice&) = delete;

  // Fails while a device is open or when bufferMs < 10.
  bool Configure(uint32_t bufferMs, bool alwaysOpen, bool fade);
  void GetConfiguration(uint32_t* bufferMs, bool* alwaysOpen, bool* fade) const;

  bool Open(int channels, int rate, int bits);
  bool IsOpen() const;

  // Waits (without limit) for a free ring block and returns it; its data has
  // room for BlockSize() bytes. After a Reset the wait ends at once. Null
  // when no ring exists (no device open).
  WaveBlock* GetFreeBlock();
  // Hands the block over with block->bytesRecorded bytes (cut to whole
  // frames); 0 bytes gives the block back (the next GetFreeBlock returns it
  // again). So does a block handed out before a Reset: the reset discarded it.
  void Submit(WaveBlock* block);

  void Reset();
  void Pause(bool on);
  void StopAtEndOfTrack();
  void Close();

  // Frames played since the last reset (0 without a device). In always-open
  // mode: frames copied into the device buffers, up to four buffers (about
  // 190 ms at 44100 Hz stereo 16-bit) ahead of what the device has played.
  uint64_t Position();
  uint64_t FramesSubmitted() const;
  bool Drained();
  uint64_t UnplayedFrames();
  // Every ring block is queued (the ring is full).
  bool AllBlocksQueued() const;
  // No block is queued: everything submitted has come back from the device.
  bool NothingQueued() const;

  // 0-256 (256: unchanged level); applied at submit in both modes.
  void SetVolume(int volume);
  int Volume() const;
  // Drops a fade-in still pending (a source started from 0 never fades in).
  void CancelFade();

  void GetBufferInfo(uint32_t* totalBytes, uint32_t* queuedBytes) const;
  uint32_t BlockSize() const;
  uint32_t BlockCount() const;
  uint32_t QueuedBlocks() const;
  const PcmFormat& Format() const { return format_; }

 private:
  struct Impl;
  std::unique_ptr<Impl> impl_;
  PcmFormat format_;
};

// Ring geometry for a format, exposed for the engine and its tests.
uint32_t OutputBlockSize(int channels, int rate, int bits);
uint32_t OutputBlockCount(uint32_t avgBytesPerSec, uint32_t bufferMs, uint32_t blockSize);
// Device buffer size of always-open mode.
uint32_t AlwaysOpenBufferSize(int channels, int rate, int bits);

}  // namespace qv
