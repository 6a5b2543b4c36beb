// Opening MPEG audio: the quick estimate (Xing, VBRI, constant bitrate) and
// the full walk, on the fixtures and on streams built frame by frame.
#include <gtest/gtest.h>

#include "tests/mpeg/mpeg_test_support.h"

namespace qv::test {
namespace {

struct Opened {
  bool ok = false;
  TrackInfo info{};
  int32_t length = 0;
};

Opened OpenBytes(const std::string& name, const Bytes& bytes, bool scan) {
  Opened o;
  if (!WriteBytes(TempPath(name), bytes)) return o;
  TestEngine t;
  t.SetOptions([&](EngineOptions& e) { e.ScanCompletely = scan ? 1 : 0; });
  o.ok = Engine_OpenFile(t.handle(), TempPath(name).c_str()) == 1;
  if (o.ok) {
    Engine_GetTrackInfo(t.handle(), &o.info);
    o.length = Engine_GetLength(t.handle());
  }
  return o;
}

int32_t Ms(uint64_t frames, int rate) { return int32_t(frames * 1000 / uint64_t(rate)); }

// The constant-bitrate estimate: whole average frames in the file.
int32_t ConstantEstimateMs(size_t fileBytes, int kbps, int rate, int perKbit, int spf) {
  const uint64_t frames = uint64_t(fileBytes) * uint64_t(rate) / (uint64_t(perKbit) * uint64_t(kbps));
  return Ms(frames * uint64_t(spf), rate);
}

TEST(MpegOpen, FixturesReportTheirFormat) {
  struct Case {
    const char* name;
    int version, layer, channels, rate;
  };
  const Case cases[] = {
      {"mpeg1_l3_128k_60s.mp3", 1, 3, 2, 44100}, {"mpeg1_l3_cbr.mp3", 1, 3, 2, 44100},
      {"mpeg1_l3_vbr.mp3", 1, 3, 2, 44100},      {"mpeg2_l3_cbr.mp3", 2, 3, 2, 22050},
      {"mpeg2_l3_vbr.mp3", 2, 3, 2, 22050},      {"mpeg25_l3_cbr.mp3", 3, 3, 1, 11025},
      {"mpeg25_l3_8k.mp3", 3, 3, 1, 8000},       {"mpeg25_l3_8k_vbr.mp3", 3, 3, 1, 8000},
      {"mpeg1_l2.mp2", 1, 2, 2, 44100},          {"mpeg2_l2.mp2", 2, 2, 2, 22050},
      {"mpeg1_l1.mpa", 1, 1, 2, 44100},          {"mpeg2_l1.mpa", 2, 1, 1, 22050},
      {"mpeg25_l1.mpa", 3, 1, 1, 8000},
  };
  for (const Case& c : cases) {
    for (bool scan : {false, true}) {
      TestEngine t;
      t.SetOptions([&](EngineOptions& e) { e.ScanCompletely = scan ? 1 : 0; });
      ASSERT_EQ(Engine_OpenFile(t.handle(), FixturePath(c.name).c_str()), 1) << c.name;
      EXPECT_EQ(Engine_GetSourceKind(t.handle()), int(SourceKind::MpegAudio)) << c.name;
      TrackInfo info{};
      ASSERT_EQ(Engine_GetTrackInfo(t.handle(), &info), 1);
      EXPECT_EQ(info.MpegVersion, c.version) << c.name << " scan " << scan;
      EXPECT_EQ(info.MpegLayer, c.layer) << c.name << " scan " << scan;
      EXPECT_EQ(info.Channels, c.channels) << c.name << " scan " << scan;
      EXPECT_EQ(info.SampleRate, c.rate) << c.name << " scan " << scan;
      EXPECT_GT(info.BitrateKbps, 0) << c.name << " scan " << scan;
      EXPECT_EQ(info.DurationMs, Engine_GetLength(t.handle())) << c.name;
    }
  }
}

// The lengths against what libmad decodes from the same file: the full walk
// counts every frame; a Xing header counts every frame but its own.
TEST(MpegOpen, LengthsMatchTheDecodedFrames) {
  struct Case {
    const char* name;
    int spf;
    bool xing;          // the quick estimate reads a Xing header
    int32_t cbrMsSlack;  // the constant-bitrate estimate may be this far off
  };
  const Case cases[] = {
      {"mpeg1_l3_vbr.mp3", 1152, true, 0},   {"mpeg2_l3_vbr.mp3", 576, true, 0},
      {"mpeg25_l3_8k_vbr.mp3", 576, true, 0}, {"mpeg1_l3_cbr.mp3", 1152, false, 30},
      {"mpeg1_l3_128k_60s.mp3", 1152, false, 30}, {"mpeg2_l3_cbr.mp3", 576, false, 30},
      {"mpeg25_l3_8k.mp3", 576, false, 80},   {"mpeg1_l2.mp2", 1152, false, 30},
      {"mpeg1_l1.mpa", 384, false, 10},
  };
  for (const Case& c : cases) {
    const DecodeRun whole = DecodeFile(FixturePath(c.name), true);
    ASSERT_TRUE(whole.opened) << c.name;
    const int ch = whole.info.Channels, rate = whole.info.SampleRate;
    const uint64_t decodedFrames = whole.samples.size() / size_t(ch);
    ASSERT_EQ(decodedFrames % uint64_t(c.spf), 0u) << c.name;
    EXPECT_EQ(whole.length, Ms(decodedFrames, rate)) << c.name << ": the walk counts every frame";

    const DecodeRun quick = DecodeFile(FixturePath(c.name), false);
    ASSERT_TRUE(quick.opened) << c.name;
    EXPECT_EQ(quick.samples, whole.samples) << c.name << ": the mode changes nothing in the audio";
    if (c.xing)
      EXPECT_EQ(quick.length, Ms(decodedFrames - uint64_t(c.spf), rate)) << c.name;
    else
      EXPECT_NEAR(quick.length, whole.length, c.cbrMsSlack) << c.name;
  }
}

// The variable-bitrate MPEG-2 file reports what its Xing header gives.
TEST(MpegOpen, VariableBitrateMpeg2ReportsItsXingLength) {
  const DecodeRun run = DecodeFile(FixturePath("mpeg2_l3_vbr.mp3"), false);
  ASSERT_TRUE(run.opened);
  EXPECT_EQ(run.info.MpegVersion, 2);
  EXPECT_EQ(run.info.SampleRate, 22050);
  const uint64_t xingFrames = run.samples.size() / 2 / 576 - 1;
  EXPECT_EQ(run.info.DurationMs, Ms(xingFrames * 576, 22050));
  const uint64_t bytes = FixtureBytes("mpeg2_l3_vbr.mp3").size();
  const uint64_t seconds = xingFrames * 576 / 22050;
  EXPECT_EQ(run.info.BitrateKbps, int32_t((bytes * 8 / seconds + 500) / 1000));
}

TEST(MpegOpen, VbrHeadersThatCannotBeUsedFallBackToTheConstantEstimate) {
  const uint32_t word = HeaderWord(1, 3, 128, 44100);
  const Bytes rest = Repeat(SilentFrame(word), 99);
  const Bytes plain = Concat({SilentFrame(word), rest});
  const Opened reference = OpenBytes("vbr_plain.mp3", plain, false);
  ASSERT_TRUE(reference.ok);
  EXPECT_EQ(reference.length, ConstantEstimateMs(plain.size(), 128, 44100, 144000, 1152));
  EXPECT_EQ(reference.info.BitrateKbps, 128);
  struct Case {
    const char* name;
    Bytes first;
  };
  const Case cases[] = {
      {"xing_zero.mp3", XingFrame(word, 32, 0x0F, 0)},
      {"xing_no_frames_bit.mp3", XingFrame(word, 32, 0x0E, 5000)},
      {"vbri_zero.mp3", VbriFrame(word, 0)},
  };
  for (const Case& c : cases) {
    const Opened o = OpenBytes(c.name, Concat({c.first, rest}), false);
    ASSERT_TRUE(o.ok) << c.name;
    EXPECT_EQ(o.length, reference.length) << c.name;
    EXPECT_EQ(o.info.BitrateKbps, 128) << c.name;
  }
}

TEST(MpegOpen, XingAndVbriCountsGiveTheLengthInEveryVersion) {
  struct Case {
    const char* name;
    int version, kbps, rate;
    bool mono;
    bool vbri;
    uint32_t frames;
    int spf;
  };
  const Case cases[] = {
      {"x_mpeg1.mp3", 1, 128, 44100, false, false, 3000, 1152},
      {"x_mpeg1_mono.mp3", 1, 64, 48000, true, false, 3000, 1152},
      {"x_mpeg2.mp3", 2, 64, 22050, false, false, 3000, 576},
      {"x_mpeg2_mono.mp3", 2, 32, 24000, true, false, 3000, 576},
      {"x_mpeg25.mp3", 3, 32, 11025, false, false, 3000, 576},
      {"x_mpeg25_mono.mp3", 3, 16, 8000, true, false, 3000, 576},
      {"v_mpeg1.mp3", 1, 128, 44100, false, true, 2500, 1152},
      {"v_mpeg2.mp3", 2, 64, 22050, true, true, 2500, 576},
      {"v_mpeg25.mp3", 3, 16, 8000, true, true, 2500, 576},
  };
  for (const Case& c : cases) {
    const uint32_t word = HeaderWord(c.version, 3, c.kbps, c.rate, false, c.mono);
    MpegHeader h;
    ASSERT_TRUE(ParseMpegHeader(word, &h));
    const size_t sideInfo = c.version == 1 ? (c.mono ? 17 : 32) : (c.mono ? 9 : 17);
    const Bytes first = c.vbri ? VbriFrame(word, c.frames) : XingFrame(word, sideInfo, 0x0F, c.frames);
    const Bytes file = Concat({first, Repeat(SilentFrame(word), 40)});
    const Opened o = OpenBytes(c.name, file, false);
    ASSERT_TRUE(o.ok) << c.name;
    EXPECT_EQ(o.length, Ms(uint64_t(c.frames) * uint64_t(c.spf), c.rate)) << c.name;
    const uint64_t seconds = uint64_t(c.frames) * uint64_t(c.spf) / uint64_t(c.rate);
    EXPECT_EQ(o.info.BitrateKbps, int32_t((file.size() * 8 / seconds + 500) / 1000)) << c.name;
    EXPECT_EQ(o.info.MpegVersion, c.version) << c.name;
  }
}

TEST(MpegOpen, AXingCountUnderASecondReportsTheHeaderBitrate) {
  const uint32_t word = HeaderWord(1, 3, 160, 44100);
  const Bytes file = Concat({XingFrame(word, 32, 0x0F, 20), Repeat(SilentFrame(word), 20)});
  const Opened o = OpenBytes("xing_short.mp3", file, false);
  ASSERT_TRUE(o.ok);
  EXPECT_EQ(o.length, Ms(20 * 1152, 44100));
  EXPECT_EQ(o.info.BitrateKbps, 160);
}

TEST(MpegOpen, JunkAndTagsInFront) {
  const uint32_t word = HeaderWord(1, 3, 128, 44100);
  const Bytes frames = Repeat(SilentFrame(word), 60);
  // Junk holding a lone header whose next "frame" is not one.
  const Bytes junk = Concat({Bytes(500, 0x55), Be32(word), Bytes(700, 0x00)});
  // An ID3 version 2 header and its body.
  const Bytes id3 = Concat({Bytes{'I', 'D', '3', 3, 0, 0, 0, 0, 15, 88}, Bytes(2000, 0x20)});
  struct Case {
    const char* name;
    Bytes front;
  };
  for (const Case& c : {Case{"front_junk.mp3", junk}, Case{"front_id3v2.mp3", id3}}) {
    SCOPED_TRACE(c.name);
    const Bytes file = Concat({c.front, frames});
    const Opened quick = OpenBytes(c.name, file, false);
    ASSERT_TRUE(quick.ok) << c.name;
    EXPECT_EQ(quick.info.MpegVersion, 1) << c.name;
    EXPECT_EQ(quick.info.BitrateKbps, 128) << c.name;
    // The constant-bitrate estimate counts the bytes in front as audio.
    EXPECT_EQ(quick.length, ConstantEstimateMs(file.size(), 128, 44100, 144000, 1152)) << c.name;
    const Opened walk = OpenBytes(c.name, file, true);
    ASSERT_TRUE(walk.ok) << c.name;
    EXPECT_EQ(walk.length, Ms(60 * 1152, 44100)) << c.name;
  }
  // The tag's bytes are skipped over: exactly the 60 frames decode.
  const DecodeRun run = DecodeFile(TempPath("front_id3v2.mp3"), false);
  EXPECT_EQ(run.samples.size(), 60u * 1152 * 2);
  EXPECT_EQ(run.statuses, (StatusList{{3, 0}, {1, 0}, {0, 0}}));
}

TEST(MpegOpen, FullWalkTakesBackTheFrameBeforeDamage) {
  const uint32_t word = HeaderWord(1, 3, 128, 44100);
  const Bytes good = Repeat(SilentFrame(word), 30);
  struct Case {
    const char* name;
    Bytes file;
    uint64_t frames;
  };
  const Case cases[] = {
      {"walk_clean.mp3", Concat({good, good}), 60},
      // The frame before the damage leads nowhere and is taken back.
      {"walk_damaged.mp3", Concat({good, Bytes(150, 0x11), good}), 59},
      // So is the last one before a trailing ID3 version 1 tag.
      {"walk_tagged.mp3", Concat({good, Bytes{'T', 'A', 'G'}, Bytes(125, 0x20)}), 29},
      // A header of another rate in the middle is no frame of the stream.
      {"walk_other_rate.mp3", Concat({good, SilentFrame(HeaderWord(1, 3, 128, 48000)), good}), 59},
  };
  for (const Case& c : cases) {
    const Opened o = OpenBytes(c.name, c.file, true);
    ASSERT_TRUE(o.ok) << c.name;
    EXPECT_EQ(o.length, Ms(c.frames * 1152, 44100)) << c.name;
  }
}

TEST(MpegOpen, FullWalkAveragesTheBitrates) {
  const Bytes file = Concat({SilentFrame(HeaderWord(1, 3, 128, 44100)), SilentFrame(HeaderWord(1, 3, 128, 44100)),
                             SilentFrame(HeaderWord(1, 3, 160, 44100))});
  const Opened o = OpenBytes("walk_bitrates.mp3", file, true);
  ASSERT_TRUE(o.ok);
  EXPECT_EQ(o.info.BitrateKbps, 139);  // 416 / 3 rounded
  EXPECT_EQ(o.length, Ms(3 * 1152, 44100));
}

TEST(MpegOpen, FilesWithoutAStreamDoNotOpen) {
  const uint32_t word = HeaderWord(1, 3, 128, 44100);
  struct Case {
    const char* name;
    Bytes file;
    bool quick, walk;
  };
  const Case cases[] = {
      {"text.mp3", Bytes(5000, 'a'), false, false},
      {"empty.mp3", Bytes(), false, false},
      // The walk counts a header even when its frame is cut off.
      {"header_only.mp3", Be32(word), false, true},
      // One frame has no partner one frame on: the estimate refuses it, the
      // walk counts it.
      {"one_frame.mp3", SilentFrame(word), false, true},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(OpenBytes(c.name, c.file, false).ok, c.quick) << c.name;
    EXPECT_EQ(OpenBytes(c.name, c.file, true).ok, c.walk) << c.name;
  }
  // A text file named .mp3 leaves the engine closed.
  TestEngine t;
  ASSERT_TRUE(WriteBytes(TempPath("readme.mp3"), Bytes(3000, 'x')));
  EXPECT_EQ(Engine_OpenFile(t.handle(), TempPath("readme.mp3").c_str()), 0);
  EXPECT_EQ(Engine_GetSourceKind(t.handle()), 0);
  EXPECT_EQ(Engine_Play(t.handle()), 0);
}

}  // namespace
}  // namespace qv::test
