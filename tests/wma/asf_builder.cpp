#include "tests/wma/asf_builder.h"

#include <algorithm>

#include "engine/plugins/wma/asf_guids.h"

namespace qv::test {

void PutLe(Bytes& out, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.push_back(static_cast<uint8_t>(value >> (8 * i)));
}

void PokeLe(Bytes& out, size_t at, uint64_t value, int bytes) {
  for (int i = 0; i < bytes; ++i) out.at(at + i) = static_cast<uint8_t>(value >> (8 * i));
}

Bytes GuidBytes(const Guid& id) {
  Bytes b;
  PutLe(b, id.data1, 4);
  PutLe(b, id.data2, 2);
  PutLe(b, id.data3, 2);
  b.insert(b.end(), id.data4, id.data4 + 8);
  return b;
}

Bytes Utf16Le(const std::u16string& text) {
  Bytes b;
  for (char16_t c : text) PutLe(b, c, 2);
  PutLe(b, 0, 2);
  return b;
}

Bytes AsfObject(const Guid& id, const Bytes& body, uint64_t declaredSize) {
  Bytes b = GuidBytes(id);
  PutLe(b, declaredSize ? declaredSize : 24 + body.size(), 8);
  b.insert(b.end(), body.begin(), body.end());
  return b;
}

Bytes FilePropertiesObject(const FileProperties& p) {
  Bytes body(16, 0xAB);  // file identifier
  PutLe(body, p.fileSize, 8);
  PutLe(body, 0, 8);  // creation date
  PutLe(body, p.packetCount, 8);
  PutLe(body, p.playDuration, 8);
  PutLe(body, p.playDuration, 8);  // send duration
  PutLe(body, p.prerollMs, 8);
  PutLe(body, p.flags, 4);
  PutLe(body, p.minPacketSize, 4);
  PutLe(body, p.maxPacketSize, 4);
  PutLe(body, p.maxBitrate, 4);
  return AsfObject(kAsfFilePropertiesObject, body);
}

Bytes StreamPropertiesObject(int streamNumber, const Bytes& typeData, bool audio) {
  const Guid video = {0xBC19EFC0, 0x5B4D, 0x11CF, {0xA8, 0xFD, 0x00, 0x80, 0x5F, 0x5C, 0x44, 0x2B}};
  Bytes body = GuidBytes(audio ? kAsfAudioMedia : video);
  body.resize(body.size() + 16, 0);  // error correction type
  PutLe(body, 0, 8);                 // time offset
  PutLe(body, typeData.size(), 4);
  PutLe(body, 0, 4);  // error correction data length
  PutLe(body, streamNumber, 2);
  PutLe(body, 0, 4);
  body.insert(body.end(), typeData.begin(), typeData.end());
  return AsfObject(kAsfStreamPropertiesObject, body);
}

Bytes ContentDescriptionObject(const Bytes& title, const Bytes& author) {
  Bytes body;
  PutLe(body, title.size(), 2);
  PutLe(body, author.size(), 2);
  PutLe(body, 0, 2);
  PutLe(body, 0, 2);
  PutLe(body, 0, 2);
  body.insert(body.end(), title.begin(), title.end());
  body.insert(body.end(), author.begin(), author.end());
  return AsfObject(kAsfContentDescriptionObject, body);
}

Bytes Descriptor(const std::u16string& name, uint16_t type, const Bytes& value) {
  const Bytes n = Utf16Le(name);
  Bytes d;
  PutLe(d, n.size(), 2);
  d.insert(d.end(), n.begin(), n.end());
  PutLe(d, type, 2);
  PutLe(d, value.size(), 2);
  d.insert(d.end(), value.begin(), value.end());
  return d;
}

Bytes ExtendedContentDescriptionObject(const std::vector<Bytes>& descriptors) {
  Bytes body;
  PutLe(body, descriptors.size(), 2);
  for (const Bytes& d : descriptors) body.insert(body.end(), d.begin(), d.end());
  return AsfObject(kAsfExtendedContentDescriptionObject, body);
}

Bytes HeaderObject(const std::vector<Bytes>& objects, int count) {
  Bytes body;
  PutLe(body, count < 0 ? objects.size() : static_cast<size_t>(count), 4);
  body.push_back(1);
  body.push_back(2);
  for (const Bytes& o : objects) body.insert(body.end(), o.begin(), o.end());
  return AsfObject(kAsfHeaderObject, body);
}

Bytes WaveFormatRecord(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, const Bytes& extra) {
  Bytes r;
  const uint32_t align = tag == 1 ? channels * bits / 8 : 743;
  PutLe(r, tag, 2);
  PutLe(r, channels, 2);
  PutLe(r, rate, 4);
  PutLe(r, tag == 1 ? align * rate : 16000, 4);
  PutLe(r, align, 2);
  PutLe(r, bits, 2);
  PutLe(r, extra.size(), 2);
  r.insert(r.end(), extra.begin(), extra.end());
  return r;
}

Bytes BuildPacket(const PacketLayout& layout, uint32_t packetSize) {
  const bool multiple = layout.multiple || layout.payloads.size() != 1;
  Bytes p;
  if (layout.firstByte & 0x80) {
    p.push_back(layout.firstByte);
    p.resize(p.size() + (layout.firstByte & 0x0F), 0);
  }
  // Length types: padding length as a word; property flags: replicated data
  // length a byte, offset a double word, object number a byte, stream a byte.
  p.push_back(static_cast<uint8_t>((multiple ? 1 : 0) | 2 << 3));
  p.push_back(0x5D);
  const size_t paddingAt = p.size();
  PutLe(p, 0, 2);           // padding, filled in below
  PutLe(p, 1000, 4);        // send time
  PutLe(p, 0, 2);           // duration
  if (multiple) p.push_back(static_cast<uint8_t>(0x80 | layout.payloads.size()));
  for (const PayloadLayout& payload : layout.payloads) {
    p.push_back(static_cast<uint8_t>(payload.stream | (payload.keyFrame ? 0x80 : 0)));
    p.push_back(static_cast<uint8_t>(payload.object));
    PutLe(p, payload.offset, 4);
    p.push_back(static_cast<uint8_t>(payload.replicated.size()));
    p.insert(p.end(), payload.replicated.begin(), payload.replicated.end());
    if (multiple) PutLe(p, payload.data.size(), 2);
    p.insert(p.end(), payload.data.begin(), payload.data.end());
  }
  const size_t padding = p.size() < packetSize ? packetSize - p.size() : 0;
  PokeLe(p, paddingAt, padding, 2);
  p.resize(std::max<size_t>(p.size(), packetSize), 0);
  return p;
}

Bytes BuildAsf(AsfLayout layout) {
  FileProperties& fp = layout.properties;
  if (fp.packetCount == 0) fp.packetCount = layout.packets.size();
  if (fp.minPacketSize == 0) fp.minPacketSize = layout.packetSize;
  if (fp.maxPacketSize == 0) fp.maxPacketSize = layout.packetSize;
  std::vector<Bytes> objects{FilePropertiesObject(fp)};
  objects.insert(objects.end(), layout.extraObjects.begin(), layout.extraObjects.end());
  objects.push_back(StreamPropertiesObject(layout.streamNumber, layout.typeData));
  Bytes file = HeaderObject(objects);
  file.insert(file.end(), layout.afterHeader.begin(), layout.afterHeader.end());
  Bytes packets;
  for (const PacketLayout& p : layout.packets) {
    const Bytes b = BuildPacket(p, layout.packetSize);
    packets.insert(packets.end(), b.begin(), b.end());
  }
  Bytes data(16, 0xCD);  // file identifier
  PutLe(data, layout.packets.size(), 8);
  data.push_back(1);
  data.push_back(1);
  data.insert(data.end(), packets.begin(), packets.end());
  const Bytes dataObject = AsfObject(kAsfDataObject, data);
  file.insert(file.end(), dataObject.begin(), dataObject.end());
  return file;
}

std::vector<PacketLayout> PcmPackets(const Bytes& pcm, uint32_t objectBytes, uint32_t fragmentBytes,
                                   int fragmentsPerPacket) {
  std::vector<PacketLayout> packets;
  uint32_t object = 0;
  for (size_t start = 0; start < pcm.size(); start += objectBytes, ++object) {
    const size_t end = std::min(pcm.size(), start + objectBytes);
    for (size_t at = start; at < end; at += fragmentBytes) {
      if (packets.empty() || static_cast<int>(packets.back().payloads.size()) == fragmentsPerPacket)
        packets.emplace_back();
      PayloadLayout f;
      f.object = object;
      f.offset = static_cast<uint32_t>(at - start);
      f.keyFrame = at == start;
      f.data.assign(pcm.begin() + static_cast<std::ptrdiff_t>(at),
                    pcm.begin() + static_cast<std::ptrdiff_t>(std::min(end, at + fragmentBytes)));
      packets.back().payloads.push_back(f);
    }
  }
  return packets;
}

}  // namespace qv::test
