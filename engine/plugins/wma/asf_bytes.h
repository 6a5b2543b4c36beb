// Little-endian fields of ASF structures. Callers check the bounds first.
#pragma once

#include <cstdint>

namespace qv {

inline uint16_t Le16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
inline uint32_t Le32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}
inline uint64_t Le64(const uint8_t* p) { return uint64_t(Le32(p)) | uint64_t(Le32(p + 4)) << 32; }

// A field of 0, 1, 2 or 4 bytes as the two bits of a length type say
// (0: absent, 1: byte, 2: word, 3: double word).
inline uint32_t LengthTypeBytes(unsigned type) { return type == 3 ? 4 : type; }
inline uint32_t LeSized(const uint8_t* p, uint32_t bytes) {
  switch (bytes) {
    case 1: return p[0];
    case 2: return Le16(p);
    case 4: return Le32(p);
    default: return 0;
  }
}

}  // namespace qv
