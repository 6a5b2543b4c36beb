// ASF data packets: the packet header and the payload headers, parsed from
// a packet held in memory. Every length is checked against the packet: a
// field, a padding or a payload that does not fit is refused.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

struct AsfPacketHeader {
  bool multiplePayloads = false;
  uint8_t propertyFlags = 0;      // length types of the payload header fields
  uint32_t packetLength = 0;      // the fixed packet size unless the packet states one
  uint32_t sequence = 0;
  uint32_t paddingLength = 0;
  uint32_t sendTime = 0;
  uint16_t duration = 0;
  uint32_t headerLength = 0;      // bytes before the first payload header
  unsigned payloadCount = 0;
  unsigned payloadLengthType = 0; // with multiple payloads
};

struct AsfPayloadHeader {
  int streamNumber = 0;
  bool keyFrame = false;
  uint32_t mediaObjectNumber = 0;
  uint32_t offsetIntoMediaObject = 0;
  uint32_t replicatedDataLength = 0;
  uint32_t headerLength = 0;      // stream number byte up to the payload data
  uint32_t payloadLength = 0;
};

// `available` bytes of the packet were read (fewer than the packet size at
// the end of a short file); packetSize is the file's fixed packet size.
bool ParseAsfPacketHeader(const uint8_t* packet, size_t available, uint32_t packetSize, AsfPacketHeader* out);

// The payload header at byte `at` of the packet; its payload data follows it
// and ends inside the packet's length less its padding and inside what was
// read.
bool ParseAsfPayloadHeader(const uint8_t* packet, size_t available, uint32_t at, const AsfPacketHeader& header,
                           AsfPayloadHeader* out);

}  // namespace qv
