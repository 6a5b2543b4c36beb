#include "engine/wav/wav_layout.h"

#include <algorithm>
#include <cstring>

namespace qv {

namespace {

uint32_t ReadU32(const uint8_t* p) {
  return uint32_t(p[0]) | uint32_t(p[1]) << 8 | uint32_t(p[2]) << 16 | uint32_t(p[3]) << 24;
}

bool ReadAt(LockedFile& file, uint64_t offset, void* out, size_t bytes) {
  if (file.Seek(static_cast<int64_t>(offset), LockedFile::Origin::Begin) != static_cast<int64_t>(offset))
    return false;
  auto* dest = static_cast<uint8_t*>(out);
  while (bytes > 0) {
    size_t got = 0;
    if (!file.Read(dest, bytes, &got) || got == 0) return false;
    dest += got;
    bytes -= got;
  }
  return true;
}

bool IsId(const uint8_t* p, const char* id) { return std::memcmp(p, id, 4) == 0; }

// The data chunk whose header is at `at`; false when it is empty (the walk
// then goes on past it).
bool TakeData(uint64_t at, uint32_t size, uint64_t fileSize, WavLayout* layout) {
  const uint64_t offset = at + 8;
  if (offset >= fileSize || size == 0) return false;
  layout->dataOffset = offset;
  layout->dataLength = offset + size > fileSize ? fileSize - offset : size;
  return true;
}

// Last resort for a broken chunk size: look for the bytes "data" from `from`.
bool SearchData(LockedFile& file, uint64_t from, uint64_t fileSize, WavLayout* layout) {
  constexpr size_t kWindow = 65536;
  std::vector<uint8_t> window(kWindow + 8);
  uint64_t pos = from;
  while (pos + 8 <= fileSize) {
    const size_t n = static_cast<size_t>(std::min<uint64_t>(kWindow + 8, fileSize - pos));
    if (!ReadAt(file, pos, window.data(), n)) return false;
    for (size_t i = 0; i + 8 <= n; ++i) {
      if (!IsId(&window[i], "data")) continue;
      if (TakeData(pos + i, ReadU32(&window[i + 4]), fileSize, layout)) return true;
    }
    if (n < kWindow + 8) break;
    pos += kWindow;  // the windows overlap by 8 bytes
  }
  return false;
}

}  // namespace

bool ReadWavLayout(LockedFile& file, WavLayout* layout) {
  const int64_t size = file.Size();
  if (size < 12) return false;
  const uint64_t fileSize = static_cast<uint64_t>(size);
  uint8_t header[12];
  if (!ReadAt(file, 0, header, 12) || !IsId(header, "RIFF") || !IsId(header + 8, "WAVE")) return false;

  uint64_t pos = 12;
  for (;;) {
    uint8_t chunk[8];
    if (pos + 8 > fileSize || !ReadAt(file, pos, chunk, 8)) return false;
    const uint32_t chunkSize = ReadU32(chunk + 4);
    if (IsId(chunk, "fmt ")) {
      if (chunkSize < kWavMinFmtBytes || chunkSize > kWavMaxFmtBytes) return false;
      layout->fmt.resize(chunkSize);
      if (!ReadAt(file, pos + 8, layout->fmt.data(), chunkSize)) return false;
      pos += 8 + uint64_t(chunkSize) + (chunkSize & 1);
      break;
    }
    pos += 8 + uint64_t(chunkSize) + (chunkSize & 1);
  }

  const uint64_t afterFmt = pos;
  while (pos + 8 <= fileSize) {
    uint8_t chunk[8];
    if (!ReadAt(file, pos, chunk, 8)) return false;
    const uint32_t chunkSize = ReadU32(chunk + 4);
    if (IsId(chunk, "data") && TakeData(pos, chunkSize, fileSize, layout)) return true;
    if (IsId(chunk, "fact") && chunkSize >= 4 && !layout->factFrames) {
      uint8_t frames[4];
      if (!ReadAt(file, pos + 8, frames, 4)) return false;
      layout->factFrames = ReadU32(frames);
    }
    const uint64_t next = pos + 8 + uint64_t(chunkSize) + (chunkSize & 1);
    if (next > fileSize) break;
    pos = next;
  }
  return SearchData(file, afterFmt, fileSize, layout);
}

}  // namespace qv
