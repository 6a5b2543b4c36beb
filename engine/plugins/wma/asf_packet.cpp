#include "engine/plugins/wma/asf_packet.h"

#include <algorithm>

#include "engine/plugins/wma/asf_bytes.h"

namespace qv {

namespace {

constexpr uint32_t kMinPacketLength = 8;

// Reads fields in order from a bounded span.
class FieldReader {
 public:
  FieldReader(const uint8_t* data, size_t end, size_t at) : data_(data), end_(end), at_(at) {}
  bool Read(uint32_t bytes, uint32_t* value) {
    if (at_ > end_ || end_ - at_ < bytes) return false;
    *value = LeSized(data_ + at_, bytes);
    at_ += bytes;
    return true;
  }
  bool Skip(uint32_t bytes) {
    if (at_ > end_ || end_ - at_ < bytes) return false;
    at_ += bytes;
    return true;
  }
  size_t at() const { return at_; }

 private:
  const uint8_t* data_;
  size_t end_;
  size_t at_;
};

}  // namespace

bool ParseAsfPacketHeader(const uint8_t* packet, size_t available, uint32_t packetSize, AsfPacketHeader* out) {
  *out = AsfPacketHeader{};
  const size_t end = std::min<size_t>(available, packetSize);
  if (end < 1) return false;
  size_t start = 0;
  const uint8_t first = packet[0];
  if (first & 0x80) {
    // Error correction data: only the two layouts writers use.
    if (first != 0x82 && first != 0x90) return false;
    start = 1 + (first & 0x0F);
  }
  // Without error correction data the first byte is already the length type
  // flags byte, as the format lays it out.
  FieldReader r(packet, end, start);
  uint32_t lengthFlags = 0, propertyFlags = 0;
  if (!r.Read(1, &lengthFlags) || !r.Read(1, &propertyFlags)) return false;
  out->multiplePayloads = (lengthFlags & 1) != 0;
  out->propertyFlags = static_cast<uint8_t>(propertyFlags);
  const uint32_t sequenceBytes = LengthTypeBytes((lengthFlags >> 1) & 3);
  const uint32_t paddingBytes = LengthTypeBytes((lengthFlags >> 3) & 3);
  const uint32_t packetLengthBytes = LengthTypeBytes((lengthFlags >> 5) & 3);
  uint32_t packetLength = packetSize, sendTime = 0, duration = 0;
  if (packetLengthBytes && !r.Read(packetLengthBytes, &packetLength)) return false;
  if (!r.Read(sequenceBytes, &out->sequence) || !r.Read(paddingBytes, &out->paddingLength)) return false;
  if (!r.Read(4, &sendTime) || !r.Read(2, &duration)) return false;
  out->sendTime = sendTime;
  out->duration = static_cast<uint16_t>(duration);
  if (packetLength < kMinPacketLength || packetLength > packetSize) return false;
  out->packetLength = packetLength;
  out->payloadCount = 1;
  if (out->multiplePayloads) {
    uint32_t payloadFlags = 0;
    if (!r.Read(1, &payloadFlags)) return false;
    out->payloadCount = payloadFlags & 0x3F;
    out->payloadLengthType = payloadFlags >> 6;
  }
  out->headerLength = static_cast<uint32_t>(r.at());
  return out->headerLength <= packetLength && out->paddingLength <= packetLength - out->headerLength;
}

bool ParseAsfPayloadHeader(const uint8_t* packet, size_t available, uint32_t at, const AsfPacketHeader& header,
                           AsfPayloadHeader* out) {
  *out = AsfPayloadHeader{};
  if (header.paddingLength > header.packetLength) return false;
  const size_t limit = std::min<size_t>(header.packetLength - header.paddingLength, available);
  const size_t payloadEnd = header.packetLength - header.paddingLength;
  FieldReader r(packet, limit, at);
  uint32_t stream = 0;
  if (!r.Read(1, &stream)) return false;
  out->streamNumber = stream & 0x7F;
  out->keyFrame = (stream & 0x80) != 0;
  const uint8_t flags = header.propertyFlags;
  if (!r.Read(LengthTypeBytes((flags >> 4) & 3), &out->mediaObjectNumber) ||
      !r.Read(LengthTypeBytes((flags >> 2) & 3), &out->offsetIntoMediaObject) ||
      !r.Read(LengthTypeBytes(flags & 3), &out->replicatedDataLength) || !r.Skip(out->replicatedDataLength))
    return false;
  if (header.multiplePayloads) {
    if (header.payloadLengthType == 0 || !r.Read(LengthTypeBytes(header.payloadLengthType), &out->payloadLength))
      return false;
  } else {
    if (r.at() > payloadEnd) return false;
    out->payloadLength = static_cast<uint32_t>(payloadEnd - r.at());
  }
  out->headerLength = static_cast<uint32_t>(r.at() - at);
  // The payload data lies inside the packet and was read.
  return r.at() <= limit && out->payloadLength <= limit - r.at();
}

}  // namespace qv
