// MPEG audio frame headers: the 32-bit header word and the 3-byte sync test
// used while scanning.
#pragma once

#include <cstdint>

namespace qv {

struct MpegHeader {
  int32_t version = 0;  // 1 MPEG-1, 2 MPEG-2, 3 MPEG-2.5
  int32_t layer = 0;    // 1-3
  int32_t channels = 0;
  int32_t sampleRate = 0;
  int32_t bitrateKbps = 0;
  int32_t frameBytes = 0;
  int32_t samplesPerFrame = 0;
};

// Version, layer and sample rate: what every frame of one stream shares.
struct MpegStreamId {
  int32_t version = 0;
  int32_t layer = 0;
  int32_t sampleRate = 0;

  bool Matches(const MpegHeader& h) const {
    return h.version == version && h.layer == layer && h.sampleRate == sampleRate;
  }
};

inline MpegStreamId StreamIdOf(const MpegHeader& h) { return {h.version, h.layer, h.sampleRate}; }

inline uint32_t BigEndian32(const uint8_t* p) {
  return uint32_t(p[0]) << 24 | uint32_t(p[1]) << 16 | uint32_t(p[2]) << 8 | uint32_t(p[3]);
}

// False for a word without the 11 sync bits, with layer bits 0, bitrate
// index 15 or 0 (free format), or sample-rate index 3.
bool ParseMpegHeader(uint32_t word, MpegHeader* out);
inline bool ParseMpegHeaderAt(const uint8_t* p, MpegHeader* out) { return ParseMpegHeader(BigEndian32(p), out); }

// The quick test of three bytes: sync, a layer, a sample rate.
bool QuickSync(const uint8_t* p);
// The same, also requiring the version and layer of the stream.
bool QuickSyncMatching(const uint8_t* p, int32_t version, int32_t layer);

}  // namespace qv
