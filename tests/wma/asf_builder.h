// ASF files built byte by byte for the WMA plug-in's tests: header objects
// (File and Stream Properties, content descriptions), data packets with
// their payloads, and PCM cut into media objects and packets.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "platform/media/com_types.h"

namespace qv::test {

using Bytes = std::vector<uint8_t>;

void PutLe(Bytes& out, uint64_t value, int bytes);
void PokeLe(Bytes& out, size_t at, uint64_t value, int bytes);
Bytes GuidBytes(const Guid& id);
// UTF-16LE with its terminator.
Bytes Utf16Le(const std::u16string& text);

// An object: identifier, size (declared, or the real one), body.
Bytes AsfObject(const Guid& id, const Bytes& body, uint64_t declaredSize = 0);

struct FileProperties {
  uint64_t fileSize = 0;
  uint64_t packetCount = 0;
  uint64_t playDuration = 0;  // 100 ns units, preroll included
  uint64_t prerollMs = 0;
  uint32_t flags = 2;         // seekable
  uint32_t minPacketSize = 0;
  uint32_t maxPacketSize = 0;
  uint32_t maxBitrate = 0;
};
Bytes FilePropertiesObject(const FileProperties& p);
Bytes StreamPropertiesObject(int streamNumber, const Bytes& typeData, bool audio = true);
Bytes ContentDescriptionObject(const Bytes& title, const Bytes& author);
// name length, name, value type, value length, value.
Bytes Descriptor(const std::u16string& name, uint16_t type, const Bytes& value);
Bytes ExtendedContentDescriptionObject(const std::vector<Bytes>& descriptors);
// The Header object around `objects`; the count defaults to their number.
Bytes HeaderObject(const std::vector<Bytes>& objects, int count = -1);

// A wave format record of 18 bytes plus extra data.
Bytes WaveFormatRecord(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, const Bytes& extra = {});

struct PayloadLayout {
  int stream = 1;
  bool keyFrame = false;
  uint32_t object = 0;
  uint32_t offset = 0;          // into the media object
  Bytes replicated = Bytes(8, 0);
  Bytes data;
};

struct PacketLayout {
  std::vector<PayloadLayout> payloads;
  uint8_t firstByte = 0x82;     // 0x82: two bytes of error correction data; below 0x80: none,
                                // the length type flags come first
  bool multiple = true;         // a single payload is written without the flag when false
};

// One packet of packetSize bytes: header, payloads, then padding to the size.
Bytes BuildPacket(const PacketLayout& layout, uint32_t packetSize);

struct AsfLayout {
  Bytes typeData;               // the audio stream's wave format record
  int streamNumber = 1;
  uint32_t packetSize = 256;
  FileProperties properties;    // packet count and sizes filled in unless set
  std::vector<Bytes> extraObjects;  // more header objects (tags)
  std::vector<PacketLayout> packets;
  Bytes afterHeader;            // objects between the header and the Data object
};
Bytes BuildAsf(AsfLayout layout);

// Cuts PCM into media objects of objectBytes, each into fragments of at
// most fragmentBytes, packed fragmentsPerPacket to a packet (stream 1).
std::vector<PacketLayout> PcmPackets(const Bytes& pcm, uint32_t objectBytes, uint32_t fragmentBytes,
                                   int fragmentsPerPacket);

}  // namespace qv::test
