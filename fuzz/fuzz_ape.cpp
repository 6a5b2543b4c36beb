// Fuzzes Monkey's Audio: the decompressor over FFmpeg (information, block
// reads, seeks to blocks), the APE plug-in's table, and then the engine's
// Plugin kind on the same file (open, tags, file tags, seek, playback).
#include <cstdint>
#include <vector>

#include "engine/plugins/ape/ape_decompressor.h"
#include "engine/plugins/ape/ape_plugin.h"
#include "fuzz/decoder_fuzz_support.h"

namespace {

void ReadBlocks(qv::ApeDecompressor& d, std::vector<uint8_t>& buffer, int calls) {
  const int64_t align = d.GetInfo(qv::ApeInfo::BlockAlign);
  if (align <= 0) return;
  const int64_t blocks = static_cast<int64_t>(buffer.size()) / align;
  for (int i = 0; i < calls; ++i) {
    int64_t got = 0;
    if (!d.GetData(buffer.data(), blocks, &got) || got == 0) return;
  }
}

void DriveDecompressor(const std::u16string& path, uint8_t control) {
  auto d = qv::ApeDecompressor::Create(path.c_str());
  if (!d) return;
  for (auto field : {qv::ApeInfo::Channels, qv::ApeInfo::SampleRate, qv::ApeInfo::BitsPerSample,
                     qv::ApeInfo::TotalBlocks, qv::ApeInfo::LengthMs, qv::ApeInfo::AverageBitrate})
    d->GetInfo(field);
  std::vector<uint8_t> buffer(4096 + control * 64);
  ReadBlocks(*d, buffer, 4);
  const int64_t total = d->GetInfo(qv::ApeInfo::TotalBlocks);
  d->Seek(total * control / 256);
  ReadBlocks(*d, buffer, 400);
  d->Seek(total - 1);
  ReadBlocks(*d, buffer, 4);
  d->GetInfo(qv::ApeInfo::CurrentMs);
}

void DriveTable(const std::u16string& path, uint8_t control) {
  qv::DecoderPlugin p = *qv::GetApePlugin();
  qv::PluginFileInfo info{};
  if (!p.OpenFile(&p.Context, path.c_str(), &info)) return;
  std::vector<uint8_t> buffer(1 + control * 97);
  p.Seek(p.Context, static_cast<int32_t>(int64_t(info.DurationMs) * control / 256));
  for (int i = 0; i < 50; ++i) {
    qv::PluginWaveHeader header{buffer.data(), static_cast<uint32_t>(buffer.size()), 0};
    if (p.Decode(p.Context, &header) != qv::kPluginDecodeMore) break;
  }
  p.Close(p.Context);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string path = qv::fuzz::WriteInput(data, size, ".ape");
  if (path.empty()) return 0;
  const uint8_t control = size > 0 ? data[size - 1] : 0;
  DriveDecompressor(path, control);
  DriveTable(path, control);
  qv::fuzz::RunEngine(path, control);
  return 0;
}
