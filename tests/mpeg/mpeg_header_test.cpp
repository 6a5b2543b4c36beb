// Frame headers, the 3-byte sync tests, the VBR headers of the first frame
// and the MPEG file test on bytes.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/mpeg/mpeg_file_test.h"
#include "engine/mpeg/mpeg_header.h"
#include "engine/mpeg/mpeg_vbr_header.h"
#include "tests/mpeg/mpeg_test_support.h"

namespace qv::test {
namespace {

TEST(MpegHeader, ParsesEveryVersionAndLayer) {
  struct Case {
    uint32_t word;
    MpegHeader want;
  };
  const Case cases[] = {
      // MPEG-1 layer III 128 kbit/s 44100 Hz stereo, unpadded and padded.
      {0xFFFB9000, {1, 3, 2, 44100, 128, 417, 1152}},
      {0xFFFB9200, {1, 3, 2, 44100, 128, 418, 1152}},
      // MPEG-1 layer III 320 kbit/s 32000 Hz mono (mode bits 11).
      {0xFFFBE8C0, {1, 3, 1, 32000, 320, 1440, 1152}},
      // MPEG-1 layer II 192 kbit/s 48000 Hz; layer I 384 kbit/s 44100 Hz.
      {0xFFFDA400, {1, 2, 2, 48000, 192, 576, 1152}},
      {0xFFFFC000, {1, 1, 2, 44100, 384, 416, 384}},
      {0xFFFFC200, {1, 1, 2, 44100, 384, 420, 384}},
      // MPEG-2 layer III 64 kbit/s 22050 Hz: 72000 x bitrate / rate, 576 samples.
      {0xFFF38000, {2, 3, 2, 22050, 64, 208, 576}},
      // MPEG-2 layer II 96 kbit/s 22050 Hz keeps 144000 and 1152.
      {0xFFF5A000, {2, 2, 2, 22050, 96, 626, 1152}},
      // MPEG-2 layer I 128 kbit/s 22050 Hz (its own bitrate row).
      {0xFFF78000, {2, 1, 2, 22050, 128, 276, 384}},
      // MPEG-2.5 layer III 16 kbit/s 8000 Hz mono; 32 kbit/s 11025 Hz.
      {0xFFE328C0, {3, 3, 1, 8000, 16, 144, 576}},
      {0xFFE340C0, {3, 3, 1, 11025, 32, 208, 576}},
      // The reserved version bits count as MPEG-2.5.
      {0xFFEB9000, {3, 3, 2, 11025, 80, 522, 576}},
  };
  for (const Case& c : cases) {
    MpegHeader h;
    ASSERT_TRUE(ParseMpegHeader(c.word, &h)) << std::hex << c.word;
    EXPECT_EQ(h.version, c.want.version) << std::hex << c.word;
    EXPECT_EQ(h.layer, c.want.layer) << std::hex << c.word;
    EXPECT_EQ(h.channels, c.want.channels) << std::hex << c.word;
    EXPECT_EQ(h.sampleRate, c.want.sampleRate) << std::hex << c.word;
    EXPECT_EQ(h.bitrateKbps, c.want.bitrateKbps) << std::hex << c.word;
    EXPECT_EQ(h.frameBytes, c.want.frameBytes) << std::hex << c.word;
    EXPECT_EQ(h.samplesPerFrame, c.want.samplesPerFrame) << std::hex << c.word;
  }
}

TEST(MpegHeader, RefusesWhatCannotBeAFrame) {
  for (uint32_t word : {0x00000000u, 0xFFDB9000u /* 10 sync bits */, 0xFFF99000u /* layer 0 */,
                        0xFFFBF000u /* bitrate 15 */, 0xFFFB0000u /* free format */, 0xFFFB9C00u /* rate 3 */}) {
    MpegHeader h;
    EXPECT_FALSE(ParseMpegHeader(word, &h)) << std::hex << word;
  }
}

TEST(MpegHeader, QuickSyncTests) {
  struct Case {
    uint8_t b[3];
    bool any;
    int version, layer;  // what QuickSyncMatching accepts, 0 for nothing
  };
  const Case cases[] = {
      {{0xFF, 0xFB, 0x90}, true, 1, 3},
      {{0xFF, 0xF3, 0x80}, true, 2, 3},
      {{0xFF, 0xE3, 0x28}, true, 3, 3},
      {{0xFF, 0xFD, 0xA4}, true, 1, 2},
      {{0xFF, 0xFF, 0xC0}, true, 1, 1},
      {{0xFE, 0xFB, 0x90}, false, 0, 0},
      {{0xFF, 0xDB, 0x90}, false, 0, 0},  // byte 1 below 0xE0
      {{0xFF, 0xF9, 0x90}, false, 0, 0},  // no layer
      {{0xFF, 0xFB, 0xF0}, false, 0, 0},  // bitrate 15
      {{0xFF, 0xFB, 0x9C}, false, 0, 0},  // rate 3
  };
  for (const Case& c : cases) {
    EXPECT_EQ(QuickSync(c.b), c.any) << int(c.b[1]) << " " << int(c.b[2]);
    for (int v = 1; v <= 3; ++v)
      for (int l = 1; l <= 3; ++l)
        EXPECT_EQ(QuickSyncMatching(c.b, v, l), c.any && v == c.version && l == c.layer)
            << int(c.b[1]) << " v" << v << " l" << l;
  }
}

TEST(MpegVbrHeader, XingFollowsTheSideInformationOfEachVersion) {
  struct Case {
    int version, kbps, rate;
    bool mono;
    size_t sideInfo;
  };
  const Case cases[] = {
      {1, 128, 44100, false, 32}, {1, 128, 44100, true, 17}, {2, 64, 22050, false, 17},
      {2, 64, 22050, true, 9},    {3, 32, 11025, false, 17}, {3, 16, 8000, true, 9},
  };
  for (const Case& c : cases) {
    const uint32_t word = HeaderWord(c.version, 3, c.kbps, c.rate, false, c.mono);
    MpegHeader h;
    ASSERT_TRUE(ParseMpegHeader(word, &h));
    EXPECT_EQ(SideInfoBytes(h), c.sideInfo) << c.version << " mono " << c.mono;
    const Bytes frame = XingFrame(word, c.sideInfo, 0x0F, 1234);
    EXPECT_EQ(FindVbrFrameCount(h, frame.data(), frame.size()), 1234u) << c.version << " mono " << c.mono;
    // One byte off is not a Xing header.
    const Bytes shifted = XingFrame(word, c.sideInfo + 1, 0x0F, 1234);
    EXPECT_EQ(FindVbrFrameCount(h, shifted.data(), shifted.size()), 0u) << c.version << " mono " << c.mono;
  }
}

TEST(MpegVbrHeader, VbriSitsAt36InEveryVersion) {
  for (uint32_t word : {HeaderWord(1, 3, 128, 44100), HeaderWord(2, 3, 64, 22050, false, true),
                        HeaderWord(3, 3, 16, 8000, false, true)}) {
    MpegHeader h;
    ASSERT_TRUE(ParseMpegHeader(word, &h));
    const Bytes frame = VbriFrame(word, 4321);
    EXPECT_EQ(FindVbrFrameCount(h, frame.data(), frame.size()), 4321u) << std::hex << word;
  }
}

TEST(MpegVbrHeader, UnusableCountsAreNoHeader) {
  const uint32_t word = HeaderWord(1, 3, 128, 44100);
  MpegHeader h;
  ASSERT_TRUE(ParseMpegHeader(word, &h));
  // Flags without the frame-count bit; a count of 0; a frame too short.
  const Bytes noFramesBit = XingFrame(word, 32, 0x0E, 1234);
  const Bytes zeroXing = XingFrame(word, 32, 0x0F, 0);
  const Bytes zeroVbri = VbriFrame(word, 0);
  EXPECT_EQ(FindVbrFrameCount(h, noFramesBit.data(), noFramesBit.size()), 0u);
  EXPECT_EQ(FindVbrFrameCount(h, zeroXing.data(), zeroXing.size()), 0u);
  EXPECT_EQ(FindVbrFrameCount(h, zeroVbri.data(), zeroVbri.size()), 0u);
  const Bytes xing = XingFrame(word, 32, 0x0F, 99);
  EXPECT_EQ(FindVbrFrameCount(h, xing.data(), 4 + 32 + 11), 0u);
  EXPECT_EQ(FindVbrFrameCount(h, xing.data(), 4 + 32 + 12), 99u);
}

TEST(MpegFileTest, RecognisesMpegStarts) {
  const Bytes stream = Repeat(SilentFrame(HeaderWord(1, 3, 128, 44100)), 3);
  auto riff = [](const char* kind, const char* chunk, uint16_t tag) {
    Bytes b(64, 0);
    std::memcpy(b.data(), "RIFF", 4);
    std::memcpy(b.data() + 8, kind, 4);
    std::memcpy(b.data() + 12, chunk, 4);
    b[20] = uint8_t(tag);
    b[21] = uint8_t(tag >> 8);
    return b;
  };
  const Bytes lone = Concat({Bytes(100, 0x20), SilentFrame(HeaderWord(1, 3, 128, 44100)), Bytes(10, 0x20)});
  const Bytes otherRate = Concat({SilentFrame(HeaderWord(1, 3, 128, 44100)), SilentFrame(HeaderWord(1, 3, 128, 48000))});
  struct Case {
    const char* name;
    Bytes head;
    bool want;
  };
  const Case cases[] = {
      {"id3v2", Concat({Bytes{'I', 'D', '3', 3, 0}, Bytes(200, 0)}), true},
      {"rmp3", riff("RMP3", "data", 0), true},
      {"wave layer 3", riff("WAVE", "fmt ", 0x55), true},
      {"wave mpeg", riff("WAVE", "fmt ", 0x50), true},
      {"wave pcm", riff("WAVE", "fmt ", 1), false},
      {"frame pair", stream, true},
      {"frame pair after junk", Concat({Bytes(333, 0x41), stream}), true},
      {"a lone header", lone, false},
      {"second frame of another rate", otherRate, false},
      {"text", Bytes(4096, 'x'), false},
      {"empty", Bytes(), false},
  };
  for (const Case& c : cases) EXPECT_EQ(LooksLikeMpegAudio(c.head.data(), c.head.size()), c.want) << c.name;
}

}  // namespace
}  // namespace qv::test
