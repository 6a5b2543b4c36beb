#include "platform/media/system_wma_decoder.h"

namespace qv {

const char* SystemDecoderStateName(SystemDecoderState state) {
  switch (state) {
    case SystemDecoderState::Works: return "works";
    case SystemDecoderState::NotOnThisSystem: return "not on this system";
    case SystemDecoderState::NotCreated: return "cannot be created";
    case SystemDecoderState::NotImplemented: return "not implemented";
    case SystemDecoderState::Refused: return "refuses the types";
  }
  return "unknown";
}

}  // namespace qv
