// A compression manager that knows PCM (also as an extensible record with the
// PCM subformat) and G.711 mu-law and A-law, decoded to 16-bit PCM. It is the
// native build's manager and lets tests drive the compressed WAV path.
#include <algorithm>
#include <cstring>

#include "platform/acm/compression.h"

namespace qv {

namespace {

constexpr uint16_t kTagPcm = 1;
constexpr uint16_t kTagALaw = 6;
constexpr uint16_t kTagMuLaw = 7;
constexpr uint16_t kTagExtensible = 0xFFFE;
// The PCM subformat GUID of an extensible record, after its first two bytes.
constexpr uint8_t kPcmGuidTail[14] = {0x00, 0x00, 0x00, 0x00, 0x10, 0x00, 0x80,
                                      0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71};

struct Fields {
  uint16_t tag, channels, blockAlign, bits;
  uint32_t rate;
};

bool ReadFields(const WaveFormatBytes& f, Fields* out) {
  if (f.size() < 16) return false;
  out->tag = uint16_t(f[0] | f[1] << 8);
  out->channels = uint16_t(f[2] | f[3] << 8);
  out->rate = uint32_t(f[4]) | uint32_t(f[5]) << 8 | uint32_t(f[6]) << 16 | uint32_t(f[7]) << 24;
  out->blockAlign = uint16_t(f[12] | f[13] << 8);
  out->bits = uint16_t(f[14] | f[15] << 8);
  if (out->tag == kTagExtensible && f.size() >= 40 && f[24] == 1 && f[25] == 0 &&
      std::memcmp(&f[26], kPcmGuidTail, sizeof kPcmGuidTail) == 0)
    out->tag = kTagPcm;
  return out->channels > 0 && out->rate > 0;
}

int16_t MuLawToLinear(uint8_t u) {
  u = static_cast<uint8_t>(~u);
  int t = ((u & 0x0F) << 3) + 0x84;
  t <<= (u & 0x70) >> 4;
  return static_cast<int16_t>((u & 0x80) ? (0x84 - t) : (t - 0x84));
}

int16_t ALawToLinear(uint8_t a) {
  a ^= 0x55;
  int t = (a & 0x0F) << 4;
  const int segment = (a & 0x70) >> 4;
  if (segment == 0)
    t += 8;
  else if (segment == 1)
    t += 0x108;
  else
    t = (t + 0x108) << (segment - 1);
  return static_cast<int16_t>((a & 0x80) ? t : -t);
}

class CopyStream : public AudioConversionStream {
 public:
  explicit CopyStream(uint32_t frameBytes) : frame_(frameBytes) {}
  uint32_t SourceBytesFor(uint32_t destBytes) override { return destBytes - destBytes % frame_; }
  bool Convert(const uint8_t* src, uint32_t srcBytes, uint8_t* dest, uint32_t destCapacity, uint32_t* srcUsed,
               uint32_t* destUsed) override {
    uint32_t n = std::min(srcBytes, destCapacity);
    n -= n % frame_;
    std::memcpy(dest, src, n);
    *srcUsed = *destUsed = n;
    return true;
  }
  void Reset() override {}

 private:
  uint32_t frame_;
};

class G711Stream : public AudioConversionStream {
 public:
  G711Stream(bool muLaw, uint32_t channels) : muLaw_(muLaw), channels_(channels) {}
  uint32_t SourceBytesFor(uint32_t destBytes) override {
    const uint32_t n = destBytes / 2;
    return n - n % channels_;
  }
  bool Convert(const uint8_t* src, uint32_t srcBytes, uint8_t* dest, uint32_t destCapacity, uint32_t* srcUsed,
               uint32_t* destUsed) override {
    uint32_t n = std::min(srcBytes, destCapacity / 2);
    n -= n % channels_;
    for (uint32_t i = 0; i < n; ++i) {
      const int16_t s = muLaw_ ? MuLawToLinear(src[i]) : ALawToLinear(src[i]);
      dest[2 * i] = static_cast<uint8_t>(s & 0xFF);
      dest[2 * i + 1] = static_cast<uint8_t>((s >> 8) & 0xFF);
    }
    *srcUsed = n;
    *destUsed = 2 * n;
    return true;
  }
  void Reset() override {}

 private:
  bool muLaw_;
  uint32_t channels_;
};

class G711CompressionManager : public AudioCompressionManager {
 public:
  bool SuggestPcm(const WaveFormatBytes& source, PcmFormat* pcm) override {
    Fields f;
    if (!ReadFields(source, &f)) return false;
    if (f.tag == kTagPcm) {
      if (f.bits == 0 || f.bits % 8 != 0) return false;
      *pcm = PcmFormat::Make(f.channels, static_cast<int>(f.rate), f.bits);
      return true;
    }
    if ((f.tag == kTagALaw || f.tag == kTagMuLaw) && f.bits == 8) {
      *pcm = PcmFormat::Make(f.channels, static_cast<int>(f.rate), 16);
      return true;
    }
    return false;
  }

  std::unique_ptr<AudioConversionStream> OpenStream(const WaveFormatBytes& source, const PcmFormat& pcm) override {
    PcmFormat expected;
    if (!SuggestPcm(source, &expected)) return nullptr;
    if (pcm.channels != expected.channels || pcm.samplesPerSec != expected.samplesPerSec ||
        pcm.bitsPerSample != expected.bitsPerSample)
      return nullptr;
    Fields f;
    ReadFields(source, &f);
    if (f.tag == kTagPcm) return std::make_unique<CopyStream>(expected.blockAlign);
    return std::make_unique<G711Stream>(f.tag == kTagMuLaw, f.channels);
  }
};

}  // namespace

std::unique_ptr<AudioCompressionManager> CreateG711CompressionManager() {
  return std::make_unique<G711CompressionManager>();
}

#ifndef _WIN32
std::unique_ptr<AudioCompressionManager> CreateSystemCompressionManager() { return CreateG711CompressionManager(); }
#endif

}  // namespace qv
