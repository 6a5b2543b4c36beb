// waveOut* on the wave mapper with a function callback. Each WaveBlock gets
// its own WAVEHDR at Prepare (kept in driverData); the header's dwUser leads
// back to the block when the device returns it.
#include <windows.h>
#include <mmsystem.h>

#include <new>

#include "platform/audio/wave_out.h"

namespace qv {

namespace {

WaveResult FromOpenResult(MMRESULT r) {
  switch (r) {
    case MMSYSERR_NOERROR:
      return WaveResult::Ok;
    case MMSYSERR_ALLOCATED:
      return WaveResult::Allocated;
    case MMSYSERR_NODRIVER:
    case MMSYSERR_BADDEVICEID:
      return WaveResult::NoDevice;
    default:
      return WaveResult::Error;
  }
}

// The system header of a prepared block, with the length it was prepared for.
struct PreparedHeader {
  WAVEHDR header;
  DWORD capacity;
};

PreparedHeader* HeaderOf(WaveBlock* block) {
  return block ? static_cast<PreparedHeader*>(block->driverData) : nullptr;
}

class Win32WaveOut : public WaveOutDriver {
 public:
  ~Win32WaveOut() override {
    if (wave_) {
      waveOutReset(wave_);
      waveOutClose(wave_);
    }
  }

  int DeviceCount() override { return static_cast<int>(waveOutGetNumDevs()); }

  WaveResult Open(const PcmFormat& format, DoneCallback done, void* context) override {
    if (wave_) return WaveResult::Error;
    if (waveOutGetNumDevs() == 0) return WaveResult::NoDevice;
    WAVEFORMATEX fmt = {};
    fmt.wFormatTag = format.formatTag;
    fmt.nChannels = format.channels;
    fmt.nSamplesPerSec = format.samplesPerSec;
    fmt.nAvgBytesPerSec = format.avgBytesPerSec;
    fmt.nBlockAlign = format.blockAlign;
    fmt.wBitsPerSample = format.bitsPerSample;
    fmt.cbSize = 0;
    done_ = done;
    context_ = context;
    blockAlign_ = format.blockAlign;
    ResetPositionTracking();
    HWAVEOUT wave = nullptr;
    const MMRESULT r = waveOutOpen(&wave, WAVE_MAPPER, &fmt, reinterpret_cast<DWORD_PTR>(&Win32WaveOut::Callback),
                                   reinterpret_cast<DWORD_PTR>(this), CALLBACK_FUNCTION);
    if (r != MMSYSERR_NOERROR) return FromOpenResult(r);
    wave_ = wave;
    return WaveResult::Ok;
  }

  bool Prepare(WaveBlock* block) override {
    if (!wave_ || !block || !block->data || block->driverData) return false;
    auto* prepared = new (std::nothrow) PreparedHeader();
    if (!prepared) return false;
    WAVEHDR& header = prepared->header;
    header.lpData = reinterpret_cast<LPSTR>(block->data);
    header.dwBufferLength = block->bufferLength;
    header.dwUser = reinterpret_cast<DWORD_PTR>(block);
    prepared->capacity = block->bufferLength;
    if (waveOutPrepareHeader(wave_, &header, sizeof header) != MMSYSERR_NOERROR) {
      delete prepared;
      return false;
    }
    block->driverData = prepared;
    block->flags = kWaveBlockPrepared;
    return true;
  }

  bool Unprepare(WaveBlock* block) override {
    PreparedHeader* prepared = HeaderOf(block);
    if (!wave_ || !prepared) return false;
    // A header the device still holds stays allocated rather than freed
    // under the driver.
    if (waveOutUnprepareHeader(wave_, &prepared->header, sizeof prepared->header) != MMSYSERR_NOERROR) return false;
    delete prepared;
    block->driverData = nullptr;
    block->flags &= ~kWaveBlockPrepared;
    return true;
  }

  bool Write(WaveBlock* block) override {
    PreparedHeader* prepared = HeaderOf(block);
    if (!wave_ || !prepared) return false;
    // Prepared for the block's capacity; play only what it holds.
    if (block->bytesRecorded == 0 || block->bytesRecorded > prepared->capacity) return false;
    prepared->header.dwBufferLength = block->bytesRecorded;
    prepared->header.dwFlags &= ~WHDR_DONE;
    return waveOutWrite(wave_, &prepared->header, sizeof prepared->header) == MMSYSERR_NOERROR;
  }

  bool Pause() override { return wave_ && waveOutPause(wave_) == MMSYSERR_NOERROR; }
  bool Restart() override { return wave_ && waveOutRestart(wave_) == MMSYSERR_NOERROR; }

  bool Reset() override {
    if (!wave_) return false;
    const bool ok = waveOutReset(wave_) == MMSYSERR_NOERROR;
    ResetPositionTracking();
    return ok;
  }

  // The system counts in 32 bits; carry the wrap so long plays keep counting.
  uint64_t PositionSamples() override {
    if (!wave_) return 0;
    MMTIME time = {};
    time.wType = TIME_SAMPLES;
    if (waveOutGetPosition(wave_, &time, sizeof time) != MMSYSERR_NOERROR) return lastPosition_;
    uint32_t now = 0;
    if (time.wType == TIME_SAMPLES)
      now = time.u.sample;
    else if (time.wType == TIME_BYTES && blockAlign_ != 0)
      now = time.u.cb / blockAlign_;
    else
      return lastPosition_;
    uint64_t position = (lastPosition_ & ~uint64_t{0xFFFFFFFF}) | now;
    if (position < lastPosition_) position += uint64_t{1} << 32;
    lastPosition_ = position;
    return position;
  }

  bool Close() override {
    if (!wave_) return false;
    MMRESULT r = waveOutClose(wave_);
    if (r == WAVERR_STILLPLAYING) {
      // Blocks written after the last reset: return them and close again,
      // so the handle is never left open behind a closed output.
      waveOutReset(wave_);
      r = waveOutClose(wave_);
    }
    if (r != MMSYSERR_NOERROR) return false;
    wave_ = nullptr;
    return true;
  }

 private:
  static void CALLBACK Callback(HWAVEOUT, UINT message, DWORD_PTR instance, DWORD_PTR param1, DWORD_PTR) {
    if (message != WOM_DONE) return;
    auto* self = reinterpret_cast<Win32WaveOut*>(instance);
    auto* header = reinterpret_cast<WAVEHDR*>(param1);
    if (!self || !header || !self->done_) return;
    auto* block = reinterpret_cast<WaveBlock*>(header->dwUser);
    if (!block) return;
    self->done_(self->context_, block);
  }

  void ResetPositionTracking() { lastPosition_ = 0; }

  HWAVEOUT wave_ = nullptr;
  DoneCallback done_ = nullptr;
  void* context_ = nullptr;
  uint16_t blockAlign_ = 0;
  uint64_t lastPosition_ = 0;
};

}  // namespace

std::unique_ptr<WaveOutDriver> CreateSystemWaveOut() { return std::make_unique<Win32WaveOut>(); }

}  // namespace qv
