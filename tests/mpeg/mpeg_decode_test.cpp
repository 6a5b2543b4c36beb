// Decoding: the engine's output against ffmpeg's decode of every fixture,
// the end of the file, damage, the decoder's delivery in pieces and channel
// counts, and the dithered conversion.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <memory>

#include "engine/mpeg/mpeg_decoder.h"
#include "engine/mpeg/mpeg_dither.h"
#include "tests/mpeg/mpeg_test_support.h"

namespace qv::test {
namespace {

const StatusList kWholePlay = {{3, 0}, {1, 0}, {0, 0}};

// libmad keeps the encoder delay that a LAME header declares (and decodes
// the header frame as silence) where ffmpeg trims it, so the output is
// aligned first; the rest differs by dither and arithmetic only.
TEST(MpegDecode, MatchesTheReferenceDecodeOfEveryFixture) {
  struct Case {
    const char* name;
    int spf;
  };
  const Case cases[] = {
      {"mpeg1_l3_128k_60s.mp3", 1152}, {"mpeg1_l3_cbr.mp3", 1152}, {"mpeg1_l3_vbr.mp3", 1152},
      {"mpeg2_l3_cbr.mp3", 576},       {"mpeg2_l3_vbr.mp3", 576},  {"mpeg25_l3_cbr.mp3", 576},
      {"mpeg25_l3_8k.mp3", 576},       {"mpeg25_l3_8k_vbr.mp3", 576}, {"mpeg1_l2.mp2", 1152},
      {"mpeg2_l2.mp2", 1152},          {"mpeg1_l1.mpa", 384},      {"mpeg2_l1.mpa", 384},
      {"mpeg25_l1.mpa", 384},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::string name(c.name);
    int channels = 0;
    const Samples reference = WavSamples(FixturePath(name.substr(0, name.rfind('.')) + ".ref.wav"), &channels);
    ASSERT_FALSE(reference.empty());
    const DecodeRun run = DecodeFile(FixturePath(name), false);
    ASSERT_TRUE(run.opened);
    EXPECT_EQ(run.statuses, kWholePlay);
    ASSERT_EQ(run.info.Channels, channels);
    const int64_t lead = BestLead(reference, run.samples, channels, 4096);
    ASSERT_GE(lead, 0);
    const double snr = SnrDb(run.samples, reference, channels, lead);
    EXPECT_GE(snr, 60.0) << "lead " << lead;
    const int64_t aligned = int64_t(run.samples.size() / size_t(channels)) - lead;
    EXPECT_LE(std::llabs(aligned - int64_t(reference.size() / size_t(channels))), c.spf);
  }
}

// The frames right up to the end of the file decode (libmad needs guard
// bytes after the last one), and a header that claims more bytes than the
// file has left is passed over, byte by byte, to the frames after it.
TEST(MpegDecode, EndOfFile) {
  const uint32_t word = HeaderWord(1, 3, 128, 44100);
  const Bytes frame = SilentFrame(word);
  const Bytes frames = Repeat(frame, 20);
  struct Case {
    const char* name;
    Bytes file;
    size_t frames;
  };
  const Case cases[] = {
      {"eof_exact.mp3", frames, 20},
      {"eof_one.mp3", SilentFrame(word), 1},
      {"eof_cut_header.mp3", Concat({frames, Be32(HeaderWord(1, 3, 320, 44100)), Repeat(SilentFrame(word), 2)}), 22},
      {"eof_truncated_last.mp3", Concat({frames, Bytes(frame.begin(), frame.begin() + 200)}), 20},
      {"eof_tag.mp3", Concat({frames, Bytes{'T', 'A', 'G'}, Bytes(125, 'x')}), 20},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(WriteBytes(TempPath(c.name), c.file));
    for (bool scan : {false, true}) {
      const DecodeRun run = DecodeFile(TempPath(c.name), scan);
      ASSERT_TRUE(run.opened || c.frames == 1);
      if (!run.opened) continue;  // one frame has no pair for the estimate
      EXPECT_EQ(run.statuses, kWholePlay);
      EXPECT_EQ(run.samples.size(), c.frames * 1152 * 2);
    }
  }
}

// Damage inside the stream is skipped without ending playback.
TEST(MpegDecode, DamagedBytesAreSkipped) {
  Bytes file = FixtureBytes("mpeg1_l3_cbr.mp3");
  ASSERT_GT(file.size(), 30000u);
  const DecodeRun clean = DecodeFile(FixturePath("mpeg1_l3_cbr.mp3"), false);
  // Noise over a stretch in the middle and a run of sync-like bytes.
  uint32_t seed = 7;
  for (size_t i = 20000; i < 21500; ++i) {
    seed = seed * 1103515245u + 12345u;
    file[i] = uint8_t(seed >> 16);
  }
  for (size_t i = 25000; i < 25060; i += 4) {
    file[i] = 0xFF;
    file[i + 1] = 0xFB;
  }
  ASSERT_TRUE(WriteBytes(TempPath("damaged.mp3"), file));
  const DecodeRun run = DecodeFile(TempPath("damaged.mp3"), false);
  ASSERT_TRUE(run.opened);
  EXPECT_EQ(run.statuses, kWholePlay);
  // A few frames are lost around each place; the rest still plays.
  EXPECT_GT(run.samples.size(), clean.samples.size() * 8 / 10);
  EXPECT_LE(run.samples.size(), clean.samples.size() + 1152 * 2 * 4);
  // The end of the file is the same audio, but for the dither.
  const size_t tail = 44100 * 2;
  ASSERT_GT(run.samples.size(), tail);
  const Samples end(run.samples.end() - tail, run.samples.end()), cleanEnd(clean.samples.end() - tail, clean.samples.end());
  EXPECT_GT(SnrDb(end, cleanEnd, 2, 0), 70.0);
}

// Frames built to overrun libmad's buffers (the heap overflows of CVE-2017-8372,
// -8373 and -8374, and short layer I and II frames with large allocations):
// they are refused as damaged frames and playback ends normally.
TEST(MpegDecode, HostileFramesAreRefused) {
  auto freeFormat = [](int mainDataBegin) {
    Bytes f = Concat({Bytes{0xFF, 0xFB, 0x08, 0x00}, Bytes(2876, 0)});
    f[4] = uint8_t(mainDataBegin >> 1);
    f[5] = uint8_t((mainDataBegin & 1) << 7);
    return f;
  };
  // Main data of a frame beyond the end of the data (found by fuzzing).
  const Bytes pastMainData = {
      0xff, 0xff, 0xf3, 0xff, 0xff, 0xff, 0x07, 0xff, 0xf3, 0x20, 0, 0, 0, 0, 0, 0, 0, 0xff, 0xa3, 0xff, 0x6a, 0x6a,
      0x6a, 0x6a, 0x6a, 0x6a, 0x6a, 0x6a, 0x6a, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0x6a, 0x6a, 0x6a, 0x6a, 0x6a, 0x6a,
      0x6a, 0x6a, 0x6a, 0x6a, 0x6a, 0x6a, 0x6a, 0x6a, 0x6a, 0x6a, 0x6a, 0x6a, 0x6a, 0x6a, 0x6a, 0x6a, 0x6a, 0xff,
      0x07, 0xff, 0xf3, 0xff, 0xff, 0xff, 0xff, 0xff, 0x07};
  struct Case {
    const char* name;
    Bytes file;
  };
  const Case cases[] = {
      {"hostile_reservoir.mp3", Concat({freeFormat(0), Repeat(freeFormat(100), 4)})},
      {"hostile_part3.mp3", pastMainData},
      {"hostile_layer1.mpa", Repeat(Concat({Bytes{0xFF, 0xFF, 0x10, 0x00}, Bytes(28, 0xEE)}), 3)},
      {"hostile_layer2.mp2", Repeat(Concat({Bytes{0xFF, 0xFD, 0x14, 0x00}, Repeat(Bytes{0xFF, 0x7F}, 46)}), 3)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    // The decoder alone, on exactly the bytes and their guard.
    MpegDecoder decoder(2);
    DitherChannel dither[2];
    std::vector<uint8_t> input(c.file);
    input.insert(input.end(), 8, 0);
    const std::unique_ptr<uint8_t[]> exact(new uint8_t[input.size()]);
    std::copy(input.begin(), input.end(), exact.get());
    uint8_t out[4608];
    for (size_t at = 0; at < input.size();) {
      size_t used = 0, written = 0;
      const auto r = decoder.Decode(exact.get() + at, input.size() - at, out, sizeof out, dither, &used, &written);
      at += (r == MpegDecoder::kFrameDone || r == MpegDecoder::kOutputFull) ? used : 1;
      if (r == MpegDecoder::kFatal) decoder.Reset();
    }
    // And through the engine.
    ASSERT_TRUE(WriteBytes(TempPath(c.name), c.file));
    for (bool scan : {false, true}) {
      const DecodeRun run = DecodeFile(TempPath(c.name), scan);
      if (run.opened) {
        EXPECT_EQ(run.statuses, kWholePlay);
      }
    }
  }
}

// Runs the decoder over a whole file into output pieces of `piece` bytes.
Samples DecodeInPieces(const Bytes& file, int channels, size_t piece) {
  MpegDecoder decoder(channels);
  DitherChannel dither[2];
  Bytes out;
  Bytes input = file;
  input.insert(input.end(), 8, 0);  // the guard bytes
  size_t at = 0;
  Bytes buffer(piece);
  for (int guard = 0; guard < 10000000; ++guard) {
    size_t used = 0, written = 0;
    const bool holding = decoder.HasPending();
    const auto r = decoder.Decode(holding ? nullptr : input.data() + at, holding ? 0 : input.size() - at, buffer.data(),
                                  buffer.size(), dither, &used, &written);
    out.insert(out.end(), buffer.begin(), buffer.begin() + long(written));
    if (r == MpegDecoder::kNeedInput) break;
    at += (r == MpegDecoder::kFrameDone || r == MpegDecoder::kOutputFull) ? used : 1;
    if (r == MpegDecoder::kFatal) decoder.Reset();
  }
  return ToSamples(out);
}

TEST(MpegDecoder, DeliversTheSameSamplesInAnyPieces) {
  const Bytes file = FixtureBytes("mpeg1_l2.mp2");
  ASSERT_FALSE(file.empty());
  const Samples whole = DecodeInPieces(file, 2, 1152 * 4);
  ASSERT_EQ(whole.size(), 132480u * 2);
  for (size_t piece : {4u, 12u, 1000u, 4604u, 9216u}) EXPECT_EQ(DecodeInPieces(file, 2, piece), whole) << piece;
}

// The output has the stream's channel count whatever a frame carries.
TEST(MpegDecoder, ConvertsFramesToTheOutputChannelCount) {
  const Bytes mono = FixtureBytes("mpeg2_l1.mpa");
  const Samples one = DecodeInPieces(mono, 1, 4096);
  const Samples two = DecodeInPieces(mono, 2, 4096);
  ASSERT_EQ(two.size(), one.size() * 2);
  double energy = 0;
  for (size_t i = 0; i < one.size(); ++i) {
    EXPECT_LE(std::abs(two[2 * i] - one[i]), 1) << i;
    EXPECT_LE(std::abs(two[2 * i + 1] - one[i]), 2) << i;
    energy += double(one[i]) * one[i];
  }
  EXPECT_GT(energy / double(one.size()), 1e5);

  const Bytes stereo = FixtureBytes("mpeg1_l1.mpa");
  const Samples both = DecodeInPieces(stereo, 2, 4096);
  const Samples left = DecodeInPieces(stereo, 1, 4096);
  ASSERT_EQ(both.size(), left.size() * 2);
  for (size_t i = 0; i < left.size(); ++i) ASSERT_EQ(left[i], both[2 * i]) << i;
}

TEST(MpegDither, Conversion) {
  constexpr int32_t kOne = 1 << 28;  // libmad's 1.0
  // Silence stays within the dither's few steps of zero, without bias.
  DitherChannel d;
  long sum = 0;
  for (int i = 0; i < 10000; ++i) {
    const int16_t out = DitherTo16(0, d);
    ASSERT_LE(std::abs(out), 3) << i;
    sum += out;
  }
  EXPECT_LE(std::labs(sum), 200);
  // The limits of libmad's range clip without overflow.
  struct Case {
    int32_t in;
    int16_t out;
  };
  for (const Case c : {Case{INT32_MAX, 32767}, Case{INT32_MIN, -32768}, Case{kOne, 32767}, Case{-kOne, -32768},
                       Case{4 * kOne, 32767}, Case{-4 * kOne, -32768}}) {
    DitherChannel fresh;
    for (int i = 0; i < 100; ++i) ASSERT_NEAR(DitherTo16(c.in, fresh), c.out, 1) << c.in << " " << i;
  }
  // A sine comes out as its 16-bit values within the shaped noise, with no
  // bias, and the same records give the same output.
  DitherChannel a, b;
  double bias = 0;
  for (int i = 0; i < 44100; ++i) {
    const double x = 0.6 * std::sin(i * 0.0314);
    const int32_t fixed = int32_t(std::lround(x * kOne));
    const int16_t out = DitherTo16(fixed, a);
    ASSERT_EQ(out, DitherTo16(fixed, b)) << i;
    ASSERT_NEAR(out, x * 32768, 8.0) << i;
    bias += out - x * 32768;
  }
  EXPECT_NEAR(bias / 44100, 0.0, 0.05);
}

// A finished playback rewinds: playing again gives the same audio, and a
// stop part-way ends with status 0 and no failure.
TEST(MpegDecode, PlaysAgainAfterTheEndAndStops) {
  TestEngine t;
  ASSERT_EQ(Engine_OpenFile(t.handle(), FixturePath("mpeg1_l3_cbr.mp3").c_str()), 1);
  EXPECT_EQ(t.PlayToEnd(), kWholePlay);
  const Bytes first = t.device().Played();
  EXPECT_EQ(t.PlayToEnd(), (StatusList{{3, 0}, {1, 0}, {0, 0}, {3, 0}, {1, 0}, {0, 0}}));
  const Bytes both = t.device().Played();
  ASSERT_EQ(both.size(), first.size() * 2);
  // The dither carries on, so the second pass is the same but for its noise.
  const Samples a = ToSamples(first), b = ToSamples(Bytes(both.begin() + long(first.size()), both.end()));
  EXPECT_GT(SnrDb(b, a, 2, 0), 70.0);

  TestEngine slow(VirtualWaveOut::Pace::RealTime);
  ASSERT_EQ(Engine_OpenFile(slow.handle(), FixturePath("mpeg1_l3_128k_60s.mp3").c_str()), 1);
  ASSERT_EQ(Engine_Play(slow.handle()), 1);
  ASSERT_TRUE(WaitUntil([&] { return Engine_GetPosition(slow.handle()) > 200; }));
  Engine_Stop(slow.handle());
  ASSERT_TRUE(slow.WaitStopped());
  EXPECT_EQ(slow.sink().Statuses().back(), (std::pair<int, int>{0, 0}));
  EXPECT_EQ(Engine_GetPosition(slow.handle()), 0);
}

}  // namespace
}  // namespace qv::test
