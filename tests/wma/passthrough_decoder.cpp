#include "tests/wma/passthrough_decoder.h"

#include <algorithm>
#include <cstring>

#include "engine/plugins/wma/wave_format.h"
#include "engine/plugins/wma/wma_decoder_choice.h"

namespace qv::test {

PassthroughDecoder::PassthroughDecoder(PassthroughOptions options, std::shared_ptr<PassthroughLog> log)
    : options_(options), log_(std::move(log)) {
  ++log_->created;
}

bool PassthroughDecoder::SetInputType(const MediaType& type) {
  WaveFormat f;
  if (options_.refuseInputType || !ParseWaveFormat(type.format.data(), type.format.size(), &f)) return false;
  if (type.majorType != kMediaTypeAudio || type.formatType != kFormatWaveFormatEx ||
      type.subType != AudioSubtype(f.formatTag) || f.formatTag != kWaveFormatPcm)
    return false;
  log_->inputFormatTag = f.formatTag;
  inputSet_ = true;
  return true;
}

bool PassthroughDecoder::SetOutputType(const MediaType& type) {
  if (!inputSet_ || type.subType != AudioSubtype(kWaveFormatPcm)) return false;
  log_->outputFormat = type.format;
  outputSet_ = true;
  return true;
}

InputResult PassthroughDecoder::ProcessInput(CMediaBuffer* buffer, bool syncPoint) {
  if (Releasable() > 0) {
    ++log_->refusedInputs;
    return InputResult::NotAccepting;
  }
  uint8_t* data = nullptr;
  uint32_t length = 0;
  if (buffer->GetBufferAndLength(&data, &length) != kComOk) return InputResult::Failed;
  held_.insert(held_.end(), data, data + length);
  ended_ = false;
  ++log_->inputs;
  log_->inputSizes.push_back(length);
  log_->syncPoints.push_back(syncPoint);
  return InputResult::Accepted;
}

size_t PassthroughDecoder::Releasable() const {
  if (ended_) return held_.size();
  return held_.size() > options_.heldBack ? held_.size() - options_.heldBack : 0;
}

OutputResult PassthroughDecoder::ProcessOutput(CMediaBuffer* buffer, bool* more) {
  ++log_->outputCalls;
  *more = false;
  uint8_t* data = nullptr;
  uint32_t length = 0, maxLength = 0;
  buffer->GetBufferAndLength(&data, &length);
  buffer->GetMaxLength(&maxLength);
  const size_t n = std::min<size_t>({Releasable(), maxLength - length, options_.maxOutputPerCall});
  if (n == 0) return OutputResult::NoOutput;
  std::memcpy(data + length, held_.data(), n);
  held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(n));
  buffer->SetLength(length + static_cast<uint32_t>(n));
  *more = Releasable() > 0;
  return OutputResult::Data;
}

void PassthroughDecoder::Discontinuity() {
  ++log_->discontinuities;
  ended_ = true;
}

void PassthroughDecoder::Flush() {
  ++log_->flushes;
  held_.clear();
  ended_ = false;
}

ScopedPassthrough::ScopedPassthrough(PassthroughOptions options) : log_(std::make_shared<PassthroughLog>()) {
  std::shared_ptr<PassthroughLog> log = log_;
  SetWmaDecoderFactoryForTesting(
      [options, log]() -> std::unique_ptr<MediaObject> { return std::make_unique<PassthroughDecoder>(options, log); });
}

ScopedPassthrough::~ScopedPassthrough() { SetWmaDecoderFactoryForTesting(nullptr); }

}  // namespace qv::test
