#include "tests/mpeg/mpeg_test_support.h"

#include <cmath>
#include <cstring>
#include <stdexcept>

#include "platform/files/wide_file.h"

namespace qv::test {

namespace {

int IndexOf(const int* table, int count, int value) {
  for (int i = 0; i < count; ++i)
    if (table[i] == value) return i;
  throw std::invalid_argument("value not in the table");
}

}  // namespace

uint32_t HeaderWord(int version, int layer, int kbps, int rate, bool padding, bool mono) {
  static const int kV1[3][15] = {{0, 32, 64, 96, 128, 160, 192, 224, 256, 288, 320, 352, 384, 416, 448},
                                 {0, 32, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320, 384},
                                 {0, 32, 40, 48, 56, 64, 80, 96, 112, 128, 160, 192, 224, 256, 320}};
  static const int kV2[2][15] = {{0, 32, 48, 56, 64, 80, 96, 112, 128, 144, 160, 176, 192, 224, 256},
                                 {0, 8, 16, 24, 32, 40, 48, 56, 64, 80, 96, 112, 128, 144, 160}};
  static const int kRates[3][3] = {{44100, 48000, 32000}, {22050, 24000, 16000}, {11025, 12000, 8000}};
  const int* row = version == 1 ? kV1[layer - 1] : kV2[layer == 1 ? 0 : 1];
  const uint32_t versionBits = version == 1 ? 3 : version == 2 ? 2 : 0;
  uint32_t w = 0xFFE00000u | versionBits << 19 | uint32_t(4 - layer) << 17 | 1u << 16;  // no CRC
  w |= uint32_t(IndexOf(row, 15, kbps)) << 12;
  w |= uint32_t(IndexOf(kRates[version - 1], 3, rate)) << 10;
  if (padding) w |= 1u << 9;
  if (mono) w |= 3u << 6;
  return w;
}

Bytes Be32(uint32_t v) { return {uint8_t(v >> 24), uint8_t(v >> 16), uint8_t(v >> 8), uint8_t(v)}; }

Bytes SilentFrame(uint32_t word) {
  MpegHeader h;
  if (!ParseMpegHeader(word, &h)) throw std::invalid_argument("not a header");
  Bytes frame(static_cast<size_t>(h.frameBytes), 0);
  const Bytes head = Be32(word);
  std::copy(head.begin(), head.end(), frame.begin());
  return frame;
}

Bytes Repeat(const Bytes& frame, int count) {
  Bytes out;
  for (int i = 0; i < count; ++i) out.insert(out.end(), frame.begin(), frame.end());
  return out;
}

Bytes Concat(std::initializer_list<Bytes> parts) {
  Bytes out;
  for (const auto& p : parts) out.insert(out.end(), p.begin(), p.end());
  return out;
}

Bytes XingFrame(uint32_t word, size_t sideInfo, uint32_t flags, uint32_t frames) {
  Bytes frame = SilentFrame(word);
  const size_t at = 4 + sideInfo;
  std::memcpy(frame.data() + at, "Xing", 4);
  const Bytes f = Be32(flags), n = Be32(frames);
  std::copy(f.begin(), f.end(), frame.begin() + at + 4);
  std::copy(n.begin(), n.end(), frame.begin() + at + 8);
  return frame;
}

Bytes VbriFrame(uint32_t word, uint32_t frames) {
  Bytes frame = SilentFrame(word);
  std::memcpy(frame.data() + 36, "VBRI", 4);
  frame[40] = 0;  // version 1
  frame[41] = 1;
  const Bytes n = Be32(frames);
  std::copy(n.begin(), n.end(), frame.begin() + 36 + 14);
  return frame;
}

Bytes FixtureBytes(const std::string& name) {
  Bytes all;
  if (!ReadWholeFile(FixturePath(name), 64u << 20, all)) return {};
  return all;
}

std::vector<int64_t> FrameOffsets(const Bytes& stream, int64_t start) {
  std::vector<int64_t> offsets;
  MpegHeader h;
  for (int64_t at = start; at + 4 <= int64_t(stream.size()) && ParseMpegHeaderAt(stream.data() + at, &h);
       at += h.frameBytes)
    offsets.push_back(at);
  return offsets;
}

Samples ToSamples(const Bytes& pcm) {
  Samples out(pcm.size() / 2);
  for (size_t i = 0; i < out.size(); ++i) out[i] = int16_t(pcm[2 * i] | pcm[2 * i + 1] << 8);
  return out;
}

Samples WavSamples(const std::u16string& path, int* channels) {
  Bytes all;
  if (!ReadWholeFile(path, 256u << 20, all) || all.size() < 12 || std::memcmp(all.data(), "RIFF", 4) != 0) return {};
  auto u32 = [&](size_t at) { return uint32_t(all[at] | all[at + 1] << 8 | all[at + 2] << 16 | uint32_t(all[at + 3]) << 24); };
  for (size_t at = 12; at + 8 <= all.size();) {
    const uint32_t size = u32(at + 4);
    if (std::memcmp(all.data() + at, "fmt ", 4) == 0 && channels) *channels = all[at + 10] | all[at + 11] << 8;
    if (std::memcmp(all.data() + at, "data", 4) == 0) {
      const size_t end = std::min<size_t>(all.size(), at + 8 + size);
      return ToSamples(Bytes(all.begin() + at + 8, all.begin() + end));
    }
    at += 8 + size + (size & 1);
  }
  return {};
}

DecodeRun DecodeFile(const std::u16string& path, bool scanCompletely, int32_t seekMs) {
  DecodeRun run;
  TestEngine t;
  t.SetOptions([&](EngineOptions& o) { o.ScanCompletely = scanCompletely ? 1 : 0; });
  run.opened = Engine_OpenFile(t.handle(), path.c_str()) != 0;
  if (!run.opened) return run;
  Engine_GetTrackInfo(t.handle(), &run.info);
  run.length = Engine_GetLength(t.handle());
  if (seekMs >= 0 && !Engine_Seek(t.handle(), seekMs)) return run;
  run.statuses = t.PlayToEnd();
  run.samples = ToSamples(t.device().Played());
  return run;
}

int64_t BestLead(const Samples& part, const Samples& whole, int channels, int64_t maxLead, size_t span) {
  const size_t frames = std::min<size_t>(span, part.size() / size_t(channels));
  int64_t best = -1;
  double bestScore = -2;
  for (int64_t d = 0; d <= maxLead; ++d) {
    if ((size_t(d) + frames) * size_t(channels) > whole.size()) break;
    double xy = 0, xx = 0, yy = 0;
    for (size_t i = 0; i < frames; ++i) {
      const double x = part[i * size_t(channels)];
      const double y = whole[(i + size_t(d)) * size_t(channels)];
      xy += x * y;
      xx += x * x;
      yy += y * y;
    }
    const double score = xx > 0 && yy > 0 ? xy / std::sqrt(xx * yy) : -1;
    if (score > bestScore) {
      bestScore = score;
      best = d;
    }
  }
  return best;
}

double SnrDb(const Samples& test, const Samples& reference, int channels, int64_t lead) {
  const size_t offset = size_t(lead) * size_t(channels);
  if (offset >= test.size()) return -1000;
  const size_t n = std::min(test.size() - offset, reference.size());
  double signal = 0, noise = 0;
  for (size_t i = 0; i < n; ++i) {
    const double r = reference[i];
    const double e = double(test[offset + i]) - r;
    signal += r * r;
    noise += e * e;
  }
  if (noise == 0) return 1000;
  return 10 * std::log10(signal / noise);
}

}  // namespace qv::test
