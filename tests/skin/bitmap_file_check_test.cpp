// Bitmap files checked before the system's picture loader reads them by
// their own offsets and sizes.
#include <gtest/gtest.h>

#include <cstdint>
#include <functional>
#include <vector>

#include "app/skin/bitmap_file_check.h"

namespace qv {
namespace {

using Bytes = std::vector<uint8_t>;

void Put(Bytes& b, size_t at, uint32_t v, int width) {
  for (int i = 0; i < width; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

// A bitmap with a 40-byte header: bits per pixel, palette entries, then the
// pixels (uncompressed rows padded to 4 bytes).
Bytes Bitmap(int width, int height, int bits, int colours = 0) {
  const size_t stride = ((size_t(width) * bits + 31) / 32) * 4;
  const size_t offset = 54 + 4 * size_t(colours);
  Bytes b(offset + stride * size_t(height < 0 ? -height : height), 0x5A);
  b[0] = 'B';
  b[1] = 'M';
  Put(b, 2, uint32_t(b.size()), 4);
  Put(b, 6, 0, 4);
  Put(b, 10, uint32_t(offset), 4);
  Put(b, 14, 40, 4);
  Put(b, 18, uint32_t(width), 4);
  Put(b, 22, uint32_t(height), 4);
  Put(b, 26, 1, 2);
  Put(b, 28, uint32_t(bits), 2);
  Put(b, 30, 0, 4);
  Put(b, 34, uint32_t(b.size() - offset), 4);
  Put(b, 38, 2835, 4);
  Put(b, 42, 2835, 4);
  Put(b, 46, uint32_t(colours), 4);
  Put(b, 50, 0, 4);
  return b;
}

bool Sane(const Bytes& b) {
  const size_t head = b.size() < kBitmapCheckBytes ? b.size() : kBitmapCheckBytes;
  return BitmapFileLayoutSane(b.data(), head, b.size());
}

TEST(BitmapFileCheck, WellFormedBitmapsPass) {
  EXPECT_TRUE(Sane(Bitmap(35, 17, 24)));
  EXPECT_TRUE(Sane(Bitmap(261, 383, 24)));
  EXPECT_TRUE(Sane(Bitmap(35, -17, 32))) << "top-down";
  EXPECT_TRUE(Sane(Bitmap(9, 8, 8, 256)));
  EXPECT_TRUE(Sane(Bitmap(9, 8, 8, 16))) << "a short palette";
  EXPECT_TRUE(Sane(Bitmap(16, 16, 1, 2)));
  EXPECT_TRUE(Sane(Bitmap(kMaxSkinPictureSide, 1, 24)));
  Bytes core(12 + 14 + 3 * 2 + 4, 0);  // a 12-byte header, two colours, one row
  core[0] = 'B';
  core[1] = 'M';
  Put(core, 10, 14 + 12 + 6, 4);
  Put(core, 14, 12, 4);
  Put(core, 18, 8, 2);
  Put(core, 20, 1, 2);
  Put(core, 22, 1, 2);
  Put(core, 24, 1, 2);
  EXPECT_TRUE(Sane(core));
}

TEST(BitmapFileCheck, DamagedHeadersAreRefused) {
  struct Case {
    const char* label;
    std::function<void(Bytes&)> damage;
  };
  const Case cases[] = {
      {"pixels far past the end", [](Bytes& b) { Put(b, 10, 0xFFFFFFF0, 4); }},
      {"pixels at the end", [](Bytes& b) { Put(b, 10, uint32_t(b.size()), 4); }},
      {"pixels inside the headers", [](Bytes& b) { Put(b, 10, 20, 4); }},
      {"pixels cut short", [](Bytes& b) { b.resize(b.size() - 1); }},
      {"header cut short", [](Bytes& b) { b.resize(30); }},
      {"not BM", [](Bytes& b) { b[0] = 'P'; }},
      {"info header size huge", [](Bytes& b) { Put(b, 14, 0xFFFFFFF0, 4); }},
      {"info header size 39", [](Bytes& b) { Put(b, 14, 39, 4); }},
      {"width 0", [](Bytes& b) { Put(b, 18, 0, 4); }},
      {"width negative", [](Bytes& b) { Put(b, 18, uint32_t(-35), 4); }},
      {"width huge", [](Bytes& b) { Put(b, 18, 0x7FFFFFFF, 4); }},
      {"width past the limit", [](Bytes& b) { Put(b, 18, kMaxSkinPictureSide + 1, 4); }},
      {"height 0", [](Bytes& b) { Put(b, 22, 0, 4); }},
      {"height most negative", [](Bytes& b) { Put(b, 22, 0x80000000u, 4); }},
      {"planes 2", [](Bytes& b) { Put(b, 26, 2, 2); }},
      {"bits 7", [](Bytes& b) { Put(b, 28, 7, 2); }},
      {"bits 64", [](Bytes& b) { Put(b, 28, 64, 2); }},
      {"compression 99", [](Bytes& b) { Put(b, 30, 99, 4); }},
      {"RLE8 on 24 bits", [](Bytes& b) { Put(b, 30, 1, 4); }},
      {"bit fields without their masks", [](Bytes& b) { Put(b, 28, 32, 2), Put(b, 30, 3, 4); }},
      {"palette bigger than the bits allow", [](Bytes& b) { Put(b, 28, 8, 2), Put(b, 46, 0xFFFFFFFF, 4); }},
  };
  for (const Case& c : cases) {
    Bytes b = Bitmap(35, 17, 24);
    c.damage(b);
    EXPECT_FALSE(Sane(b)) << c.label;
  }
  Bytes palette = Bitmap(9, 8, 8, 256);
  Put(palette, 10, 54 + 4 * 255, 4);
  EXPECT_FALSE(Sane(palette)) << "pixels inside the palette";
  Bytes rle = Bitmap(9, -8, 8, 256);
  Put(rle, 30, 1, 4);
  EXPECT_FALSE(Sane(rle)) << "RLE top-down";
  EXPECT_FALSE(BitmapFileLayoutSane(Bitmap(35, 17, 24).data(), 54, 53)) << "head longer than the file";
}

}  // namespace
}  // namespace qv
