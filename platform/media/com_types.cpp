#include "platform/media/com_types.h"

#include <cstring>

namespace qv {

Guid GuidFromBytes(const uint8_t* b) {
  Guid g{};
  g.data1 = uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
  g.data2 = static_cast<uint16_t>(b[4] | b[5] << 8);
  g.data3 = static_cast<uint16_t>(b[6] | b[7] << 8);
  std::memcpy(g.data4, b + 8, 8);
  return g;
}

}  // namespace qv
