#include "tests/plugins/plugin_test_support.h"

#include <algorithm>

#include "platform/files/wide_file.h"

namespace qv::test {

namespace {

uint32_t U32(const Bytes& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}
uint16_t U16(const Bytes& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }

}  // namespace

WavPcm ReadFixtureWav(const std::string& name) {
  WavPcm wav;
  Bytes all;
  if (!ReadWholeFile(FixturePath(name), 64u << 20, all) || all.size() < 12) return wav;
  size_t at = 12;
  while (at + 8 <= all.size()) {
    const std::string id(all.begin() + long(at), all.begin() + long(at) + 4);
    const uint32_t size = U32(all, at + 4);
    const size_t body = at + 8;
    if (id == "fmt " && body + 16 <= all.size()) {
      wav.channels = U16(all, body + 2);
      wav.rate = int(U32(all, body + 4));
      wav.bits = U16(all, body + 14);
    } else if (id == "data") {
      const size_t end = std::min(all.size(), body + size);
      wav.data.assign(all.begin() + long(body), all.begin() + long(end));
      break;
    }
    at = body + size + (size & 1);
  }
  return wav;
}

Bytes Delivered(const WavPcm& wav) {
  if (wav.bits == 8 || wav.bits == 16) return wav.data;
  const size_t width = size_t(wav.bits / 8);
  Bytes out;
  out.reserve(wav.data.size() / width * 2);
  // Little-endian: the top two bytes of each sample.
  for (size_t i = 0; i + width <= wav.data.size(); i += width) {
    out.push_back(wav.data[i + width - 2]);
    out.push_back(wav.data[i + width - 1]);
  }
  return out;
}

std::u16string CopyFixture(const std::string& fixture, const std::string& name) {
  Bytes bytes;
  if (!ReadWholeFile(FixturePath(fixture), 64u << 20, bytes)) return {};
  const std::u16string path = TempPath(name);
  return WriteBytes(path, bytes) ? path : std::u16string();
}

bool OpenWith(DecoderPlugin& plugin, const std::u16string& path, PluginFileInfo* info) {
  *info = PluginFileInfo{};
  return plugin.OpenFile(&plugin.Context, path.c_str(), info) != 0;
}

int DecodeOnce(DecoderPlugin& plugin, uint32_t bufferBytes, Bytes* out) {
  // A guard area after the buffer catches a plug-in that writes past it.
  Bytes buffer(bufferBytes + 64, 0xA5);
  PluginWaveHeader header{buffer.data(), bufferBytes, 0};
  const int result = plugin.Decode(plugin.Context, &header);
  if (header.bytesRecorded > bufferBytes) return -100;
  for (size_t i = bufferBytes; i < buffer.size(); ++i)
    if (buffer[i] != 0xA5) return -101;
  out->insert(out->end(), buffer.begin(), buffer.begin() + header.bytesRecorded);
  return result;
}

bool DecodeToEnd(DecoderPlugin& plugin, uint32_t bufferBytes, Bytes* out, int* lastResult) {
  for (int calls = 0; calls < 1000000; ++calls) {
    const int result = DecodeOnce(plugin, bufferBytes, out);
    if (lastResult) *lastResult = result;
    if (result == kPluginDecodeLast) return true;
    if (result != kPluginDecodeMore) return false;
  }
  return false;
}

Bytes FromFrame(const Bytes& pcm, uint64_t first, uint32_t frameBytes) {
  const size_t at = std::min<size_t>(pcm.size(), size_t(first) * frameBytes);
  return Bytes(pcm.begin() + long(at), pcm.end());
}

}  // namespace qv::test
