// The Header object walk: File and Stream Properties fields, object bounds,
// and the tags of the two content description objects.
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "engine/plugins/wma/asf_guids.h"
#include "engine/plugins/wma/asf_header.h"
#include "tests/wma/asf_builder.h"

namespace qv::test {
namespace {

const Bytes kWave = WaveFormatRecord(0x0161, 2, 44100, 16, Bytes(10, 0));

AsfHeader Parse(const Bytes& header) {
  AsfHeader h;
  EXPECT_TRUE(ParseAsfHeaderObject(header.data(), header.size(), &h));
  return h;
}

FileProperties Props() {
  FileProperties p;
  p.fileSize = 123456;
  p.packetCount = 77;
  p.playDuration = 61180000;
  p.prerollMs = 3100;
  p.flags = 2;
  p.minPacketSize = p.maxPacketSize = 3200;
  p.maxBitrate = 128000;
  return p;
}

TEST(AsfHeader, FilePropertiesAndTheFirstAudioStream) {
  const AsfHeader h = Parse(HeaderObject({FilePropertiesObject(Props()), StreamPropertiesObject(0x85, kWave),
                                          StreamPropertiesObject(2, WaveFormatRecord(1, 1, 8000, 8))}));
  EXPECT_TRUE(h.hasFileProperties);
  EXPECT_EQ(h.fileSize, 123456u);
  EXPECT_EQ(h.packetCount, 77u);
  EXPECT_EQ(h.minPacketSize, 3200u);
  EXPECT_EQ(h.maxPacketSize, 3200u);
  EXPECT_FALSE(h.broadcast);
  EXPECT_TRUE(h.seekable);
  EXPECT_EQ(h.bitrateKbps, 128);
  EXPECT_EQ(h.durationMs, 6118u - 3100u);
  ASSERT_TRUE(h.hasAudio);
  EXPECT_EQ(h.streamNumber, 5) << "flags & 0x7F";
  EXPECT_EQ(h.typeData, kWave) << "the first audio stream only";
}

TEST(AsfHeader, VideoStreamsAreNotTheAudioStream) {
  const AsfHeader h = Parse(HeaderObject({StreamPropertiesObject(1, kWave, false), StreamPropertiesObject(3, kWave)}));
  ASSERT_TRUE(h.hasAudio);
  EXPECT_EQ(h.streamNumber, 3);
}

struct DurationCase {
  uint64_t playDuration, prerollMs;
  uint32_t flags, durationMs;
};

void PrintTo(const DurationCase& c, std::ostream* os) {
  *os << c.playDuration << " with preroll " << c.prerollMs << " flags " << c.flags;
}

class AsfDurationTest : public ::testing::TestWithParam<DurationCase> {};

// Play durations count the preroll, which the file tells players to take off.
TEST_P(AsfDurationTest, DurationInMilliseconds) {
  FileProperties p = Props();
  p.playDuration = GetParam().playDuration;
  p.prerollMs = GetParam().prerollMs;
  p.flags = GetParam().flags;
  EXPECT_EQ(Parse(HeaderObject({FilePropertiesObject(p)})).durationMs, GetParam().durationMs);
}

INSTANTIATE_TEST_SUITE_P(Cases, AsfDurationTest,
                         ::testing::Values(DurationCase{61180000, 3100, 2, 3018}, DurationCase{20000000, 0, 2, 2000},
                                           DurationCase{20009999, 0, 2, 2000},
                                           DurationCase{10000000, 5000, 2, 1000},  // a preroll beyond it is ignored
                                           DurationCase{61180000, 3100, 1, 0},     // broadcast: no duration
                                           DurationCase{61180000, 3100, 3, 0},
                                           DurationCase{~0ull, 0, 2, 0x7FFFFFFF}));

// Objects are read only while they lie inside the header.
struct BoundsCase {
  const char* name;
  uint64_t declaredSize;  // of the object before File Properties
};

void PrintTo(const BoundsCase& c, std::ostream* os) { *os << c.name; }

class AsfHeaderBoundsTest : public ::testing::TestWithParam<BoundsCase> {};

TEST_P(AsfHeaderBoundsTest, WalkStopsAtAnObjectThatDoesNotFit) {
  Bytes first = ContentDescriptionObject(Utf16Le(u"T"), Utf16Le(u"A"));
  PokeLe(first, 16, GetParam().declaredSize, 8);
  const Bytes header = HeaderObject({first, FilePropertiesObject(Props()), StreamPropertiesObject(1, kWave)});
  const AsfHeader h = Parse(header);
  EXPECT_FALSE(h.hasFileProperties);
  EXPECT_FALSE(h.hasAudio);
  EXPECT_EQ(h.tags.Title[0], 0);
}

INSTANTIATE_TEST_SUITE_P(Sizes, AsfHeaderBoundsTest,
                         ::testing::Values(BoundsCase{"size 0", 0}, BoundsCase{"size 23", 23},
                                           BoundsCase{"beyond the header", 100000},
                                           BoundsCase{"huge", 1ull << 62}, BoundsCase{"all ones", ~0ull}));

TEST(AsfHeader, ObjectsTooShortForTheirFieldsAreSkipped) {
  // File Properties cut to 100 bytes, Stream Properties whose type data runs
  // past it, Stream Properties without room for its fixed part.
  Bytes props = FilePropertiesObject(Props());
  props.resize(100);
  PokeLe(props, 16, 100, 8);
  Bytes longType = StreamPropertiesObject(1, kWave);
  PokeLe(longType, 64, kWave.size() + 1, 4);
  Bytes shortStream = StreamPropertiesObject(2, {});
  shortStream.resize(70);
  PokeLe(shortStream, 16, 70, 8);
  const AsfHeader h = Parse(HeaderObject({props, longType, shortStream, StreamPropertiesObject(4, kWave)}));
  EXPECT_FALSE(h.hasFileProperties);
  ASSERT_TRUE(h.hasAudio) << "the walk goes on after objects it cannot use";
  EXPECT_EQ(h.streamNumber, 4);
}

TEST(AsfHeader, ObjectCountLimitsTheWalk) {
  const AsfHeader h = Parse(HeaderObject({FilePropertiesObject(Props()), StreamPropertiesObject(1, kWave)}, 1));
  EXPECT_TRUE(h.hasFileProperties);
  EXPECT_FALSE(h.hasAudio);
}

TEST(AsfHeader, TooShortForTheHeaderObject) {
  const Bytes header = HeaderObject({});
  AsfHeader h;
  EXPECT_TRUE(ParseAsfHeaderObject(header.data(), 30, &h));
  EXPECT_FALSE(ParseAsfHeaderObject(header.data(), 29, &h));
  EXPECT_FALSE(ParseAsfHeaderObject(nullptr, 0, &h));
}

std::u16string Text(const char16_t* field) { return field; }

TEST(AsfTags, TitleAndAuthorBecomeTitleAndArtist) {
  const AsfHeader h = Parse(HeaderObject({ContentDescriptionObject(Utf16Le(u"Título"), Utf16Le(u"Артист"))}));
  EXPECT_EQ(Text(h.tags.Title), u"Título");
  EXPECT_EQ(Text(h.tags.Artist), u"Артист");
}

TEST(AsfTags, TextsAreCutTo254Characters) {
  const std::u16string longText(300, u'x');
  const AsfHeader h = Parse(HeaderObject({ContentDescriptionObject(Utf16Le(longText), Utf16Le(u"A")),
                                          ExtendedContentDescriptionObject({Descriptor(u"WM/AlbumTitle", 0,
                                                                                       Utf16Le(longText))})}));
  EXPECT_EQ(Text(h.tags.Title), std::u16string(254, u'x'));
  EXPECT_EQ(Text(h.tags.Album), std::u16string(254, u'x'));
  EXPECT_EQ(Text(h.tags.Artist), u"A");
}

TEST(AsfTags, StringsBeyondTheObjectAreNotRead) {
  Bytes cd = ContentDescriptionObject(Utf16Le(u"Title"), Utf16Le(u"Author"));
  PokeLe(cd, 26, 200, 2);  // the author runs past the object
  AsfHeader h = Parse(HeaderObject({cd}));
  EXPECT_EQ(Text(h.tags.Title), u"Title");
  EXPECT_EQ(Text(h.tags.Artist), u"");
  PokeLe(cd, 24, 200, 2);  // and the title too
  h = Parse(HeaderObject({cd}));
  EXPECT_EQ(Text(h.tags.Title), u"");
}

Bytes Le(uint64_t v, int bytes) {
  Bytes b;
  PutLe(b, v, bytes);
  return b;
}

struct NumberCase {
  const char* name;
  uint16_t type;
  Bytes value;
  int32_t expected;
};

void PrintTo(const NumberCase& c, std::ostream* os) { *os << c.name; }

class AsfNumberTagTest : public ::testing::TestWithParam<NumberCase> {};

// "WM/TrackNumber" and "WM/Year" as text or as an integer of any width.
TEST_P(AsfNumberTagTest, TrackAndYear) {
  const NumberCase& c = GetParam();
  const AsfHeader h = Parse(HeaderObject({ExtendedContentDescriptionObject(
      {Descriptor(u"WM/TrackNumber", c.type, c.value), Descriptor(u"WM/Year", c.type, c.value)})}));
  EXPECT_EQ(h.tags.Track, c.expected);
  EXPECT_EQ(h.tags.Year, c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Values, AsfNumberTagTest,
    ::testing::Values(NumberCase{"text 3", 0, Utf16Le(u"3"), 3}, NumberCase{"dword 3", 3, Le(3, 4), 3},
                      NumberCase{"bool", 2, Le(1, 4), 1}, NumberCase{"word", 5, Le(2004, 2), 2004},
                      NumberCase{"qword low bits", 4, Le(0x700000007D4ull, 8), 2004},
                      NumberCase{"text with blanks and more", 0, Utf16Le(u"  12/15"), 12},
                      NumberCase{"negative text", 0, Utf16Le(u"-5"), -5}, NumberCase{"no digits", 0, Utf16Le(u"x"), 0},
                      NumberCase{"huge text", 0, Utf16Le(u"99999999999"), 0x7FFFFFFF},
                      NumberCase{"dword too short", 3, Le(3, 2), 0}, NumberCase{"bytes", 1, Le(3, 4), 0}));

TEST(AsfTags, AlbumAndGenreOnlyAsText) {
  AsfHeader h = Parse(HeaderObject({ExtendedContentDescriptionObject(
      {Descriptor(u"WM/AlbumTitle", 0, Utf16Le(u"Album")), Descriptor(u"WM/Genre", 0, Utf16Le(u"Genre")),
       Descriptor(u"WM/TrackNumberX", 3, Le(9, 4)), Descriptor(u"WM/Yea", 3, Le(9, 4))})}));
  EXPECT_EQ(Text(h.tags.Album), u"Album");
  EXPECT_EQ(Text(h.tags.Genre), u"Genre");
  EXPECT_EQ(h.tags.Track, 0) << "names match whole";
  EXPECT_EQ(h.tags.Year, 0);
  h = Parse(HeaderObject({ExtendedContentDescriptionObject(
      {Descriptor(u"WM/AlbumTitle", 1, Utf16Le(u"Album")), Descriptor(u"WM/Genre", 3, Le(5, 4))})}));
  EXPECT_EQ(Text(h.tags.Album), u"");
  EXPECT_EQ(Text(h.tags.Genre), u"");
}

TEST(AsfTags, DescriptorsThatRunPastTheObjectEndTheWalk) {
  Bytes second = Descriptor(u"WM/Genre", 0, Utf16Le(u"Genre"));
  const Bytes first = Descriptor(u"WM/AlbumTitle", 0, Utf16Le(u"Album"));
  // The second descriptor's value length claims more than is left.
  PokeLe(second, 2 + Utf16Le(u"WM/Genre").size() + 2, 1000, 2);
  AsfHeader h = Parse(HeaderObject({ExtendedContentDescriptionObject({first, second})}));
  EXPECT_EQ(Text(h.tags.Album), u"Album");
  EXPECT_EQ(Text(h.tags.Genre), u"");

  // A count beyond the descriptors present, and a name length beyond the object.
  Bytes object = ExtendedContentDescriptionObject({first});
  PokeLe(object, 24, 50, 2);
  h = Parse(HeaderObject({object}));
  EXPECT_EQ(Text(h.tags.Album), u"Album");
  Bytes badName = ExtendedContentDescriptionObject({first});
  PokeLe(badName, 26, 0xFFFF, 2);
  h = Parse(HeaderObject({badName}));
  EXPECT_EQ(Text(h.tags.Album), u"");
}

}  // namespace
}  // namespace qv::test
