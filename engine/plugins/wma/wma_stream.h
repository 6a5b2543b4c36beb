// One open WMA file: the ASF header and Data object, the packet and payload
// walk that feeds the decoder object, the output buffer the decoder fills
// and the engine's wave headers are filled from, and seeking by packet.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "engine/plugins/decoder_plugin.h"
#include "engine/plugins/wma/asf_header.h"
#include "engine/plugins/wma/asf_packet.h"
#include "platform/files/wide_file.h"
#include "platform/media/media_buffer.h"
#include "platform/media/media_object.h"

namespace qv {

// Largest fixed packet size accepted (writers use at most 64 KiB).
constexpr uint32_t kMaxAsfPacketSize = 1u << 24;

class WmaStream {
 public:
  // Null when the file is not ASF with a duration, an audio stream, fixed
  // packets and a first packet that parses, or no decoder object takes its
  // audio.
  static std::unique_ptr<WmaStream> Open(const char16_t* path);
  ~WmaStream();
  WmaStream(const WmaStream&) = delete;
  WmaStream& operator=(const WmaStream&) = delete;

  const PluginFileInfo& Info() const { return info_; }
  const TagInfo& Tags() const { return header_.tags; }

  // Moves to the packet at ms / duration of the packets; returns that
  // packet's time in ms, or -1 when the file is not seekable.
  int32_t Seek(int32_t ms);
  // Begins the current packet afresh.
  void Start();
  // 0 more data, 1 last data, -1 error; fills header->data from
  // header->bytesRecorded up to header->bufferLength.
  int Decode(PluginWaveHeader* header);
  // Drops what the decoder and the output buffer hold; the position stays.
  void Stop();

  uint64_t CurrentPacket() const { return currentPacket_; }
  uint64_t PacketCount() const { return header_.packetCount; }
  uint64_t DataObjectOffset() const { return dataOffset_; }
  uint32_t PacketSize() const { return packetSize_; }

 private:
  enum class Drain { Filled, Empty, Failed };

  WmaStream() = default;
  bool SetUpDecoder();
  bool FirstPacketParses();
  void Reposition(uint64_t packet);
  bool ReadPacket();
  // Reads the packets from the current one on into held_.
  bool ReadAhead();
  // Feeds the rest of the current packet's payloads; -1, 0 (header filled)
  // or 1 (the packet is done).
  int FeedPayloads(PluginWaveHeader* header);
  bool Feed(const uint8_t* data, uint32_t length);
  Drain DrainOutput(PluginWaveHeader* header);

  WideFile file_;
  AsfHeader header_;
  uint64_t dataOffset_ = 0;
  uint32_t packetSize_ = 0;
  uint16_t formatTag_ = 0;
  PluginFileInfo info_{};

  std::unique_ptr<MediaObject> decoder_;
  MediaBufferRef output_;
  // Packets are read several at a time (about 64 KiB), which saves a seek
  // and a read per packet: heldBytes_ bytes from packet firstHeld_ on.
  std::vector<uint8_t> held_;
  uint64_t firstHeld_ = 0;
  size_t heldBytes_ = 0;
  const uint8_t* packet_ = nullptr;  // the current packet, inside held_
  size_t packetBytes_ = 0;           // read of the current packet

  uint64_t currentPacket_ = 0;
  bool packetInProgress_ = false;
  AsfPacketHeader packetHeader_;
  unsigned nextPayload_ = 0;
  uint32_t payloadAt_ = 0;
  // The part of the current audio payload not yet given to the decoder.
  uint32_t chunkAt_ = 0;
  uint32_t chunkEnd_ = 0;
  bool compressed_ = false;
  bool keyFrame_ = false;
  bool discontinuitySent_ = false;
  // After a flush the decoder starts at a media object's first fragment.
  bool awaitingObjectStart_ = true;
};

}  // namespace qv
