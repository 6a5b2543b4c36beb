#include "engine/plugins/wma/asf_header.h"

#include <algorithm>
#include <limits>

#include "engine/plugins/wma/asf_bytes.h"
#include "engine/plugins/wma/asf_guids.h"
#include "engine/plugins/wma/asf_tags.h"

namespace qv {

namespace {

constexpr size_t kFilePropertiesBytes = 104;
constexpr size_t kStreamPropertiesFixedBytes = 78;

// Play duration and send times count in 100 ns units and include the
// preroll (ms), which the file asks players to subtract.
uint32_t DurationMs(uint64_t playDuration, uint64_t prerollMs) {
  uint64_t ms = playDuration / 10000;
  if (ms > prerollMs) ms -= prerollMs;
  return static_cast<uint32_t>(std::min<uint64_t>(ms, std::numeric_limits<int32_t>::max()));
}

void ReadFileProperties(const uint8_t* o, size_t size, AsfHeader* out) {
  if (size < kFilePropertiesBytes) return;
  const uint32_t flags = Le32(o + 88);
  out->hasFileProperties = true;
  out->broadcast = (flags & 1) != 0;
  out->seekable = (flags & 2) != 0;
  out->bitrateKbps = static_cast<int32_t>(Le32(o + 100) / 1000);
  out->fileSize = Le64(o + 40);
  out->packetCount = Le64(o + 56);
  out->minPacketSize = Le32(o + 92);
  out->maxPacketSize = Le32(o + 96);
  out->durationMs = out->broadcast ? 0 : DurationMs(Le64(o + 64), Le64(o + 80));
}

void ReadStreamProperties(const uint8_t* o, size_t size, AsfHeader* out) {
  if (out->hasAudio || size < kStreamPropertiesFixedBytes) return;
  if (GuidFromBytes(o + 24) != kAsfAudioMedia) return;
  const uint32_t typeLength = Le32(o + 64);
  if (typeLength > size - kStreamPropertiesFixedBytes) return;
  out->hasAudio = true;
  out->streamNumber = Le16(o + 72) & 0x7F;
  out->typeData.assign(o + kStreamPropertiesFixedBytes, o + kStreamPropertiesFixedBytes + typeLength);
}

}  // namespace

bool ParseAsfHeaderObject(const uint8_t* header, size_t size, AsfHeader* out) {
  *out = AsfHeader{};
  if (!header || size < kAsfHeaderFixedBytes) return false;
  const uint32_t objects = Le32(header + 24);
  size_t at = kAsfHeaderFixedBytes;
  for (uint32_t i = 0; i < objects && size - at >= kAsfObjectHeaderBytes; ++i) {
    const uint8_t* o = header + at;
    const uint64_t objectSize = Le64(o + 16);
    if (objectSize < kAsfObjectHeaderBytes || objectSize > size - at) break;
    const size_t n = static_cast<size_t>(objectSize);
    const Guid id = GuidFromBytes(o);
    if (id == kAsfFilePropertiesObject)
      ReadFileProperties(o, n, out);
    else if (id == kAsfStreamPropertiesObject)
      ReadStreamProperties(o, n, out);
    else if (id == kAsfContentDescriptionObject)
      ReadContentDescription(o, n, &out->tags);
    else if (id == kAsfExtendedContentDescriptionObject)
      ReadExtendedContentDescription(o, n, &out->tags);
    at += n;
  }
  return true;
}

}  // namespace qv
