// CD tracks on the fake drive: the table of contents, the folder listing,
// chunk arithmetic, seeking and read errors.
#include <gtest/gtest.h>

#include "engine/cd/cd_source.h"
#include "tests/engine/engine_test_support.h"

namespace qv::test {
namespace {

const StatusList kWholePlay = {{3, 0}, {1, 0}, {0, 0}};
const std::u16string kFolder = u"D:\\cd\\";

// The raw audio of sectors [first, first + count).
Bytes Sectors(uint32_t first, uint32_t count) {
  Bytes out;
  for (uint32_t s = first; s < first + count; ++s)
    for (uint32_t i = 0; i < kCdRawSectorBytes; ++i) out.push_back(FakeCdDrive::RawByte(s, i));
  return out;
}

// Tracks of 1000, 1045 and 45 sectors; the listing may name more files
// than the disc has tracks.
void LoadDisc(TestEngine& t, size_t listed = 3) {
  t.cd().SetTracks({0, 1000, 2045}, 2090);
  std::vector<std::u16string> names;
  for (size_t i = 1; i <= listed; ++i) names.push_back(u"Track0" + std::u16string(1, char16_t(u'0' + i)) + u".cda");
  t.cd().SetFolder(kFolder, names);
}

TEST(CdAudio, TrackSpansFromTheTableOfContents) {
  FakeCdDrive drive;
  drive.SetTracks({0, 1000, 2045}, 2090);
  auto device = drive.NewDevice();
  ASSERT_TRUE(device->Open(u'D'));
  uint8_t toc[kCdTocBytes];
  ASSERT_TRUE(device->ReadToc(toc));
  const std::vector<std::pair<uint32_t, uint32_t>> spans = {{0, 1000}, {1000, 1045}, {2045, 45}};
  for (size_t i = 0; i < spans.size(); ++i) {
    CdTrackSpan span;
    ASSERT_TRUE(CdTrackFromToc(toc, i, &span)) << i;
    EXPECT_EQ(span.startSector, spans[i].first) << i;
    EXPECT_EQ(span.lengthSectors, spans[i].second) << i;
  }
  CdTrackSpan span;
  EXPECT_FALSE(CdTrackFromToc(toc, 3, &span)) << "the lead-out is no track";
  EXPECT_FALSE(CdTrackFromToc(toc, 99, &span));
}

TEST(CdAudio, DriveLetterIsExactlyOneLetter) {
  const std::vector<std::pair<std::u16string, char16_t>> cases = {
      {u"D:\\Track01.cda", u'D'}, {u"e:\\x\\Track01.cda", u'e'}, {u"DD:\\Track01.cda", 0},
      {u"1:\\Track01.cda", 0},    {u"\\\\?\\D:\\Track01.cda", 0}, {u"Track01.cda", 0},
      {u":\\Track01.cda", 0},
  };
  for (const auto& [path, letter] : cases) EXPECT_EQ(CdDriveLetter(path), letter);
}

TEST(CdAudio, OpenReportsTheTrack) {
  TestEngine t;
  LoadDisc(t);
  ASSERT_EQ(Engine_OpenFile(t.handle(), (kFolder + u"Track02.cda").c_str()), 1);
  EXPECT_EQ(t.cd().OpenedLetters(), u"D");
  EXPECT_EQ(Engine_GetSourceKind(t.handle()), int(SourceKind::CdAudio));
  EXPECT_EQ(Engine_GetLength(t.handle()), 13000) << "1045 sectors: 13 whole seconds";
  TrackInfo info{};
  Engine_GetTrackInfo(t.handle(), &info);
  EXPECT_EQ(info.Channels, 2);
  EXPECT_EQ(info.SampleRate, 44100);
  EXPECT_EQ(info.BitrateKbps, 1411);
}

TEST(CdAudio, OpenFailures) {
  struct Case {
    const char* name;
    std::u16string path;
    std::function<void(TestEngine&)> arrange;
  };
  const std::vector<Case> cases = {
      {"two letters", u"DD:\\cd\\Track01.cda", [](TestEngine&) {}},
      {"no colon", u"cd\\Track01.cda", [](TestEngine&) {}},
      {"listed beyond the table of contents", kFolder + u"Track05.cda", [](TestEngine& t) { LoadDisc(t, 5); }},
      {"file not found", kFolder + u"Track09.cda", [](TestEngine&) {}},
      {"drive does not open", kFolder + u"Track01.cda", [](TestEngine& t) { t.cd().FailOpen(true); }},
      {"table of contents unreadable", kFolder + u"Track01.cda", [](TestEngine& t) { t.cd().FailToc(true); }},
  };
  for (const auto& c : cases) {
    TestEngine t;
    LoadDisc(t);
    c.arrange(t);
    EXPECT_EQ(Engine_OpenFile(t.handle(), c.path.c_str()), 0) << c.name;
    EXPECT_EQ(Engine_GetSourceKind(t.handle()), 0) << c.name;
  }
  TestEngine t;
  LoadDisc(t, 5);
  EXPECT_EQ(Engine_OpenFile(t.handle(), (kFolder + u"Track03.cda").c_str()), 1) << "the last track ends at the lead-out";
}

TEST(CdAudio, PlaysWholeChunksAndDropsThePartialLast) {
  TestEngine t;
  LoadDisc(t);
  ASSERT_EQ(Engine_OpenFile(t.handle(), (kFolder + u"Track03.cda").c_str()), 1);  // 45 sectors
  EXPECT_EQ(t.PlayToEnd(), kWholePlay);
  EXPECT_EQ(t.device().Played(), Sectors(2045, 40)) << "CD audio gets no headroom gain";
  const auto reads = t.cd().Reads();
  ASSERT_EQ(reads.size(), 2u);
  EXPECT_EQ(reads[0].byteOffset, 2045u * 2048);
  EXPECT_EQ(reads[1].byteOffset, 2065u * 2048);
  EXPECT_EQ(reads[1].sectors, 20u);
}

TEST(CdAudio, SeekTo2500MsStartsAtSecondTwo) {
  TestEngine t;
  LoadDisc(t);
  ASSERT_EQ(Engine_OpenFile(t.handle(), (kFolder + u"Track02.cda").c_str()), 1);
  ASSERT_EQ(Engine_Seek(t.handle(), 2500), 1);
  EXPECT_EQ(Engine_GetPosition(t.handle()), 2000) << "base position 88200";
  EXPECT_EQ(t.PlayToEnd(), kWholePlay);
  const auto reads = t.cd().Reads();
  ASSERT_FALSE(reads.empty());
  EXPECT_EQ(reads[0].byteOffset, (1000u + 7 * 20) * 2048) << "chunk 7";
  // Chunks 7..51 of the 52 whole chunks.
  EXPECT_EQ(t.device().Played(), Sectors(1000 + 140, 1040 - 140));
}

TEST(CdAudio, ReadErrorGivesTheBlockBackAndRetriesTheSameChunk) {
  TestEngine t;
  LoadDisc(t);
  ASSERT_EQ(Engine_OpenFile(t.handle(), (kFolder + u"Track03.cda").c_str()), 1);
  t.cd().FailNextReads(2);
  EXPECT_EQ(t.PlayToEnd(), kWholePlay);
  EXPECT_EQ(t.device().Played(), Sectors(2045, 40)) << "no stale or repeated audio";
  const auto reads = t.cd().Reads();
  ASSERT_EQ(reads.size(), 4u);
  for (size_t i = 0; i < 3; ++i) EXPECT_EQ(reads[i].byteOffset, 2045u * 2048) << i;
  EXPECT_FALSE(reads[0].ok);
  EXPECT_FALSE(reads[1].ok);
  EXPECT_TRUE(reads[2].ok);
  for (size_t i = 1; i < 3; ++i)
    EXPECT_GE(reads[i].when - reads[i - 1].when, std::chrono::milliseconds(45)) << "retry " << i;
}

TEST(CdAudio, StopDuringThePrebufferWait) {
  TestEngine t;
  LoadDisc(t);
  ASSERT_EQ(Engine_OpenFile(t.handle(), (kFolder + u"Track02.cda").c_str()), 1);
  // A drive that never reads: nothing reaches the ring, the device waits.
  t.cd().FailNextReads(1 << 30);
  ASSERT_EQ(Engine_Play(t.handle()), 1);
  ASSERT_TRUE(t.sink().WaitForStatus(1));
  ASSERT_TRUE(WaitUntil([&] { return t.cd().Reads().size() >= 2; }));
  EXPECT_TRUE(t.device().IsPaused());
  EXPECT_EQ(Engine_Stop(t.handle()), 1);
  EXPECT_EQ(t.sink().Statuses(), kWholePlay);
  EXPECT_EQ(t.device().PlayedBytes(), 0u);
}

}  // namespace
}  // namespace qv::test
