#include "platform/acm/codec_format_check.h"

namespace qv {

namespace {

constexpr uint16_t kMsAdpcm = 0x0002;
constexpr uint16_t kImaAdpcm = 0x0011;

uint32_t Field(const WaveFormatBytes& f, size_t at, size_t width) {
  uint32_t v = 0;
  for (size_t i = 0; i < width; ++i) v |= uint32_t(f[at + i]) << (8 * i);
  return v;
}

// ADPCM blocks open with a header per channel, then carry two samples per
// byte; the first `headerSamples` samples live in the headers.
bool AdpcmLayoutSane(const WaveFormatBytes& f, uint32_t channels, uint32_t blockAlign, uint32_t headerBytes,
                     uint32_t headerSamples) {
  if (f.size() < 20 || channels > 2 || blockAlign < headerBytes * channels) return false;
  const uint32_t samplesPerBlock = Field(f, 18, 2);
  const uint32_t capacity = headerSamples + (blockAlign - headerBytes * channels) * 2 / channels;
  return samplesPerBlock >= headerSamples && samplesPerBlock >= 1 && samplesPerBlock <= capacity;
}

}  // namespace

bool CodecBlockLayoutSane(const WaveFormatBytes& f) {
  if (f.size() < 16) return false;
  const uint32_t tag = Field(f, 0, 2);
  const uint32_t channels = Field(f, 2, 2);
  const uint32_t rate = Field(f, 4, 4);
  const uint32_t blockAlign = Field(f, 12, 2);
  if (channels == 0 || rate == 0 || blockAlign == 0) return false;
  if (tag == kMsAdpcm) return AdpcmLayoutSane(f, channels, blockAlign, 7, 2);
  if (tag == kImaAdpcm) return AdpcmLayoutSane(f, channels, blockAlign, 4, 1);
  return true;
}

}  // namespace qv
