// ID3 version 1 tags: the fields, the genre list, reading through the
// engine, and which files Engine_GetFileTags reads.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/mpeg/id3v1.h"
#include "platform/text/utf16.h"
#include "tests/mpeg/mpeg_test_support.h"

namespace qv::test {
namespace {

struct TagFields {
  std::string title, artist, album, year, comment;
  int track = -1;  // -1: a 30-byte comment (ID3 v1.0)
  uint8_t genre = 255;
};

Bytes MakeTag(const TagFields& f, uint8_t pad = 0) {
  Bytes tag(128, pad);
  std::memcpy(tag.data(), "TAG", 3);
  auto put = [&](size_t at, size_t width, const std::string& text) {
    std::memcpy(tag.data() + at, text.data(), std::min(width, text.size()));
  };
  put(3, 30, f.title);
  put(33, 30, f.artist);
  put(63, 30, f.album);
  put(93, 4, f.year);
  put(97, 30, f.comment);
  if (f.track >= 0) {
    tag[125] = 0;
    tag[126] = uint8_t(f.track);
  }
  tag[127] = f.genre;
  return tag;
}

std::string Text(const char16_t* s) { return ToUtf8(s); }

TEST(Id3v1, ParsesEveryField) {
  struct Case {
    const char* name;
    Bytes tag;
    const char *title, *artist, *album, *comment, *genre;
    int year, track;
  };
  const Case cases[] = {
      {"v1.1 with track", MakeTag({"Song", "Band", "Record", "2001", "Fine", 12, 17}), "Song", "Band", "Record", "Fine",
       "Rock", 2001, 12},
      {"v1.0 full comment", MakeTag({"T", "A", "L", "1987", "thirty characters of comment!!", -1, 0}), "T", "A", "L",
       "thirty characters of comment!!", "Blues", 1987, 0},
      // The year runs straight into a comment that starts with digits.
      {"year not terminated", MakeTag({"T", "A", "L", "1999", "42 is the comment", 3, 1}), "T", "A", "L",
       "42 is the comment", "Classic Rock", 1999, 3},
      // Genre bytes above 127 are unsigned; above 147 there is no name.
      {"genre 140", MakeTag({"T", "", "", "", "", 1, 140}), "T", "", "", "", "Contemporary Christian", 0, 1},
      {"genre 147", MakeTag({"T", "", "", "", "", 1, 147}), "T", "", "", "", "Synthpop", 0, 1},
      {"genre 148", MakeTag({"T", "", "", "", "", 1, 148}), "T", "", "", "", "", 0, 1},
      {"genre 255", MakeTag({"T", "", "", "", "", 1, 255}), "T", "", "", "", "", 0, 1},
      // Fields padded with blanks lose them; text is from the ANSI page.
      {"blank padded", MakeTag({"Padded", "Caf\xE9", "", "abcd", "x", -1, 80}, ' '), "Padded", "Caf\xC3\xA9", "",
       "x", "Folk", 0, 0},
      {"inner blanks stay", MakeTag({"  two  words", "", "", " 42 ", "", 0, 12}), "  two  words", "", "", "", "Other",
       42, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TagInfo tags{};
    ASSERT_TRUE(ParseId3v1(c.tag.data(), &tags));
    EXPECT_EQ(Text(tags.Title), c.title);
    EXPECT_EQ(Text(tags.Artist), c.artist);
    EXPECT_EQ(Text(tags.Album), c.album);
    EXPECT_EQ(Text(tags.Comment), c.comment);
    EXPECT_EQ(Text(tags.Genre), c.genre);
    EXPECT_EQ(tags.Year, c.year);
    EXPECT_EQ(tags.Track, c.track);
  }
}

TEST(Id3v1, GenreNames) {
  struct Case {
    int genre;
    const char* name;
  };
  for (const Case c : {Case{0, "Blues"}, Case{12, "Other"}, Case{79, "Hard Rock"}, Case{80, "Folk"},
                       Case{127, "Drum & Bass"}, Case{128, "Club-House"}, Case{146, "JPop"}, Case{147, "Synthpop"},
                       Case{148, ""}, Case{200, ""}, Case{255, ""}})
    EXPECT_EQ(ToUtf8(Id3v1GenreName(uint8_t(c.genre))), c.name) << c.genre;
  for (int g = 0; g < 148; ++g) EXPECT_FALSE(Id3v1GenreName(uint8_t(g)).empty()) << g;
}

TEST(Id3v1, NoTagClearsOnlyTheTitle) {
  TagInfo tags{};
  for (size_t i = 0; i + 1 < kTagChars; ++i) tags.Title[i] = tags.Artist[i] = u'z';
  tags.Year = 5;
  ASSERT_TRUE(WriteBytes(TempPath("untagged.mp3"), Repeat(SilentFrame(HeaderWord(1, 3, 128, 44100)), 5)));
  EXPECT_FALSE(ReadId3v1(TempPath("untagged.mp3"), &tags));
  for (size_t i = 0; i < 64; ++i) EXPECT_EQ(tags.Title[i], 0) << i;
  EXPECT_EQ(tags.Title[64], u'z');
  EXPECT_EQ(tags.Artist[0], u'z');
  EXPECT_EQ(tags.Year, 5);
  EXPECT_FALSE(ReadId3v1(TempPath("does_not_exist.mp3"), &tags));
  ASSERT_TRUE(WriteBytes(TempPath("tiny.mp3"), Bytes{'T', 'A', 'G'}));
  EXPECT_FALSE(ReadId3v1(TempPath("tiny.mp3"), &tags));
}

// The tag lame wrote, through Engine_GetTags and Engine_GetFileTags.
TEST(Id3v1, TagsOfTheOpenFileAndOfAnyFile) {
  TestEngine t;
  ASSERT_EQ(Engine_OpenFile(t.handle(), FixturePath("tagged_v1.mp3").c_str()), 1);
  for (int pass = 0; pass < 2; ++pass) {
    TagInfo tags{};
    const int ok = pass == 0 ? Engine_GetTags(t.handle(), &tags)
                             : Engine_GetFileTags(t.handle(), FixturePath("tagged_v1.mp3").c_str(), &tags);
    ASSERT_EQ(ok, 1) << pass;
    EXPECT_EQ(Text(tags.Title), "Title Thirty Characters Long!!");
    EXPECT_EQ(Text(tags.Artist), "Artist Name");
    EXPECT_EQ(Text(tags.Album), "Album Name");
    EXPECT_EQ(Text(tags.Comment), "42 is the comment");
    EXPECT_EQ(Text(tags.Genre), "Contemporary Christian");
    EXPECT_EQ(tags.Year, 1999);
    EXPECT_EQ(tags.Track, 7);
  }
  // Without a version 1 tag there is nothing to read.
  ASSERT_EQ(Engine_OpenFile(t.handle(), FixturePath("tagged_v2.mp3").c_str()), 1);
  TagInfo none{};
  EXPECT_EQ(Engine_GetTags(t.handle(), &none), 0);
}

// Engine_GetFileTags reads the tag of files that pass the MPEG audio test,
// whatever their name, and of nothing else.
TEST(Id3v1, FileTagsFollowTheMpegAudioTest) {
  const Bytes tag = MakeTag({"Found", "", "", "2020", "", 1, 8});
  const Bytes frames = Repeat(SilentFrame(HeaderWord(2, 3, 64, 22050)), 4);
  Bytes wave(44, 0);
  std::memcpy(wave.data(), "RIFF", 4);
  std::memcpy(wave.data() + 8, "WAVEfmt ", 8);
  Bytes mpegWave = wave;
  wave[20] = 1;
  mpegWave[20] = 0x55;
  struct Case {
    const char* name;
    Bytes body;
    bool found;
  };
  const Case cases[] = {
      {"frames.bin", frames, true},
      {"id3v2_front.txt", Concat({Bytes{'I', 'D', '3', 4, 0, 0, 0, 0, 0, 0}, Bytes(50, 1)}), true},
      {"mpeg_in_wave.wav", Concat({mpegWave, frames}), true},
      {"pcm_wave.wav", Concat({wave, frames}), false},
      {"text.mp3", Bytes(2000, 'q'), false},
  };
  TestEngine t;
  for (const Case& c : cases) {
    ASSERT_TRUE(WriteBytes(TempPath(c.name), Concat({c.body, tag})));
    TagInfo tags{};
    EXPECT_EQ(Engine_GetFileTags(t.handle(), TempPath(c.name).c_str(), &tags), c.found ? 1 : 0) << c.name;
    if (c.found) {
      EXPECT_EQ(Text(tags.Title), "Found") << c.name;
      EXPECT_EQ(Text(tags.Genre), "Jazz") << c.name;
      EXPECT_EQ(tags.Year, 2020) << c.name;
    }
  }
  // Reading tags does not disturb playback of the open file.
  ASSERT_EQ(Engine_OpenFile(t.handle(), FixturePath("mpeg1_l3_cbr.mp3").c_str()), 1);
  const DecodeRun alone = DecodeFile(FixturePath("mpeg1_l3_cbr.mp3"), false);
  ASSERT_EQ(Engine_Play(t.handle()), 1);
  for (int i = 0; i < 50; ++i) {
    TagInfo tags{};
    Engine_GetFileTags(t.handle(), FixturePath("tagged_v1.mp3").c_str(), &tags);
    Engine_GetTags(t.handle(), &tags);
  }
  ASSERT_TRUE(t.WaitStopped());
  EXPECT_EQ(ToSamples(t.device().Played()), alone.samples);
}

}  // namespace
}  // namespace qv::test
