// A wave-out driver that forwards to another one and counts every byte
// written to the device, with the device's format; it keeps the bytes only
// when asked to (qvrender -o), so that a plain run copies nothing.
#pragma once

#include <memory>
#include <mutex>
#include <vector>

#include "platform/audio/wave_out.h"

namespace qvrender {

class RecordingWaveOut : public qv::WaveOutDriver {
 public:
  RecordingWaveOut(std::unique_ptr<qv::WaveOutDriver> inner, bool keepData);

  // The bytes written, when kept; empty otherwise.
  std::vector<uint8_t> Data() const;
  uint64_t BytesWritten() const;
  qv::PcmFormat Format() const;

  int DeviceCount() override;
  qv::WaveResult Open(const qv::PcmFormat& format, DoneCallback done, void* context) override;
  bool Prepare(qv::WaveBlock* block) override;
  bool Unprepare(qv::WaveBlock* block) override;
  bool Write(qv::WaveBlock* block) override;
  bool Pause() override;
  bool Restart() override;
  bool Reset() override;
  uint64_t PositionSamples() override;
  bool Close() override;

 private:
  std::unique_ptr<qv::WaveOutDriver> inner_;
  const bool keep_;
  mutable std::mutex mutex_;
  std::vector<uint8_t> data_;
  uint64_t bytes_ = 0;
  qv::PcmFormat format_;
};

}  // namespace qvrender
