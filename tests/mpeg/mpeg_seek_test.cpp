// Seeking: where each mode lands, and where the output starts after it.
#include <gtest/gtest.h>

#include "engine/locked_file.h"
#include "engine/mpeg/mpeg_file_window.h"
#include "engine/mpeg/mpeg_seek.h"
#include "tests/mpeg/mpeg_test_support.h"

namespace qv::test {
namespace {

MpegHeader FirstHeader(const Bytes& file) {
  MpegHeader h;
  ParseMpegHeaderAt(file.data() + FrameOffsets(file).front(), &h);
  return h;
}

TEST(MpegSeek, CountingLandsOnTheFrameOfThatIndex) {
  for (const char* name : {"mpeg1_l3_vbr.mp3", "mpeg1_l3_128k_60s.mp3", "mpeg2_l2.mp2", "mpeg25_l1.mpa"}) {
    SCOPED_TRACE(name);
    const Bytes bytes = FixtureBytes(name);
    const std::vector<int64_t> offsets = FrameOffsets(bytes);
    ASSERT_GT(offsets.size(), 30u);
    LockedFile file;
    ASSERT_TRUE(file.Open(FixturePath(name)));
    MpegFileWindow window(file);
    const MpegStreamId id = StreamIdOf(FirstHeader(bytes));
    for (size_t index = 0; index < offsets.size(); index += 7)
      ASSERT_EQ(SeekByCounting(window, id, index), offsets[index]) << index;
    EXPECT_EQ(SeekByCounting(window, id, offsets.size() - 1), offsets.back());
    EXPECT_EQ(SeekByCounting(window, id, offsets.size()), -1);
  }
}

// With the exact average, every frame of a constant-bitrate file is found
// from its index; 32 bits would have gone wrong long before the end.
TEST(MpegSeek, EstimateLandsOnTheFrameOfThatIndexAtConstantBitrate) {
  for (const char* name : {"mpeg1_l3_128k_60s.mp3", "mpeg1_l2.mp2", "mpeg1_l1.mpa", "mpeg25_l3_8k.mp3"}) {
    SCOPED_TRACE(name);
    const Bytes bytes = FixtureBytes(name);
    const std::vector<int64_t> offsets = FrameOffsets(bytes);
    const MpegHeader first = FirstHeader(bytes);
    // The average exactly: the bytes per kbit/s times the bitrate, per rate.
    const uint64_t perKbit = first.layer == 1 ? 48000 : (first.layer == 3 && first.version != 1 ? 72000 : 144000);
    LockedFile file;
    ASSERT_TRUE(file.Open(FixturePath(name)));
    MpegFileWindow window(file);
    for (size_t index = 0; index < offsets.size(); ++index)
      ASSERT_EQ(SeekByEstimate(window, StreamIdOf(first), index, perKbit * uint64_t(first.bitrateKbps),
                               uint64_t(first.sampleRate)),
                offsets[index])
          << index;
  }
}

TEST(MpegSeek, ReservoirFramesCoverTheSmallestFrames) {
  struct Case {
    int version, layer, kbps, rate;
    bool mono;
    uint64_t frames;
  };
  // MPEG-1 at 32 kbit/s: 104-byte frames, 68 bytes of data each for 511;
  // MPEG-2 at 8 kbit/s and 22050 Hz: 26-byte frames, 5 bytes each for 255.
  const Case cases[] = {{1, 3, 128, 44100, false, 9}, {1, 3, 128, 32000, true, 6}, {2, 3, 64, 22050, false, 52},
                        {3, 3, 16, 8000, true, 6},    {1, 2, 192, 44100, false, 0}, {1, 1, 384, 44100, false, 0}};
  for (const Case& c : cases) {
    MpegHeader h;
    ASSERT_TRUE(ParseMpegHeader(HeaderWord(c.version, c.layer, c.kbps, c.rate, false, c.mono), &h));
    EXPECT_EQ(ReservoirFrames(h), c.frames) << c.version << "/" << c.layer << " " << c.rate;
  }
}

// Through the engine: the output after a seek starts at the sample asked
// for, in both modes, also past 48.7 s at 44100 Hz where 32-bit products
// of rate and milliseconds overflow.
TEST(MpegSeek, OutputStartsAtTheSeekTarget) {
  struct Case {
    const char* name;
    int32_t ms;
    bool scan;
    int64_t tolerance;  // frames
  };
  const Case cases[] = {
      {"mpeg1_l3_128k_60s.mp3", 30000, false, 0}, {"mpeg1_l3_128k_60s.mp3", 30000, true, 0},
      {"mpeg1_l3_128k_60s.mp3", 50000, false, 0}, {"mpeg1_l3_128k_60s.mp3", 50000, true, 0},
      {"mpeg1_l3_128k_60s.mp3", 7, false, 0},     {"mpeg1_l3_cbr.mp3", 1500, false, 0},
      {"mpeg1_l3_vbr.mp3", 1500, true, 0},        {"mpeg1_l3_vbr.mp3", 1500, false, 4 * 1152},
      {"mpeg2_l3_vbr.mp3", 2000, true, 0},        {"mpeg25_l3_8k.mp3", 1000, false, 0},
      {"mpeg1_l2.mp2", 1234, false, 0},           {"mpeg1_l2.mp2", 1234, true, 0},
      {"mpeg2_l1.mpa", 999, true, 0},             {"mpeg1_l1.mpa", 1000, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " " + std::to_string(c.ms) + (c.scan ? " scan" : " estimate"));
    const DecodeRun whole = DecodeFile(FixturePath(c.name), c.scan);
    ASSERT_TRUE(whole.opened);
    const DecodeRun part = DecodeFile(FixturePath(c.name), c.scan, c.ms);
    ASSERT_TRUE(part.opened);
    ASSERT_FALSE(part.samples.empty());
    const int ch = whole.info.Channels;
    const int64_t target = int64_t(whole.info.SampleRate) * c.ms / 1000;
    // Compare from a frame in: the first frame after a seek lacks the
    // previous frame's overlap.
    const size_t skip = 1152 * size_t(ch);
    const Samples tail(part.samples.begin() + long(skip), part.samples.end());
    const int64_t from = std::max<int64_t>(0, target - 3 * 1152 - c.tolerance);
    const Samples window(whole.samples.begin() + long(size_t(from) * size_t(ch)), whole.samples.end());
    const int64_t lead = BestLead(tail, window, ch, 6 * 1152 + 2 * c.tolerance, 8192);
    const int64_t start = from + lead - 1152;
    EXPECT_LE(std::llabs(start - target), c.tolerance);
    EXPECT_GT(SnrDb(window, tail, ch, lead), 60.0);
    // What comes out is the rest of the file.
    EXPECT_LE(std::llabs(int64_t(part.samples.size() / size_t(ch)) - (int64_t(whole.samples.size() / size_t(ch)) - start)),
              c.tolerance);
  }
}

TEST(MpegSeek, PositionCountsFromTheSeekTarget) {
  TestEngine t;
  ASSERT_EQ(Engine_OpenFile(t.handle(), FixturePath("mpeg1_l3_128k_60s.mp3").c_str()), 1);
  ASSERT_EQ(Engine_Seek(t.handle(), 30000), 1);
  EXPECT_EQ(Engine_GetPosition(t.handle()), 30000);
  ASSERT_EQ(Engine_Seek(t.handle(), 50000), 1);
  EXPECT_EQ(Engine_GetPosition(t.handle()), 50000);
  EXPECT_EQ(Engine_Seek(t.handle(), Engine_GetLength(t.handle())), 0);
}

// A seek that finds no frame fails and leaves the file where it was: the
// estimate counts trailing junk as audio, so its last seconds have none.
TEST(MpegSeek, AFailedSeekLeavesPlaybackWhereItWas) {
  const uint32_t word = HeaderWord(1, 3, 128, 44100);
  const Bytes file = Concat({Repeat(SilentFrame(word), 80), Bytes(160000, 0x33)});
  ASSERT_TRUE(WriteBytes(TempPath("junk_tail.mp3"), file));
  TestEngine t;
  ASSERT_EQ(Engine_OpenFile(t.handle(), TempPath("junk_tail.mp3").c_str()), 1);
  ASSERT_GT(Engine_GetLength(t.handle()), 8000);
  EXPECT_EQ(Engine_Seek(t.handle(), 7000), 0);
  EXPECT_EQ(Engine_GetPosition(t.handle()), 0);
  EXPECT_EQ(t.PlayToEnd(), (StatusList{{3, 0}, {1, 0}, {0, 0}}));
  EXPECT_EQ(t.device().Played().size(), 80u * 1152 * 4);
}

// A seek while playing moves the output there and playback goes on to the
// end.
TEST(MpegSeek, SeekWhilePlaying) {
  TestEngine t(VirtualWaveOut::Pace::RealTime);
  ASSERT_EQ(Engine_OpenFile(t.handle(), FixturePath("mpeg1_l3_128k_60s.mp3").c_str()), 1);
  ASSERT_EQ(Engine_Play(t.handle()), 1);
  ASSERT_TRUE(WaitUntil([&] { return Engine_GetPosition(t.handle()) > 300; }));
  ASSERT_EQ(Engine_Seek(t.handle(), 58500), 1);
  EXPECT_GE(Engine_GetPosition(t.handle()), 58500);
  ASSERT_TRUE(t.WaitStopped());
  EXPECT_EQ(t.sink().Statuses().back(), (std::pair<int, int>{0, 0}));
}

}  // namespace
}  // namespace qv::test
