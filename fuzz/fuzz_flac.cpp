// Fuzzes the FLAC plug-in: its table driven directly (open, decode with odd
// buffer sizes, seeks, stop and decode again) and then through the engine's
// Plugin kind (open, tags, file tags, seek, playback to the end).
#include <cstdint>
#include <vector>

#include "engine/plugins/flac/flac_plugin.h"
#include "fuzz/decoder_fuzz_support.h"

namespace {

void DecodeSome(qv::DecoderPlugin& p, std::vector<uint8_t>& buffer, int calls) {
  for (int i = 0; i < calls; ++i) {
    qv::PluginWaveHeader header{buffer.data(), static_cast<uint32_t>(buffer.size()), 0};
    if (p.Decode(p.Context, &header) != qv::kPluginDecodeMore) return;
  }
}

void DriveTable(const std::u16string& path, uint8_t control) {
  qv::DecoderPlugin p = *qv::GetFlacPlugin();
  qv::PluginFileInfo info{};
  if (!p.OpenFile(&p.Context, path.c_str(), &info)) return;
  std::vector<uint8_t> buffer(1 + control * 97);
  p.Start(p.Context);
  DecodeSome(p, buffer, 3);
  p.Seek(p.Context, static_cast<int32_t>(int64_t(info.DurationMs) * control / 256));
  DecodeSome(p, buffer, 2000);
  p.Seek(p.Context, info.DurationMs > 0 ? info.DurationMs - 1 : 0);
  DecodeSome(p, buffer, 3);
  p.Stop(p.Context);
  DecodeSome(p, buffer, 3);
  p.Close(p.Context);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string path = qv::fuzz::WriteInput(data, size, ".flac");
  if (path.empty()) return 0;
  const uint8_t control = size > 0 ? data[size - 1] : 0;
  DriveTable(path, control);
  qv::fuzz::RunEngine(path, control);
  return 0;
}
