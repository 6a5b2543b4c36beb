#include "engine/mpeg/mpeg_file_test.h"

#include <cstring>

#include "engine/locked_file.h"
#include "engine/mpeg/mpeg_header.h"

namespace qv {

namespace {

constexpr uint16_t kWaveFormatMpeg = 0x50;
constexpr uint16_t kWaveFormatMpegLayer3 = 0x55;

bool At(const uint8_t* head, size_t length, size_t offset, const char* text) {
  const size_t n = std::strlen(text);
  return offset + n <= length && std::memcmp(head + offset, text, n) == 0;
}

}  // namespace

bool LooksLikeMpegAudio(const uint8_t* head, size_t length) {
  if (At(head, length, 0, "ID3")) return true;
  if (At(head, length, 0, "RIFF")) {
    if (At(head, length, 8, "RMP3")) return true;
    if (At(head, length, 8, "WAVE") && At(head, length, 12, "fmt ") && length >= 22) {
      const uint16_t tag = static_cast<uint16_t>(head[20] | head[21] << 8);
      return tag == kWaveFormatMpeg || tag == kWaveFormatMpegLayer3;
    }
    return false;
  }
  for (size_t i = 0; i + 4 <= length; ++i) {
    MpegHeader first, next;
    if (!ParseMpegHeaderAt(head + i, &first)) continue;
    const size_t second = i + static_cast<size_t>(first.frameBytes);
    if (second + 4 <= length && ParseMpegHeaderAt(head + second, &next) && StreamIdOf(first).Matches(next))
      return true;
  }
  return false;
}

bool IsMpegAudioFile(std::u16string_view path) {
  LockedFile file;
  if (!file.Open(path)) return false;
  uint8_t head[kMpegTestBytes];
  size_t got = 0;
  if (!file.Read(head, sizeof head, &got)) return false;
  return LooksLikeMpegAudio(head, got);
}

}  // namespace qv
