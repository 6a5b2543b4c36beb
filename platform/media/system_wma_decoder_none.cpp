#include "platform/media/system_wma_decoder.h"

namespace qv {

SystemDecoderCheck CheckSystemWmaDecoder() { return {SystemDecoderState::NotOnThisSystem, kComOk}; }

std::unique_ptr<MediaObject> CreateSystemWmaDecoder() { return nullptr; }

}  // namespace qv
