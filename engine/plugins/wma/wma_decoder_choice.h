// Which decoder objects the WMA plug-in tries for a file, in order: the
// system's, where its one-time check found it working, then the project's
// own over FFmpeg (which also takes files the system's object refuses).
// Tests put their own decoder object in place of both.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "platform/media/media_object.h"

namespace qv {

using WmaDecoderFactory = std::function<std::unique_ptr<MediaObject>()>;

std::vector<WmaDecoderFactory> WmaDecoderCandidates();

// Replaces the candidates while set; an empty factory restores them.
void SetWmaDecoderFactoryForTesting(WmaDecoderFactory factory);

}  // namespace qv
