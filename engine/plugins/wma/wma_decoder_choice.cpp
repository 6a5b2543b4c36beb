#include "engine/plugins/wma/wma_decoder_choice.h"

#include <mutex>

#include "engine/plugins/wma/ffmpeg_wma_decoder.h"
#include "platform/media/system_wma_decoder.h"

namespace qv {

namespace {

std::mutex factoryMutex;
WmaDecoderFactory& TestFactory() {
  static WmaDecoderFactory factory;
  return factory;
}

}  // namespace

std::vector<WmaDecoderFactory> WmaDecoderCandidates() {
  {
    std::lock_guard<std::mutex> lock(factoryMutex);
    if (TestFactory()) return {TestFactory()};
  }
  std::vector<WmaDecoderFactory> candidates;
  if (CheckSystemWmaDecoder().state == SystemDecoderState::Works) candidates.push_back(&CreateSystemWmaDecoder);
  candidates.push_back([]() -> std::unique_ptr<MediaObject> { return std::make_unique<FfmpegWmaDecoder>(); });
  return candidates;
}

void SetWmaDecoderFactoryForTesting(WmaDecoderFactory factory) {
  std::lock_guard<std::mutex> lock(factoryMutex);
  TestFactory() = std::move(factory);
}

}  // namespace qv
