// A 16-bit PCM WAV file: the chunks walked to "data", which is read in blocks
// of the engine's block size for 44.1 kHz stereo.
#include <cstring>
#include <vector>

#include "bench/bare_loops.h"
#include "bench/bench_file.h"

namespace bench {

namespace {

constexpr size_t kBlockBytes = 49152;

uint32_t Le32(const unsigned char* p) { return p[0] | p[1] << 8 | p[2] << 16 | uint32_t(p[3]) << 24; }
uint16_t Le16(const unsigned char* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }

// Reads chunk headers up to "data"; its length, or false.
bool FindData(std::FILE* file, BareResult* out, uint64_t* dataBytes) {
  unsigned char riff[12];
  if (std::fread(riff, 1, 12, file) != 12 || std::memcmp(riff, "RIFF", 4) || std::memcmp(riff + 8, "WAVE", 4))
    return false;
  bool pcm16 = false;
  for (;;) {
    unsigned char chunk[8];
    if (std::fread(chunk, 1, 8, file) != 8) return false;
    const uint32_t length = Le32(chunk + 4);
    if (!std::memcmp(chunk, "data", 4)) {
      *dataBytes = length;
      return pcm16;
    }
    if (!std::memcmp(chunk, "fmt ", 4) && length >= 16) {
      unsigned char fmt[16];
      if (std::fread(fmt, 1, 16, file) != 16) return false;
      out->channels = Le16(fmt + 2);
      out->rate = static_cast<int>(Le32(fmt + 4));
      pcm16 = Le16(fmt) == 1 && Le16(fmt + 14) == 16 && out->channels > 0;
      if (std::fseek(file, long(length - 16 + (length & 1)), SEEK_CUR) != 0) return false;
    } else if (std::fseek(file, long(length + (length & 1)), SEEK_CUR) != 0) {
      return false;
    }
  }
}

}  // namespace

bool BareWav(const std::string& path, BareResult* out, std::string* error) {
  std::FILE* file = OpenForReading(path);
  if (!file) {
    *error = "cannot open " + path;
    return false;
  }
  uint64_t left = 0;
  if (!FindData(file, out, &left)) {
    std::fclose(file);
    *error = "not a 16-bit PCM WAV file: " + path;
    return false;
  }
  std::vector<unsigned char> block(kBlockBytes);
  uint64_t bytes = 0;
  size_t got = 0;
  while (left > 0 && (got = std::fread(block.data(), 1, left < kBlockBytes ? size_t(left) : kBlockBytes, file)) > 0) {
    bytes += got;
    left -= got;
    out->checksum += block[0];
  }
  std::fclose(file);
  out->frames = bytes / (2u * static_cast<unsigned>(out->channels));
  if (out->frames == 0) {
    *error = "no samples in " + path;
    return false;
  }
  return true;
}

}  // namespace bench
