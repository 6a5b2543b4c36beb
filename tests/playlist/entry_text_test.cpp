// The display text of entries: tags, titles, file names and stream titles.
#include <gtest/gtest.h>

#include <string>

#include "platform/text/utf16.h"
#include "playlist/entry_text.h"
#include "tests/playlist/playlist_test_support.h"

namespace qv::test {
namespace {

TEST(EntryText, TagTextIsBounded) {
  TagInfo tags{};
  EXPECT_EQ(TagDisplayText(tags), u"");
  SetTag(tags.Artist, u"Artist");
  EXPECT_EQ(TagDisplayText(tags), u"") << "no title, no tag text";
  SetTag(tags.Title, u"Title");
  EXPECT_EQ(TagDisplayText(tags), u"Artist - Title");
  SetTag(tags.Artist, u"");
  EXPECT_EQ(TagDisplayText(tags), u"Title");

  // Full tag fields, one of them without its terminator.
  for (char16_t& c : tags.Artist) c = u'a';
  SetTag(tags.Title, std::u16string(254, u't'));
  std::u16string text = TagDisplayText(tags);
  ASSERT_EQ(text.size(), kPathChars - 1);
  EXPECT_EQ(text.substr(0, 254), std::u16string(254, u'a'));
  EXPECT_EQ(text.substr(254, 3), u" - ");
}

TEST(EntryText, FileEntries) {
  struct Case {
    const char* name;
    const char16_t* artist;
    const char16_t* tagTitle;
    const char16_t* title;
    const char16_t* path;
    const char16_t* text;
    const char16_t* storedTitle;
  };
  const Case cases[] = {
      {"artist and title", u"Band", u"Song", u"", u"C:\\Music\\f.mp3", u"Band - Song", u""},
      {"tag title only", u"", u"Song", u"Given", u"C:\\Music\\f.mp3", u"Song", u"Given"},
      {"given title", u"Band", u"", u"Given", u"C:\\Music\\f.mp3", u"Given", u"Given"},
      {"file name", u"", u"", u"", u"C:\\Music\\My.Song.mp3", u"My.Song", u"My.Song"},
      {"no extension", u"", u"", u"", u"C:\\Music\\plain", u"plain", u"plain"},
  };
  for (const Case& c : cases) {
    PlaylistRig rig;
    rig.files.AddFile(c.path);
    ASSERT_EQ(rig.playlist->AddEntry(c.path, c.title), 1) << c.name;
    PlaylistEntry* e = rig.playlist->GetEntry(0);
    SetTag(e->Tags.Artist, c.artist);
    SetTag(e->Tags.Title, c.tagTitle);
    EXPECT_EQ(rig.EntryText(0), c.text) << c.name;
    EXPECT_EQ(std::u16string(e->Title), c.storedTitle) << c.name;
  }
  PlaylistRig rig;
  EXPECT_EQ(rig.EntryText(0), u"<none>");
}

TEST(EntryText, StreamEntries) {
  struct Case {
    const char* name;
    bool current;
    int streamState;
    const char16_t* streamTitle;
    const char16_t* given;
    const char16_t* text;
    const char16_t* storedTitle;
  };
  const Case cases[] = {
      {"current stream with a title", true, 4, u"Now Playing", u"Radio", u"Now Playing", u"Now Playing"},
      {"empty stream title keeps the stored one", true, 4, u"", u"Radio", u"Radio", u"Radio"},
      {"connecting", true, 2, u"Now Playing", u"Radio", u"Radio", u"Radio"},
      {"not current", false, 4, u"Now Playing", u"Radio", u"Radio", u"Radio"},
      {"no title at all", false, 4, u"", u"", u"http://radio/live", u""},
  };
  for (const Case& c : cases) {
    PlaylistRig rig;
    rig.AddSongs({u"a.mp3"});
    rig.playlist->AddEntry(rig.SongPath(u"a.mp3"));
    rig.playlist->AddEntry(u"http://radio/live", c.given);
    if (c.current) rig.playlist->SelectEntry(1);
    rig.engine.streamState = c.streamState;
    rig.engine.streamTitle = c.streamTitle;
    EXPECT_EQ(rig.EntryText(1), c.text) << c.name;
    EXPECT_EQ(std::u16string(rig.playlist->GetEntry(1)->Title), c.storedTitle) << c.name;
  }
}

TEST(EntryText, TimeText) {
  PlaylistRig rig;
  rig.AddSongs({u"a.mp3"});
  rig.info.AddMedia(rig.SongPath(u"a.mp3"), 187000);
  rig.playlist->AddEntry(rig.SongPath(u"a.mp3"));
  char16_t text[kTimeTextChars];
  ASSERT_EQ(rig.playlist->GetEntryTimeText(0, text), 1);
  EXPECT_EQ(std::u16string(text), u"03:07");
  EXPECT_EQ(rig.playlist->GetEntryTimeText(1, text), 0);
}

}  // namespace
}  // namespace qv::test
