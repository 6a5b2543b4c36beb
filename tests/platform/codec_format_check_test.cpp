// Compressed wave formats the system codecs are trusted with: their block
// layout must hold together, or the codec divides by zero or walks past a
// block.
#include <gtest/gtest.h>

#include <cstdint>
#include <initializer_list>

#include "platform/acm/codec_format_check.h"

namespace qv {
namespace {

// tag, channels, rate, average bytes, block align, bits, then the extra
// fields (cbSize, samples per block, ...), each 16-bit.
WaveFormatBytes Format(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t blockAlign,
                       std::initializer_list<uint16_t> extra) {
  WaveFormatBytes f;
  auto put = [&f](uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) f.push_back(uint8_t(v >> (8 * i)));
  };
  put(tag, 2);
  put(channels, 2);
  put(rate, 4);
  put(rate * blockAlign / 1000, 4);
  put(blockAlign, 2);
  put(4, 2);
  for (uint16_t v : extra) put(v, 2);
  return f;
}

TEST(CodecFormatCheck, AdpcmSamplesPerBlockMustFitTheBlock) {
  struct Case {
    const char* label;
    WaveFormatBytes format;
    bool sane;
  };
  const Case cases[] = {
      // As encoders write them: every sample the block can carry.
      {"ms stereo 1024", Format(0x0002, 2, 22050, 1024, {32, 1012, 7}), true},
      {"ms mono 256", Format(0x0002, 1, 8000, 256, {32, 500, 7}), true},
      {"ima mono 256", Format(0x0011, 1, 22050, 256, {2, 505}), true},
      {"ima stereo 2048", Format(0x0011, 2, 44100, 2048, {2, 2041}), true},
      {"ms fewer samples than fit", Format(0x0002, 2, 22050, 1024, {32, 1000, 7}), true},
      // Damaged: nothing to divide by, more samples than the block holds,
      // blocks smaller than their headers, more channels than ADPCM has.
      {"ms samples 0", Format(0x0002, 2, 22050, 1024, {32, 0, 7}), false},
      {"ms samples 1", Format(0x0002, 2, 22050, 1024, {32, 1, 7}), false},
      {"ms samples one too many", Format(0x0002, 2, 22050, 1024, {32, 1013, 7}), false},
      {"ms samples max", Format(0x0002, 2, 22050, 1024, {32, 0xFFFF, 7}), false},
      {"ms block below its headers", Format(0x0002, 2, 22050, 13, {32, 2, 7}), false},
      {"ms three channels", Format(0x0002, 3, 22050, 1024, {32, 668, 7}), false},
      {"ms without samples per block", Format(0x0002, 2, 22050, 1024, {}), false},
      {"ima samples 0", Format(0x0011, 1, 22050, 256, {2, 0}), false},
      {"ima samples one too many", Format(0x0011, 1, 22050, 256, {2, 506}), false},
      {"ima block below its header", Format(0x0011, 2, 22050, 7, {2, 1}), false},
      // Any compressed format: channels, rate and block alignment.
      {"gsm", Format(0x0031, 1, 8000, 65, {2, 320}), true},
      {"gsm block align 0", Format(0x0031, 1, 8000, 0, {2, 320}), false},
      {"gsm channels 0", Format(0x0031, 0, 8000, 65, {2, 320}), false},
      {"gsm rate 0", Format(0x0031, 1, 0, 65, {2, 320}), false},
      {"too short", WaveFormatBytes(15, 1), false},
  };
  for (const Case& c : cases) EXPECT_EQ(CodecBlockLayoutSane(c.format), c.sane) << c.label;
}

}  // namespace
}  // namespace qv
