#include "png_writer.h"

#include <zlib.h>

#include <cstdio>
#include <cwctype>

namespace qvdriver {

namespace {

void Be32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 24; shift >= 0; shift -= 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void Le32(std::vector<uint8_t>& out, uint32_t v) {
  for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

void Le16(std::vector<uint8_t>& out, uint16_t v) {
  out.push_back(static_cast<uint8_t>(v));
  out.push_back(static_cast<uint8_t>(v >> 8));
}

void Chunk(std::vector<uint8_t>& out, const char* type, const std::vector<uint8_t>& data) {
  Be32(out, static_cast<uint32_t>(data.size()));
  size_t start = out.size();
  out.insert(out.end(), type, type + 4);
  out.insert(out.end(), data.begin(), data.end());
  uLong crc = crc32(0L, out.data() + start, static_cast<uInt>(out.size() - start));
  Be32(out, static_cast<uint32_t>(crc));
}

bool Png(const Picture& p, std::vector<uint8_t>& out) {
  std::vector<uint8_t> raw;
  raw.reserve(static_cast<size_t>(p.height) * (p.width * 3 + 1));
  for (int y = 0; y < p.height; ++y) {
    raw.push_back(0);  // no filter
    const uint8_t* row = p.rgb.data() + static_cast<size_t>(y) * p.width * 3;
    raw.insert(raw.end(), row, row + p.width * 3);
  }
  uLongf packedSize = compressBound(static_cast<uLong>(raw.size()));
  std::vector<uint8_t> packed(packedSize);
  if (compress2(packed.data(), &packedSize, raw.data(), static_cast<uLong>(raw.size()), 9) != Z_OK) return false;
  packed.resize(packedSize);
  const uint8_t signature[8] = {0x89, 'P', 'N', 'G', 0x0D, 0x0A, 0x1A, 0x0A};
  out.assign(signature, signature + 8);
  std::vector<uint8_t> header;
  Be32(header, static_cast<uint32_t>(p.width));
  Be32(header, static_cast<uint32_t>(p.height));
  header.insert(header.end(), {8, 2, 0, 0, 0});  // 8 bits, RGB, deflate, no filter set, no interlace
  Chunk(out, "IHDR", header);
  Chunk(out, "IDAT", packed);
  Chunk(out, "IEND", {});
  return true;
}

void Bmp(const Picture& p, std::vector<uint8_t>& out) {
  uint32_t stride = (static_cast<uint32_t>(p.width) * 3 + 3) & ~3u;
  uint32_t imageSize = stride * static_cast<uint32_t>(p.height);
  out.clear();
  out.push_back('B');
  out.push_back('M');
  Le32(out, 54 + imageSize);
  Le32(out, 0);
  Le32(out, 54);
  Le32(out, 40);
  Le32(out, static_cast<uint32_t>(p.width));
  Le32(out, static_cast<uint32_t>(p.height));  // bottom row first
  Le16(out, 1);
  Le16(out, 24);
  Le32(out, 0);
  Le32(out, imageSize);
  Le32(out, 2835);
  Le32(out, 2835);
  Le32(out, 0);
  Le32(out, 0);
  for (int y = p.height - 1; y >= 0; --y) {
    const uint8_t* row = p.rgb.data() + static_cast<size_t>(y) * p.width * 3;
    for (int x = 0; x < p.width; ++x) {
      out.push_back(row[3 * x + 2]);
      out.push_back(row[3 * x + 1]);
      out.push_back(row[3 * x]);
    }
    for (uint32_t pad = p.width * 3; pad < stride; ++pad) out.push_back(0);
  }
}

bool EndsWithNoCase(const std::wstring& s, const wchar_t* suffix) {
  std::wstring tail(suffix);
  if (s.size() < tail.size()) return false;
  for (size_t i = 0; i < tail.size(); ++i)
    if (std::towlower(s[s.size() - tail.size() + i]) != tail[i]) return false;
  return true;
}

}  // namespace

bool WritePicture(const std::wstring& path, const Picture& picture) {
  if (picture.width <= 0 || picture.height <= 0) return false;
  std::vector<uint8_t> bytes;
  if (EndsWithNoCase(path, L".bmp")) {
    Bmp(picture, bytes);
  } else if (!Png(picture, bytes)) {
    return false;
  }
  FILE* f = _wfopen(path.c_str(), L"wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  return std::fclose(f) == 0 && ok;
}

}  // namespace qvdriver
