// The ASF Header object: what the WMA plug-in takes from its File
// Properties, first audio Stream Properties and content description
// objects. Every field is read only when its object holds it.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/engine_api.h"

namespace qv {

constexpr size_t kAsfHeaderFixedBytes = 30;  // object header, object count, two reserved bytes

struct AsfHeader {
  // File Properties.
  bool hasFileProperties = false;
  uint64_t fileSize = 0;
  uint64_t packetCount = 0;
  uint32_t minPacketSize = 0;
  uint32_t maxPacketSize = 0;
  bool broadcast = false;
  bool seekable = false;
  uint32_t durationMs = 0;   // 0 for broadcast files
  int32_t bitrateKbps = 0;   // maximum bitrate / 1000
  // The first audio stream.
  bool hasAudio = false;
  int streamNumber = 0;
  std::vector<uint8_t> typeData;  // its wave format record
  TagInfo tags{};
};

// Parses a Header object held whole in `header` (its 24-byte object header
// included). The contained objects are walked until one whose size is below
// 24 or beyond the bytes left. False when `size` cannot hold the fixed part.
bool ParseAsfHeaderObject(const uint8_t* header, size_t size, AsfHeader* out);

}  // namespace qv
