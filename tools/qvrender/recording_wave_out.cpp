#include "tools/qvrender/recording_wave_out.h"

namespace qvrender {

RecordingWaveOut::RecordingWaveOut(std::unique_ptr<qv::WaveOutDriver> inner, bool keepData)
    : inner_(std::move(inner)), keep_(keepData) {}

std::vector<uint8_t> RecordingWaveOut::Data() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return data_;
}

uint64_t RecordingWaveOut::BytesWritten() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return bytes_;
}

qv::PcmFormat RecordingWaveOut::Format() const {
  std::lock_guard<std::mutex> lock(mutex_);
  return format_;
}

int RecordingWaveOut::DeviceCount() { return inner_->DeviceCount(); }

qv::WaveResult RecordingWaveOut::Open(const qv::PcmFormat& format, DoneCallback done, void* context) {
  const qv::WaveResult result = inner_->Open(format, done, context);
  if (result == qv::WaveResult::Ok) {
    std::lock_guard<std::mutex> lock(mutex_);
    format_ = format;
  }
  return result;
}

bool RecordingWaveOut::Prepare(qv::WaveBlock* block) { return inner_->Prepare(block); }
bool RecordingWaveOut::Unprepare(qv::WaveBlock* block) { return inner_->Unprepare(block); }

bool RecordingWaveOut::Write(qv::WaveBlock* block) {
  {
    // Recorded before the write: the device may hand the block back at once.
    std::lock_guard<std::mutex> lock(mutex_);
    if (keep_) data_.insert(data_.end(), block->data, block->data + block->bytesRecorded);
    bytes_ += block->bytesRecorded;
  }
  return inner_->Write(block);
}

bool RecordingWaveOut::Pause() { return inner_->Pause(); }
bool RecordingWaveOut::Restart() { return inner_->Restart(); }
bool RecordingWaveOut::Reset() { return inner_->Reset(); }
uint64_t RecordingWaveOut::PositionSamples() { return inner_->PositionSamples(); }
bool RecordingWaveOut::Close() { return inner_->Close(); }

}  // namespace qvrender
