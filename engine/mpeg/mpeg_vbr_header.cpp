#include "engine/mpeg/mpeg_vbr_header.h"

#include <cstring>

namespace qv {

namespace {
constexpr uint32_t kXingHasFrames = 1;
constexpr size_t kVbriOffset = 36;
}  // namespace

size_t SideInfoBytes(const MpegHeader& first) {
  const bool mono = first.channels == 1;
  if (first.version == 1) return mono ? 17 : 32;
  return mono ? 9 : 17;
}

uint32_t FindVbrFrameCount(const MpegHeader& first, const uint8_t* frame, size_t length) {
  const size_t xing = 4 + SideInfoBytes(first);
  if (xing + 12 <= length && std::memcmp(frame + xing, "Xing", 4) == 0) {
    const uint32_t flags = BigEndian32(frame + xing + 4);
    if (flags & kXingHasFrames) return BigEndian32(frame + xing + 8);
    return 0;
  }
  // "VBRI", version, delay, quality, byte count, then the frame count.
  if (kVbriOffset + 18 <= length && std::memcmp(frame + kVbriOffset, "VBRI", 4) == 0)
    return BigEndian32(frame + kVbriOffset + 14);
  return 0;
}

}  // namespace qv
