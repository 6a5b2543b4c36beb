// Fuzzes ASF reading for the WMA plug-in: the Header object and packet
// parsers on the raw input, then the plug-in's table on the input as a file
// (file tags, open, tags, seeks, decoding, Stop and Start) with either the
// real decoder objects or the passthrough one that plays PCM inside ASF, and
// then the engine on the same file.
#include <cstdint>
#include <vector>

#include "engine/plugins/wma/asf_header.h"
#include "engine/plugins/wma/asf_packet.h"
#include "engine/plugins/wma/wma_plugin.h"
#include "fuzz/decoder_fuzz_support.h"
#include "tests/wma/passthrough_decoder.h"

namespace {

void ParseRaw(const uint8_t* data, size_t size, uint8_t control) {
  qv::AsfHeader header;
  qv::ParseAsfHeaderObject(data, size, &header);
  const uint32_t packetSize = 8 + control * 3u;
  qv::AsfPacketHeader packet;
  for (size_t at = 0; at < size; at += packetSize) {
    const size_t available = size - at;
    if (!qv::ParseAsfPacketHeader(data + at, available, packetSize, &packet)) continue;
    uint32_t payloadAt = packet.headerLength;
    for (unsigned i = 0; i < packet.payloadCount; ++i) {
      qv::AsfPayloadHeader payload;
      if (!qv::ParseAsfPayloadHeader(data + at, available, payloadAt, packet, &payload)) break;
      payloadAt += payload.headerLength + payload.payloadLength;
    }
  }
}

int DecodeSome(qv::DecoderPlugin& p, std::vector<uint8_t>& buffer, int calls) {
  int result = qv::kPluginDecodeMore;
  for (int i = 0; i < calls && result == qv::kPluginDecodeMore; ++i) {
    qv::PluginWaveHeader header{buffer.data(), static_cast<uint32_t>(buffer.size()), 0};
    result = p.Decode(p.Context, &header);
    if (header.bytesRecorded > buffer.size()) __builtin_trap();
  }
  return result;
}

void DriveTable(const std::u16string& path, uint8_t control) {
  qv::DecoderPlugin p = *qv::GetWmaPlugin();
  qv::TagInfo tags{};
  p.GetFileTag(path.c_str(), &tags);
  p.IsValidFile(path.c_str());
  qv::PluginFileInfo info{};
  if (!p.OpenFile(&p.Context, path.c_str(), &info)) return;
  p.GetTag(p.Context, &tags);
  std::vector<uint8_t> buffer(1 + control * 61);
  p.Start(p.Context);
  DecodeSome(p, buffer, 20);
  p.Seek(p.Context, static_cast<int32_t>(int64_t(info.DurationMs) * control / 256));
  DecodeSome(p, buffer, 200);
  p.Stop(p.Context);
  p.Start(p.Context);
  p.Seek(p.Context, info.DurationMs);
  DecodeSome(p, buffer, 5);
  p.Seek(p.Context, 0);
  DecodeSome(p, buffer, 20);
  p.Close(p.Context);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const uint8_t control = size > 0 ? data[size - 1] : 0;
  ParseRaw(data, size, control);
  const std::u16string path = qv::fuzz::WriteInput(data, size, ".wma");
  if (path.empty()) return 0;
  if (control & 1) {
    qv::test::ScopedPassthrough passthrough;
    DriveTable(path, control);
  } else {
    DriveTable(path, control);
  }
  qv::fuzz::RunEngine(path, control);
  return 0;
}
