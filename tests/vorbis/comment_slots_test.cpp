// The seven comment slots from a Vorbis comment list, and the TagInfo made
// from them.
#include <gtest/gtest.h>

#include <ostream>

#include <tremor/ivorbiscodec.h>

#include <string>
#include <vector>

#include "engine/vorbis/vorbis_comments.h"

namespace qv {
namespace {

// A comment list over strings the test owns.
class CommentList {
 public:
  explicit CommentList(std::vector<std::string> entries) : entries_(std::move(entries)) {
    for (std::string& e : entries_) {
      pointers_.push_back(e.data());
      lengths_.push_back(int(e.size()));
    }
    list_.user_comments = pointers_.data();
    list_.comment_lengths = lengths_.data();
    list_.comments = int(entries_.size());
    list_.vendor = nullptr;
  }
  const vorbis_comment& get() const { return list_; }
  const std::vector<std::string>& entries() const { return entries_; }

 private:
  std::vector<std::string> entries_;
  std::vector<char*> pointers_;
  std::vector<int> lengths_;
  vorbis_comment list_{};
};

std::u16string Slot(const CommentSlots& slots, CommentSlot slot) { return slots[slot]; }

TEST(CommentSlots, KeysMatchInAnyLetterCaseAndOthersAreSkipped) {
  CommentList list({"title=First", "TiTlE=Second", "ARTIST=Someone", "tracknumber=7", "noequals", "OTHER=x",
                    "=no key", "ALBUM=", "COMMENT=a=b", "Genre=Noise", "date=2001-02-03", "TITLEX=no"});
  const std::vector<std::string> before = list.entries();
  const CommentSlots slots = ReadCommentSlots(list.get());
  EXPECT_EQ(Slot(slots, CommentSlot::Title), u"Second") << "a later entry of the same key wins";
  EXPECT_EQ(Slot(slots, CommentSlot::Artist), u"Someone");
  EXPECT_EQ(Slot(slots, CommentSlot::TrackNumber), u"7");
  EXPECT_EQ(Slot(slots, CommentSlot::Album), u"");
  EXPECT_EQ(Slot(slots, CommentSlot::Comment), u"a=b");
  EXPECT_EQ(Slot(slots, CommentSlot::Genre), u"Noise");
  EXPECT_EQ(Slot(slots, CommentSlot::Date), u"2001-02-03");
  // Keys are compared, not changed.
  for (size_t i = 0; i < before.size(); ++i) EXPECT_EQ(std::string(list.get().user_comments[i]), before[i]);
}

TEST(CommentSlots, ValueLengthComesFromTheListNotATerminator) {
  std::string entry = "TITLE=abcdef";
  char* pointer = entry.data();
  int length = 9;  // "TITLE=abc"
  vorbis_comment list{};
  list.user_comments = &pointer;
  list.comment_lengths = &length;
  list.comments = 1;
  EXPECT_EQ(Slot(ReadCommentSlots(list), CommentSlot::Title), u"abc");
}

TEST(CommentSlots, EmptyListGivesEmptySlots) {
  vorbis_comment list{};
  const CommentSlots slots = ReadCommentSlots(list);
  for (size_t s = 0; s < size_t(CommentSlot::Count); ++s) EXPECT_EQ(slots.text[s][0], 0);
}

struct TrackCase {
  const char* value;
  int32_t track;
};

void PrintTo(const TrackCase& c, std::ostream* os) { *os << '"' << c.value << '"'; }

class TrackNumberTest : public ::testing::TestWithParam<TrackCase> {};

TEST_P(TrackNumberTest, TrackIsTheDecimalValue) {
  CommentList list({std::string("TRACKNUMBER=") + GetParam().value});
  TagInfo tags{};
  tags.Track = -99;
  CommentSlotsToTags(ReadCommentSlots(list.get()), &tags);
  EXPECT_EQ(tags.Track, GetParam().track);
}

INSTANTIATE_TEST_SUITE_P(Values, TrackNumberTest,
                         ::testing::Values(TrackCase{"7", 7}, TrackCase{"07/12", 7}, TrackCase{" 3", 3},
                                           TrackCase{"-2", -2}, TrackCase{"abc", 0},
                                           TrackCase{"99999999999", 2147483647}));

TEST(CommentSlotsToTags, FillsTheFiveTextsLeavesEmptyOnesAndYear) {
  CommentList list({"TITLE=T", "ARTIST=A", "GENRE=G", "DATE=1999"});
  TagInfo tags{};
  std::u16string caller = u"kept";
  std::copy(caller.begin(), caller.end(), tags.Album);
  std::copy(caller.begin(), caller.end(), tags.Comment);
  tags.Year = 1234;
  tags.Track = 5;
  CommentSlotsToTags(ReadCommentSlots(list.get()), &tags);
  EXPECT_EQ(std::u16string(tags.Title), u"T");
  EXPECT_EQ(std::u16string(tags.Artist), u"A");
  EXPECT_EQ(std::u16string(tags.Genre), u"G");
  EXPECT_EQ(std::u16string(tags.Album), u"kept");
  EXPECT_EQ(std::u16string(tags.Comment), u"kept");
  EXPECT_EQ(tags.Year, 1234) << "the year is not written";
  EXPECT_EQ(tags.Track, 5) << "no TRACKNUMBER: the track stays";
}

}  // namespace
}  // namespace qv
