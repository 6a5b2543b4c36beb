#include "app/skin/bitmap_file_check.h"

namespace qv {

namespace {

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

uint32_t Get(const uint8_t* p, size_t at, int width) {
  uint32_t v = 0;
  for (int i = 0; i < width; ++i) v |= uint32_t(p[at + i]) << (8 * i);
  return v;
}

}  // namespace

bool BitmapFileLayoutSane(const uint8_t* head, size_t headSize, uint64_t fileSize) {
  if (headSize < 14 + 12 || headSize > fileSize || head[0] != 'B' || head[1] != 'M') return false;
  const uint64_t pixelsAt = Get(head, 10, 4);
  const uint32_t infoSize = Get(head, 14, 4);
  const bool core = infoSize == 12;
  if (!core && (infoSize < 40 || infoSize > 124)) return false;
  if (14 + infoSize > headSize) return false;

  int64_t width, height;
  uint32_t planes, bits, compression = kRgb, coloursUsed = 0;
  if (core) {
    width = Get(head, 18, 2);
    height = Get(head, 20, 2);
    planes = Get(head, 22, 2);
    bits = Get(head, 24, 2);
  } else {
    width = int32_t(Get(head, 18, 4));
    height = int32_t(Get(head, 22, 4));
    planes = Get(head, 26, 2);
    bits = Get(head, 28, 2);
    compression = Get(head, 30, 4);
    coloursUsed = Get(head, 46, 4);
  }
  const bool topDown = height < 0;
  if (topDown) height = -height;
  if (planes != 1 || width < 1 || height < 1 || width > kMaxSkinPictureSide || height > kMaxSkinPictureSide)
    return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  const bool rle = compression == kRle8 || compression == kRle4;
  if (compression == kRle8 && bits != 8) return false;
  if (compression == kRle4 && bits != 4) return false;
  if (compression == kBitFields && bits != 16 && bits != 32) return false;
  if (compression > kBitFields || (rle && topDown)) return false;

  // What lies between the headers and the pixels: the colour masks (after a
  // 40-byte header) and the palette.
  uint64_t tables = 14 + infoSize;
  if (compression == kBitFields && infoSize == 40) tables += 12;
  if (bits <= 8) {
    const uint64_t colours = coloursUsed ? coloursUsed : (1u << bits);
    if (colours > (1u << bits)) return false;
    tables += colours * (core ? 3 : 4);
  }
  if (pixelsAt < tables || pixelsAt >= fileSize) return false;
  if (rle) return true;
  const uint64_t stride = ((uint64_t(width) * bits + 31) / 32) * 4;
  return stride * uint64_t(height) <= fileSize - pixelsAt;
}

}  // namespace qv
