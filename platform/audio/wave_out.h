// The wave-out driver seam: one object is one device handle on the wave
// mapper. The Win32 implementation wraps waveOut*; VirtualWaveOut is the
// double used natively and by tests.
#pragma once

#include <cstdint>
#include <memory>

namespace qv {

// PCM format as the device takes it (the fields of a PCM wave format record).
struct PcmFormat {
  uint16_t formatTag = 1;
  uint16_t channels = 0;
  uint32_t samplesPerSec = 0;
  uint32_t avgBytesPerSec = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;

  static PcmFormat Make(int channels, int rate, int bits) {
    PcmFormat f;
    f.channels = static_cast<uint16_t>(channels);
    f.samplesPerSec = static_cast<uint32_t>(rate);
    f.bitsPerSample = static_cast<uint16_t>(bits);
    f.blockAlign = static_cast<uint16_t>(channels * bits / 8);
    f.avgBytesPerSec = f.samplesPerSec * f.blockAlign;
    return f;
  }
};

// A block handed to the device; mirrors the wave header the system uses.
struct WaveBlock {
  uint8_t* data = nullptr;
  uint32_t bufferLength = 0;
  uint32_t bytesRecorded = 0;  // bytes to play
  uintptr_t user = 0;          // owner's word
  uint32_t flags = 0;          // kWaveBlock* below
  void* driverData = nullptr;  // the driver's own header, from Prepare to Unprepare
};
constexpr uint32_t kWaveBlockDone = 0x1;
constexpr uint32_t kWaveBlockPrepared = 0x2;
constexpr uint32_t kWaveBlockInQueue = 0x10;

enum class WaveResult { Ok, NoDevice, Allocated, Error };

class WaveOutDriver {
 public:
  // Called on the driver's own thread for each block the device is done with
  // (played or returned by Reset).
  using DoneCallback = void (*)(void* context, WaveBlock* block);

  virtual ~WaveOutDriver() = default;

  virtual int DeviceCount() = 0;
  virtual WaveResult Open(const PcmFormat& format, DoneCallback done, void* context) = 0;
  virtual bool Prepare(WaveBlock* block) = 0;
  virtual bool Unprepare(WaveBlock* block) = 0;
  // Queues bytesRecorded bytes of the block; the block must be prepared.
  virtual bool Write(WaveBlock* block) = 0;
  virtual bool Pause() = 0;
  virtual bool Restart() = 0;
  // Stops playback, returns every queued block through the callback and
  // sets the position to 0.
  virtual bool Reset() = 0;
  // Samples (frames) played since the open or the last reset.
  virtual uint64_t PositionSamples() = 0;
  virtual bool Close() = 0;
};

// The system's driver (Win32 build). The native build has none and returns null.
std::unique_ptr<WaveOutDriver> CreateSystemWaveOut();

}  // namespace qv
