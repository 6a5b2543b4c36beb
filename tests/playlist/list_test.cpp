// Removing, moving and sorting entries; the current index follows its entry.
#include <gtest/gtest.h>

#include <string>

#include "platform/text/utf16.h"
#include "tests/playlist/playlist_test_support.h"

namespace qv::test {
namespace {

void Fill(PlaylistRig& rig, const std::vector<std::u16string>& names, int current) {
  rig.AddSongs(names);
  for (const auto& n : names) rig.playlist->AddEntry(rig.SongPath(n));
  rig.playlist->SelectEntry(current);
  rig.engine.ClearCalls();
}

TEST(RemoveEntry, KeepsTheCurrentIndexRight) {
  struct Case {
    const char* name;
    int current;
    int removed;
    int result;
    int expectedCurrent;
    const char* opened;  // what the engine opened afterwards, if anything
  };
  const Case cases[] = {
      {"after the current", 1, 3, 1, 1, nullptr},
      {"before the current", 2, 0, 1, 1, nullptr},
      {"the current: the next takes its place", 1, 1, 1, 1, "OpenFile C:\\Music\\c.mp3"},
      {"the current last: the new last", 3, 3, 1, 2, "OpenFile C:\\Music\\c.mp3"},
      {"no such entry", 1, 4, 0, 1, nullptr},
      {"negative", 1, -1, 0, 1, nullptr},
  };
  for (const Case& c : cases) {
    PlaylistRig rig;
    Fill(rig, {u"a.mp3", u"b.mp3", u"c.mp3", u"d.mp3"}, c.current);
    EXPECT_EQ(rig.playlist->RemoveEntry(c.removed), c.result) << c.name;
    EXPECT_EQ(rig.playlist->CurrentIndex(), c.expectedCurrent) << c.name;
    auto opens = rig.engine.CallsStartingWith("OpenFile");
    if (c.opened) {
      EXPECT_EQ(opens, std::vector<std::string>{c.opened}) << c.name;
    } else {
      EXPECT_TRUE(opens.empty()) << c.name;
    }
    EXPECT_EQ(rig.engine.CountCalls("Play"), 0) << c.name << ": opened, never played";
  }
}

TEST(RemoveEntry, TheLastEntryClosesEverything) {
  PlaylistRig rig;
  Fill(rig, {u"a.mp3"}, 0);
  EXPECT_EQ(rig.playlist->RemoveEntry(0), 1);
  EXPECT_EQ(rig.playlist->CurrentIndex(), -1);
  EXPECT_EQ(rig.engine.CountCalls("CloseFile"), 1);
  EXPECT_EQ(rig.info.CountCalls("CloseFile"), 1);
  EXPECT_EQ(rig.playlist->GetEntry(0), nullptr);
}

TEST(MoveEntries, SwapsAndTheCurrentEntryFollows) {
  struct Case {
    const char* name;
    std::function<int(PlaylistController&)> move;
    int result;
    std::vector<std::u16string> order;
    int current;  // entry "b" is current at the start
  };
  const Case cases[] = {
      {"up", [](PlaylistController& p) { return p.MoveEntryUp(1); }, 1, {u"b", u"a", u"c", u"d"}, 0},
      {"up at the top", [](PlaylistController& p) { return p.MoveEntryUp(0); }, 0, {u"a", u"b", u"c", u"d"}, 1},
      {"down", [](PlaylistController& p) { return p.MoveEntryDown(1); }, 1, {u"a", u"c", u"b", u"d"}, 2},
      {"down at the bottom", [](PlaylistController& p) { return p.MoveEntryDown(3); }, 0, {u"a", u"b", u"c", u"d"},
       1},
      {"other entry across the current", [](PlaylistController& p) { return p.MoveEntryUp(2); }, 1,
       {u"a", u"c", u"b", u"d"}, 2},
      {"up to", [](PlaylistController& p) { return p.MoveEntryUpTo(3, 0); }, 1, {u"d", u"a", u"b", u"c"}, 2},
      {"down to", [](PlaylistController& p) { return p.MoveEntryDownTo(0, 3); }, 1, {u"b", u"c", u"d", u"a"}, 0},
      {"down to past the end", [](PlaylistController& p) { return p.MoveEntryDownTo(2, 9); }, 0,
       {u"a", u"b", u"d", u"c"}, 1},
      {"up to from the top", [](PlaylistController& p) { return p.MoveEntryUpTo(0, -3); }, 0,
       {u"a", u"b", u"c", u"d"}, 1},
  };
  for (const Case& c : cases) {
    PlaylistRig rig;
    Fill(rig, {u"a", u"b", u"c", u"d"}, 1);
    EXPECT_EQ(c.move(*rig.playlist), c.result) << c.name;
    std::vector<std::u16string> order;
    for (const auto& p : rig.Paths()) order.push_back(p.substr(p.rfind(u'\\') + 1));
    EXPECT_EQ(order, c.order) << c.name;
    EXPECT_EQ(rig.playlist->CurrentIndex(), c.current) << c.name;
  }
}

TEST(SortPlaylist, ByNameOrPathIgnoringCaseKeepingTheCurrentEntry) {
  PlaylistRig rig;
  for (const char16_t* p : {u"C:\\B\\zulu.mp3", u"C:\\a\\Yankee.mp3", u"C:\\c\\alpha.mp3"}) rig.files.AddFile(p);
  for (const char16_t* p : {u"C:\\B\\zulu.mp3", u"http://z/", u"C:\\a\\Yankee.mp3", u"C:\\c\\alpha.mp3"}) {
    rig.playlist->AddEntry(p);
  }
  rig.playlist->SelectEntry(2);  // Yankee
  rig.playlist->SortPlaylist(0);
  EXPECT_EQ(rig.Paths(), (std::vector<std::u16string>{u"http://z/", u"C:\\c\\alpha.mp3", u"C:\\a\\Yankee.mp3",
                                                      u"C:\\B\\zulu.mp3"}))
      << "an address has no file name and sorts first";
  EXPECT_EQ(rig.playlist->CurrentIndex(), 2);
  rig.playlist->SortPlaylist(1);
  EXPECT_EQ(rig.Paths(), (std::vector<std::u16string>{u"C:\\a\\Yankee.mp3", u"C:\\B\\zulu.mp3",
                                                      u"C:\\c\\alpha.mp3", u"http://z/"}));
  EXPECT_EQ(rig.playlist->CurrentIndex(), 0);
}

TEST(ClearPlaylist, ClosesAndEmpties) {
  PlaylistRig rig;
  Fill(rig, {u"a.mp3", u"b.mp3"}, 1);
  rig.playlist->PlayEntry(-1);
  rig.playlist->ClearPlaylist();
  EXPECT_EQ(rig.playlist->GetEntryCount(), 0);
  EXPECT_EQ(rig.playlist->CurrentIndex(), -1);
  EXPECT_TRUE(rig.engine.open.empty());
  EXPECT_EQ(rig.engine.status, 0);
}

}  // namespace
}  // namespace qv::test
