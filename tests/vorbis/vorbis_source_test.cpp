// Ogg Vorbis files through the engine: stream information, comments as
// tags for the open file and for any file, the decode loop against Tremor
// read directly, seeking, short and damaged streams.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <string>
#include <vector>

#include "engine/output/sample_ops.h"
#include "engine/vorbis/vorbis_file.h"
#include "tests/engine/engine_test_support.h"

namespace qv::test {
namespace {

// Tremor's own output for the whole file, read without the engine.
Bytes DecodeDirectly(const std::string& fixture) {
  auto ogg = OggFile::Open(FixturePath(fixture).c_str());
  Bytes out, buffer(8192);
  if (!ogg) return out;
  for (;;) {
    size_t got = 0;
    const OggFile::ReadResult r = ogg->Read(buffer.data(), buffer.size(), &got);
    if (r != OggFile::ReadResult::Data) return out;
    out.insert(out.end(), buffer.begin(), buffer.begin() + long(got));
  }
}

Bytes Samples16Of(const std::string& wavFixture) {
  Bytes all;
  if (!ReadWholeFile(FixturePath(wavFixture), 1 << 24, all) || all.size() < 44) return {};
  return Bytes(all.begin() + 44, all.end());
}

const char16_t kLongTitle63[] = u"A Title Much Longer Than Sixty-Three Characters, Cut By The Eng";

void ExpectFixtureTags(const TagInfo& tags) {
  EXPECT_EQ(std::u16string(tags.Title), kLongTitle63);
  EXPECT_EQ(std::u16string(tags.Artist), u"Ünïcödé Ωμέγα 音楽");
  EXPECT_EQ(std::u16string(tags.Album), u"Fixture Album");
  EXPECT_EQ(std::u16string(tags.Genre), u"Test Signal");
  EXPECT_EQ(std::u16string(tags.Comment), u"made by generate.sh");
  EXPECT_EQ(tags.Track, 7) << "from a lower-case tracknumber";
}

TEST(VorbisSource, OpenReportsTheStreamInformation) {
  TestEngine engine;
  EngineHandle h = engine.handle();
  ASSERT_EQ(Engine_OpenFile(h, FixturePath("vorbis_tags.ogg").c_str()), 1);
  EXPECT_EQ(Engine_GetSourceKind(h), int(SourceKind::OggVorbis));
  TrackInfo info{};
  ASSERT_EQ(Engine_GetTrackInfo(h, &info), 1);
  EXPECT_EQ(info.MpegVersion, 0);
  EXPECT_EQ(info.Channels, 2);
  EXPECT_EQ(info.SampleRate, 44100);
  EXPECT_EQ(info.BitrateKbps, 96) << "nominal bitrate / 1000";
  EXPECT_EQ(info.DurationMs, 3000);
  EXPECT_EQ(Engine_GetLength(h), 3000);
}

TEST(VorbisSource, TagsOfTheOpenFileTwiceAlike) {
  TestEngine engine;
  ASSERT_EQ(Engine_OpenFile(engine.handle(), FixturePath("vorbis_tags.ogg").c_str()), 1);
  for (int round = 0; round < 2; ++round) {
    TagInfo tags{};
    tags.Year = 1234;
    ASSERT_EQ(Engine_GetTags(engine.handle(), &tags), 1);
    ExpectFixtureTags(tags);
    EXPECT_EQ(tags.Year, 1234);
  }
}

TEST(VorbisSource, FileTagsWithoutOpeningTheFile) {
  TestEngine engine;
  EngineHandle h = engine.handle();
  TagInfo tags{};
  ASSERT_EQ(Engine_GetFileTags(h, FixturePath("vorbis_tags.ogg").c_str(), &tags), 1);
  ExpectFixtureTags(tags);
  EXPECT_EQ(Engine_GetSourceKind(h), int(SourceKind::None));
  // With another file open, which stays open.
  ASSERT_EQ(Engine_OpenFile(h, FixturePath("pcm_s16_44k_mono.wav").c_str()), 1);
  TagInfo again{};
  ASSERT_EQ(Engine_GetFileTags(h, FixturePath("vorbis_tags.ogg").c_str(), &again), 1);
  ExpectFixtureTags(again);
  EXPECT_EQ(Engine_GetSourceKind(h), int(SourceKind::Wave));
}

TEST(VorbisSource, FileTagsOfOtherFilesAreRefused) {
  TestEngine engine;
  for (const char* name : {"pcm_s16_44k_stereo.wav", "plug_s16_44k_stereo.flac", "missing.ogg"}) {
    TagInfo tags{};
    EXPECT_EQ(Engine_GetFileTags(engine.handle(), FixturePath(name).c_str(), &tags), 0) << name;
  }
}

TEST(VorbisSource, ExtensionInLowerOrUpperCaseOnly) {
  TestEngine engine;
  EXPECT_EQ(Engine_OpenFile(engine.handle(), FixturePath("vorbis_upper.OGG").c_str()), 1);
  EXPECT_EQ(Engine_OpenFile(engine.handle(), FixturePath("vorbis_mixed.Ogg").c_str()), 0);
}

TEST(VorbisSource, PlaysTremorsSamplesWithHeadroomGain) {
  const Bytes direct = DecodeDirectly("vorbis_tags.ogg");
  ASSERT_EQ(direct.size(), 132300u * 4);
  TestEngine engine;
  ASSERT_EQ(Engine_OpenFile(engine.handle(), FixturePath("vorbis_tags.ogg").c_str()), 1);
  EXPECT_EQ(engine.PlayToEnd(), (StatusList{{3, 0}, {1, 0}, {0, 0}}));
  EXPECT_EQ(engine.device().Played(), Scaled(direct, 16, kHeadroomGain));
  // The end rewound the stream: a second playback plays it all again.
  engine.PlayToEnd();
  EXPECT_EQ(engine.device().Played().size(), 2 * direct.size());
}

// Tremor's integer decoder against the floating-point reference decoder.
TEST(VorbisSource, DecodesCloseToTheReferenceDecoder) {
  const Bytes direct = DecodeDirectly("vorbis_tags.ogg");
  const Bytes reference = Samples16Of("vorbis_tags.ref.wav");
  ASSERT_EQ(direct.size(), reference.size());
  int worst = 0;
  for (size_t i = 0; i + 1 < direct.size(); i += 2) {
    const int a = int16_t(direct[i] | direct[i + 1] << 8), b = int16_t(reference[i] | reference[i + 1] << 8);
    worst = std::max(worst, std::abs(a - b));
  }
  EXPECT_LE(worst, 4);
}

TEST(VorbisSource, SeekStartsAtTheFrameTheLibraryReached) {
  const Bytes direct = DecodeDirectly("vorbis_tags.ogg");
  TestEngine engine;
  EngineHandle h = engine.handle();
  ASSERT_EQ(Engine_OpenFile(h, FixturePath("vorbis_tags.ogg").c_str()), 1);
  ASSERT_EQ(Engine_Seek(h, 1500), 1);
  EXPECT_EQ(Engine_GetPosition(h), 1500);
  engine.PlayToEnd();
  EXPECT_EQ(engine.device().Played(), Scaled(Bytes(direct.begin() + 66150 * 4, direct.end()), 16, kHeadroomGain));
  EXPECT_EQ(Engine_Seek(h, 3000), 0);
}

TEST(VorbisSource, StreamShorterThanABlockIsWrittenByTheFinish) {
  const Bytes direct = DecodeDirectly("vorbis_short.ogg");
  ASSERT_FALSE(direct.empty());
  TestEngine engine;
  ASSERT_EQ(Engine_OpenFile(engine.handle(), FixturePath("vorbis_short.ogg").c_str()), 1);
  EXPECT_EQ(engine.PlayToEnd(), (StatusList{{3, 0}, {1, 0}, {0, 0}}));
  EXPECT_EQ(engine.device().Played(), Scaled(direct, 16, kHeadroomGain));
  EXPECT_EQ(engine.device().WriteCount(), 1);
}

TEST(VorbisSource, MonoStream) {
  TestEngine engine;
  ASSERT_EQ(Engine_OpenFile(engine.handle(), FixturePath("vorbis_22k_mono.ogg").c_str()), 1);
  TrackInfo info{};
  Engine_GetTrackInfo(engine.handle(), &info);
  EXPECT_EQ(info.Channels, 1);
  EXPECT_EQ(info.SampleRate, 22050);
  engine.PlayToEnd();
  EXPECT_EQ(engine.device().Played(), Scaled(DecodeDirectly("vorbis_22k_mono.ogg"), 16, kHeadroomGain));
  EXPECT_EQ(engine.device().Played().size(), 44100u * 2);
}

// A page whose checksum fails is dropped: the stream then has a hole, which
// the library reports while decoding.
TEST(VorbisSource, HoleInTheDataEndsPlaybackAsFailure) {
  Bytes bytes;
  ASSERT_TRUE(ReadWholeFile(FixturePath("vorbis_tags.ogg"), 1 << 24, bytes));
  std::vector<size_t> pages;
  const std::string capture = "OggS";
  for (auto at = bytes.begin(); (at = std::search(at, bytes.end(), capture.begin(), capture.end())) != bytes.end(); ++at)
    pages.push_back(size_t(at - bytes.begin()));
  ASSERT_GE(pages.size(), 4u);
  // The next to last page: the last one still gives the length.
  const size_t damaged = pages[pages.size() - 2] + 600;
  for (size_t i = damaged; i < damaged + 10; ++i) bytes[i] ^= 0xFF;
  const std::u16string path = TempPath("damaged.ogg");
  ASSERT_TRUE(WriteBytes(path, bytes));
  TestEngine engine;
  ASSERT_EQ(Engine_OpenFile(engine.handle(), path.c_str()), 1);
  EXPECT_EQ(engine.PlayToEnd().back(), (std::pair<int, int>{0, 1}));
}

TEST(VorbisSource, OpenRefusesWhatTheLibraryRefuses) {
  Bytes ogg;
  ASSERT_TRUE(ReadWholeFile(FixturePath("vorbis_tags.ogg"), 1 << 24, ogg));
  Bytes wav;
  ASSERT_TRUE(ReadWholeFile(FixturePath("pcm_s16_44k_mono.wav"), 1 << 24, wav));
  const std::pair<const char*, Bytes> files[] = {
      {"empty.ogg", {}}, {"wav_content.ogg", wav}, {"header_only.ogg", Bytes(ogg.begin(), ogg.begin() + 100)}};
  TestEngine engine;
  for (const auto& [name, content] : files) {
    const std::u16string path = TempPath(name);
    ASSERT_TRUE(WriteBytes(path, content));
    EXPECT_EQ(Engine_OpenFile(engine.handle(), path.c_str()), 0) << name;
    EXPECT_EQ(Engine_GetSourceKind(engine.handle()), int(SourceKind::None)) << name;
  }
  EXPECT_EQ(Engine_OpenFile(engine.handle(), FixturePath("missing.ogg").c_str()), 0);
  EXPECT_EQ(Engine_OpenFile(engine.handle(), u".ogg"), 0);
}

// A setup header with a codebook Tremor cannot build: setting up the
// decoder fails on the seek, and every later read must fail too rather than
// decode with the half-made codebooks the failure left behind.
TEST(VorbisSource, DecoderThatCannotBeSetUpStaysRefused) {
  const std::u16string path = HostPath(QV_SOURCE_DIR "/fuzz/corpus/vorbis/setup_codebook_refused_then_seek.ogg");
  auto ogg = OggFile::Open(path.c_str());
  ASSERT_TRUE(ogg) << "the headers themselves parse";
  EXPECT_FALSE(ogg->SeekFrame(44100));
  Bytes buffer(8192);
  for (int attempt = 0; attempt < 3; ++attempt) {
    size_t got = 1;
    EXPECT_EQ(ogg->Read(buffer.data(), buffer.size(), &got), OggFile::ReadResult::Failure) << attempt;
    EXPECT_EQ(got, 0u);
  }
  EXPECT_FALSE(ogg->SeekFrame(0));

  TestEngine engine;
  ASSERT_EQ(Engine_OpenFile(engine.handle(), path.c_str()), 1);
  EXPECT_EQ(Engine_Seek(engine.handle(), 1000), 0);
  EXPECT_EQ(engine.PlayToEnd().back(), (std::pair<int, int>{0, 1}));
}

}  // namespace
}  // namespace qv::test
