#include "engine/plugins/wma/wave_format.h"

#include <algorithm>

#include "engine/plugins/wma/asf_bytes.h"

namespace qv {

bool ParseWaveFormat(const uint8_t* record, size_t size, WaveFormat* out) {
  *out = WaveFormat{};
  if (!record || size < kWaveFormatBytes) return false;
  out->formatTag = Le16(record);
  out->channels = Le16(record + 2);
  out->sampleRate = Le32(record + 4);
  out->avgBytesPerSec = Le32(record + 8);
  out->blockAlign = Le16(record + 12);
  out->bitsPerSample = Le16(record + 14);
  if (size >= kWaveFormatExBytes) {
    out->extra = record + kWaveFormatExBytes;
    out->extraSize = std::min<size_t>(Le16(record + 16), size - kWaveFormatExBytes);
  }
  return true;
}

std::vector<uint8_t> PcmWaveFormat(uint16_t channels, uint32_t sampleRate, uint16_t bits) {
  const uint32_t blockAlign = uint32_t(channels) * bits / 8;
  const uint32_t avgBytes = blockAlign * sampleRate;
  auto put16 = [](uint8_t* p, uint32_t v) {
    p[0] = static_cast<uint8_t>(v);
    p[1] = static_cast<uint8_t>(v >> 8);
  };
  std::vector<uint8_t> r(kWaveFormatExBytes, 0);
  put16(&r[0], kWaveFormatPcm);
  put16(&r[2], channels);
  put16(&r[4], sampleRate & 0xFFFF);
  put16(&r[6], sampleRate >> 16);
  put16(&r[8], avgBytes & 0xFFFF);
  put16(&r[10], avgBytes >> 16);
  put16(&r[12], blockAlign);
  put16(&r[14], bits);
  return r;  // extra size 0
}

MediaType CompressedAudioType(const std::vector<uint8_t>& record, uint16_t formatTag) {
  MediaType t;
  t.majorType = kMediaTypeAudio;
  t.subType = AudioSubtype(formatTag);
  t.fixedSizeSamples = true;
  t.formatType = kFormatWaveFormatEx;
  t.format = record;
  return t;
}

MediaType PcmAudioType(uint16_t channels, uint32_t sampleRate, uint16_t bits) {
  MediaType t;
  t.majorType = kMediaTypeAudio;
  t.subType = AudioSubtype(kWaveFormatPcm);
  t.fixedSizeSamples = true;
  t.sampleSize = uint32_t(channels) * bits / 8;
  t.formatType = kFormatWaveFormatEx;
  t.format = PcmWaveFormat(channels, sampleRate, bits);
  return t;
}

}  // namespace qv
