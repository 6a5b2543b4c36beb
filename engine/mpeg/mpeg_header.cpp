#include "engine/mpeg/mpeg_header.h"

namespace qv {

namespace {

// kbit/s by [row][index]; rows: MPEG-1 layers I-III, then MPEG-2 layer I and
// MPEG-2 layers II/III (MPEG-2.5 uses the MPEG-2 rows).
constexpr int32_t kBitrates[5][16] = {
    {0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384, 0},
    {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 0},
    {0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256, 0},
    {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160, 0},
};

constexpr int32_t kRates[3][3] = {
    {44100, 48000, 32000},
    {22050, 24000, 16000},
    {11025, 12000, 8000},
};

int32_t VersionOf(uint32_t versionBits) {
  if ((versionBits & 2) == 0) return 3;  // MPEG-2.5, and the reserved value
  return (versionBits & 1) ? 1 : 2;
}

}  // namespace

bool ParseMpegHeader(uint32_t w, MpegHeader* out) {
  if ((w & 0xFFE00000u) != 0xFFE00000u) return false;
  const uint32_t layerBits = (w >> 17) & 3;
  const uint32_t bitrateIndex = (w >> 12) & 15;
  const uint32_t rateIndex = (w >> 10) & 3;
  if (layerBits == 0 || bitrateIndex == 15 || bitrateIndex == 0 || rateIndex == 3) return false;

  MpegHeader h;
  h.version = VersionOf((w >> 19) & 3);
  h.layer = 4 - static_cast<int32_t>(layerBits);
  const int row = h.version == 1 ? h.layer - 1 : (h.layer == 1 ? 3 : 4);
  h.bitrateKbps = kBitrates[row][bitrateIndex];
  h.sampleRate = kRates[h.version - 1][rateIndex];
  const int32_t padding = (w >> 9) & 1;
  h.channels = ((w >> 6) & 3) == 3 ? 1 : 2;
  if (h.layer == 1) {
    h.frameBytes = (12000 * h.bitrateKbps / h.sampleRate + padding) * 4;
    h.samplesPerFrame = 384;
  } else if (h.layer == 2 || h.version == 1) {
    h.frameBytes = 144000 * h.bitrateKbps / h.sampleRate + padding;
    h.samplesPerFrame = 1152;
  } else {
    h.frameBytes = 72000 * h.bitrateKbps / h.sampleRate + padding;
    h.samplesPerFrame = 576;
  }
  *out = h;
  return true;
}

bool QuickSync(const uint8_t* p) {
  return p[0] == 0xFF && p[1] >= 0xE0 && (p[1] & 6) != 0 && p[2] < 0xF0 && (p[2] & 0x0C) != 0x0C;
}

bool QuickSyncMatching(const uint8_t* p, int32_t version, int32_t layer) {
  if (!QuickSync(p)) return false;
  const int32_t v = (p[1] & 0x10) == 0 ? 3 : ((p[1] & 0x08) ? 1 : 2);
  return v == version && 4 - ((p[1] >> 1) & 3) == layer;
}

}  // namespace qv
