// The frame counts that variable-bitrate encoders write into the first
// frame: a "Xing" header after the side information, or a "VBRI" header at
// a fixed place.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/mpeg/mpeg_header.h"

namespace qv {

// Bytes from the frame start that FindVbrFrameCount may look at.
constexpr size_t kVbrHeaderSpan = 64;

// The side information between the 4-byte header and a Xing tag: MPEG-1
// 32/17 bytes, MPEG-2 and MPEG-2.5 17/9 (stereo/mono).
size_t SideInfoBytes(const MpegHeader& first);

// The frame count of a Xing or VBRI header in `frame` (the first frame's
// bytes, `length` of them), or 0 when there is none. A Xing header whose
// flags lack the frame-count bit, or any count of 0, counts as none.
uint32_t FindVbrFrameCount(const MpegHeader& first, const uint8_t* frame, size_t length);

}  // namespace qv
