// The system's Windows Media Audio decoder media object, where the system
// has one that works. Whether it works is found out once per process: the
// object is created by its class identifier and given a WMA v2 input and a
// PCM output type. Natively there is no such object.
#pragma once

#include <memory>

#include "platform/media/media_object.h"

namespace qv {

enum class SystemDecoderState {
  Works,           // created, took the types and allocated its resources
  NotOnThisSystem, // no system media objects in this build
  NotCreated,      // the class could not be created (not registered, or its factory failed)
  NotImplemented,  // created, but its methods answer "not implemented"
  Refused,         // created, but it refused the types or its resources
};

struct SystemDecoderCheck {
  SystemDecoderState state = SystemDecoderState::NotOnThisSystem;
  ComResult result = kComOk;  // the call that decided the state
};

// The outcome of the one check, made on the first call.
SystemDecoderCheck CheckSystemWmaDecoder();

const char* SystemDecoderStateName(SystemDecoderState state);

// A new system decoder object, or null when the check did not find one that
// works or it cannot be created on this thread (COM not initialised here).
std::unique_ptr<MediaObject> CreateSystemWmaDecoder();

}  // namespace qv
