// Adding entries: the add rules, the entry limit, folder scans, the open
// dialog's choice and dropped items.
#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/text/utf16.h"
#include "tests/playlist/playlist_test_support.h"

namespace qv::test {
namespace {

TEST(AddEntry, FollowsTheAddRules) {
  struct Case {
    const char* name;
    std::function<void(PlaylistRig&)> setup;
    std::u16string path;
    int added;
    int count;
  };
  const std::u16string long259 = u"C:\\Music\\" + std::u16string(246, u'n') + u".mp3";
  const std::u16string long260 = u"C:\\Music\\" + std::u16string(247, u'n') + u".mp3";
  const Case cases[] = {
      {"existing file", nullptr, u"C:\\Music\\a.mp3", 1, 2},
      {"duplicate", nullptr, u"C:\\Music\\b.mp3", 0, 1},
      {"duplicate in other letter case", nullptr, u"c:\\MUSIC\\B.MP3", 0, 1},
      {"duplicate allowed", [](PlaylistRig& r) { r.options.AddExisting = 1; }, u"C:\\MUSIC\\b.mp3", 1, 2},
      {"missing file", nullptr, u"C:\\Music\\missing.mp3", 0, 1},
      {"folder", nullptr, u"C:\\Music", 0, 1},
      {"stream address", nullptr, u"http://radio.example/live", 1, 2},
      {"other extension that exists", [](PlaylistRig& r) { r.files.AddFile(u"C:\\Music\\notes.txt"); },
       u"C:\\Music\\notes.txt", 1, 2},
      {"path of 259 characters", [&](PlaylistRig& r) { r.files.AddFile(long259); }, long259, 1, 2},
      {"path of 260 characters", [&](PlaylistRig& r) { r.files.AddFile(long260); }, long260, 0, 1},
      {"address of 260 characters", nullptr, u"http://" + std::u16string(253, u'u'), 0, 1},
      {"empty path", nullptr, u"", 0, 1},
  };
  for (const Case& c : cases) {
    PlaylistRig rig;
    rig.AddSongs({u"a.mp3", u"b.mp3"});
    ASSERT_EQ(rig.playlist->AddEntry(rig.SongPath(u"b.mp3")), 1) << c.name;
    if (c.setup) c.setup(rig);
    EXPECT_EQ(rig.playlist->AddEntry(c.path), c.added) << c.name;
    EXPECT_EQ(rig.playlist->GetEntryCount(), c.count) << c.name;
  }
}

TEST(AddEntry, RefusesEverythingWithoutAPlaybackEngine) {
  PlaylistRig rig(false);
  rig.AddSongs({u"a.mp3"});
  EXPECT_EQ(rig.playlist->AddEntry(rig.SongPath(u"a.mp3")), 0);
  EXPECT_EQ(rig.playlist->GetEntryCount(), 0);
}

TEST(AddEntry, HoldsAtMostAThousandEntries) {
  PlaylistRig rig;
  for (int i = 0; i <= 1000; ++i) rig.files.AddFile(u"C:\\Music\\" + FromUtf8(std::to_string(i)) + u".mp3");
  int added = 0;
  for (int i = 0; i <= 1000; ++i) added += rig.playlist->AddEntry(u"C:\\Music\\" + FromUtf8(std::to_string(i)) + u".mp3");
  EXPECT_EQ(added, 1000);
  EXPECT_EQ(rig.playlist->GetEntryCount(), 1000);
  EXPECT_EQ(std::u16string(rig.playlist->GetEntry(999)->Path), u"C:\\Music\\999.mp3");
}

TEST(AddEntry, TitleOrTagsAndTheInformationEngine) {
  PlaylistRig rig;
  rig.AddSongs({u"a.mp3", u"b.mp3"});
  SetTag(rig.engine.media[rig.SongPath(u"b.mp3")].fileTags.Title, u"Tagged");
  rig.info.media[rig.SongPath(u"b.mp3")].track.DurationMs = 61000;

  ASSERT_EQ(rig.playlist->AddEntry(rig.SongPath(u"a.mp3"), u"Given title"), 1);
  ASSERT_EQ(rig.playlist->AddEntry(rig.SongPath(u"b.mp3")), 1);
  EXPECT_EQ(rig.engine.CountCalls("GetFileTags"), 1) << "tags are read only without a title";
  EXPECT_EQ(std::u16string(rig.playlist->GetEntry(0)->Title), u"Given title");
  EXPECT_EQ(std::u16string(rig.playlist->GetEntry(1)->Tags.Title), u"Tagged");
  EXPECT_EQ(rig.playlist->GetEntry(1)->Track.DurationMs, 61000) << "the information engine gave the length";
  EXPECT_EQ(rig.info.CallsStartingWith("OpenFile").size(), 2u);

  // An entry the information engine cannot open is still added, with no length.
  rig.files.AddFile(u"C:\\Music\\broken.mp3");
  ASSERT_EQ(rig.playlist->AddEntry(u"C:\\Music\\broken.mp3"), 1);
  EXPECT_EQ(rig.playlist->GetEntry(2)->Track.DurationMs, 0);

  ASSERT_EQ(rig.playlist->AddEntry(u"mms://media/stream"), 1);
  EXPECT_EQ(rig.info.CountCalls("OpenStream mms://media/stream"), 1);
}

TEST(AddEntry, TheFirstEntryBecomesCurrentAndIsOpened) {
  PlaylistRig rig;
  rig.AddSongs({u"a.mp3", u"b.mp3"});
  rig.playlist->AddEntry(rig.SongPath(u"a.mp3"));
  rig.playlist->AddEntry(rig.SongPath(u"b.mp3"));
  EXPECT_EQ(rig.playlist->CurrentIndex(), 0);
  EXPECT_EQ(rig.engine.CallsStartingWith("OpenFile"), std::vector<std::string>{"OpenFile C:\\Music\\a.mp3"});
  EXPECT_EQ(rig.engine.CountCalls("Play"), 0) << "opened, not played";
}

class ScanFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    // Made in an order that is not sorted; the scan sorts each folder.
    for (const char16_t* f : {u"C:\\Tree\\zeta.MP3", u"C:\\Tree\\Alpha.ogg", u"C:\\Tree\\notes.txt",
                              u"C:\\Tree\\beta.Flac", u"C:\\Tree\\gamma.wv", u"C:\\Tree\\cover.jpg"})
      rig.files.AddFile(f);
    rig.files.AddFolder(u"C:\\Tree\\sub2");
    rig.files.AddFile(u"C:\\Tree\\sub2\\b.wav");
    rig.files.AddFile(u"C:\\Tree\\sub2\\A.wav");
    rig.files.AddFolder(u"C:\\Tree\\sub1");
    rig.files.AddFile(u"C:\\Tree\\sub1\\deeper\\x.mp2");
    rig.files.AddFolder(u"C:\\Tree\\loop", true);  // a junction
    rig.files.AddFile(u"C:\\Tree\\loop\\never.mp3");
    rig.files.AddFile(u"C:\\Tree\\" + std::u16string(250, u'l') + u".mp3");  // does not fit when joined
    rig.files.AddFolder(u"C:\\Tree\\folder.mp3");                          // a folder with an audio name
  }
  PlaylistRig rig;
};

TEST_F(ScanFolderTest, AddsTheFolderSortedWithoutSubfolders) {
  rig.playlist->ScanFolder(u"C:\\Tree");
  EXPECT_EQ(rig.Paths(), (std::vector<std::u16string>{u"C:\\Tree\\Alpha.ogg", u"C:\\Tree\\beta.Flac",
                                                      u"C:\\Tree\\zeta.MP3"}));
}

TEST_F(ScanFolderTest, VisitsEverySubfolderOnceButNoLinks) {
  rig.options.SearchSubFolders = 1;
  rig.engine.plugins = {{u"wv", u"WavPack"}, {u"FLAC", u""}};
  rig.playlist->ScanFolder(u"C:\\Tree");
  EXPECT_EQ(rig.Paths(),
            (std::vector<std::u16string>{u"C:\\Tree\\Alpha.ogg", u"C:\\Tree\\beta.Flac", u"C:\\Tree\\gamma.wv",
                                         u"C:\\Tree\\zeta.MP3", u"C:\\Tree\\sub2\\A.wav", u"C:\\Tree\\sub2\\b.wav",
                                         u"C:\\Tree\\sub1\\deeper\\x.mp2"}));
  // Tree, sub2, sub1, deeper and folder.mp3: the link, "." and ".." are never listed.
  EXPECT_EQ(rig.files.listCalls, 5);
  EXPECT_EQ(rig.host.Count("wait on"), 1) << "one wait cursor for the whole scan";
  EXPECT_EQ(rig.host.Count("wait off"), 1);
}

TEST_F(ScanFolderTest, AMissingFolderAddsNothing) {
  rig.playlist->ScanFolder(u"C:\\Nowhere");
  EXPECT_EQ(rig.playlist->GetEntryCount(), 0);
}

TEST(OpenChosenFiles, AddsAudioFilesAndPlaylistsFromAMultipleChoice) {
  PlaylistRig rig;
  rig.AddSongs({u"one.mp3", u"two.mp3"});
  rig.files.AddFile(u"C:\\Music\\Mixed.Mp3");
  rig.files.AddFile(u"C:\\Music\\readme.txt");
  rig.options.LastDir[0] = 0;
  EXPECT_EQ(rig.playlist->OpenChosenFiles(1, u"C:\\Music", {u"two.mp3", u"Mixed.Mp3", u"readme.txt", u"one.mp3"}),
            1);
  EXPECT_EQ(rig.Paths(), (std::vector<std::u16string>{u"C:\\Music\\two.mp3", u"C:\\Music\\Mixed.mp3",
                                                      u"C:\\Music\\one.mp3"}))
      << "the extension is lower-cased so the engine can open it";
  EXPECT_EQ(std::u16string(rig.options.LastDir), u"C:\\Music");
}

TEST(OpenChosenFiles, OneFile) {
  struct Case {
    const char* name;
    int add;
    std::u16string chosen;
    int result;
    std::vector<std::u16string> paths;
    std::u16string lastDir;
  };
  const Case cases[] = {
      {"audio file added", 1, u"C:\\Music\\two.mp3", 1, {u"C:\\Music\\one.mp3", u"C:\\Music\\two.mp3"},
       u"C:\\Music"},
      {"audio file opened", 0, u"C:\\Music\\two.mp3", 1, {u"C:\\Music\\two.mp3"}, u"C:\\Music"},
      {"text file", 1, u"C:\\Music\\readme.txt", 0, {u"C:\\Music\\one.mp3"}, u"C:\\Old"},
      {"text file when opening empties the playlist", 0, u"C:\\Music\\readme.txt", 0, {}, u"C:\\Old"},
      {"plug-in extension is not enough", 1, u"C:\\Music\\x.wv", 0, {u"C:\\Music\\one.mp3"}, u"C:\\Old"},
      {"missing audio file", 1, u"C:\\Music\\gone.mp3", 1, {u"C:\\Music\\one.mp3"}, u"C:\\Music"},
  };
  for (const Case& c : cases) {
    PlaylistRig rig;
    rig.AddSongs({u"one.mp3", u"two.mp3"});
    rig.files.AddFile(u"C:\\Music\\readme.txt");
    rig.files.AddFile(u"C:\\Music\\x.wv");
    rig.engine.plugins = {{u"wv", u"WavPack"}};
    U16CopyTruncated(rig.options.LastDir, kOptionTextChars, u"C:\\Old");
    rig.playlist->AddEntry(u"C:\\Music\\one.mp3");
    EXPECT_EQ(rig.playlist->OpenChosenFiles(c.add, c.chosen, {}), c.result) << c.name;
    EXPECT_EQ(rig.Paths(), c.paths) << c.name;
    EXPECT_EQ(std::u16string(rig.options.LastDir), c.lastDir) << c.name;
  }
}

TEST(OpenChosenFiles, OneDialogAtATime) {
  PlaylistRig rig;
  EXPECT_TRUE(rig.playlist->BeginFileDialog());
  EXPECT_FALSE(rig.playlist->BeginFileDialog());
  rig.playlist->EndFileDialog();
  EXPECT_TRUE(rig.playlist->BeginFileDialog());
}

TEST(DropItems, PlaysTheListedEntryOnlyWhenItWasTheLastDropped) {
  struct Case {
    const char* name;
    std::vector<std::u16string> dropped;  // c.mp3 is listed at index 1
    std::u16string played;
  };
  const Case cases[] = {
      {"last in sorted order already listed", {u"C:\\Music\\c.mp3", u"C:\\Music\\a.mp3", u"C:\\Music\\b.mp3"},
       u"C:\\Music\\c.mp3"},
      {"a listed item before a new one", {u"C:\\Music\\d.mp3", u"C:\\Music\\C.MP3"}, u"C:\\Music\\d.mp3"},
      {"all new", {u"C:\\Music\\b.mp3", u"C:\\Music\\a.mp3"}, u"C:\\Music\\b.mp3"},
      {"nothing readable", {u"C:\\Music\\gone.mp3"}, u"C:\\Music\\c.mp3"},
  };
  for (const Case& c : cases) {
    PlaylistRig rig;
    rig.AddSongs({u"x.mp3", u"c.mp3", u"a.mp3", u"b.mp3", u"d.mp3"});
    rig.playlist->AddEntry(u"C:\\Music\\x.mp3");
    rig.playlist->AddEntry(u"C:\\Music\\c.mp3");
    rig.engine.ClearCalls();
    rig.playlist->DropItems(c.dropped);
    ASSERT_EQ(rig.engine.CountCalls("Play"), 1) << c.name;
    EXPECT_EQ(rig.engine.open, c.played) << c.name;
  }
}

TEST(DropItems, FoldersPlaylistsAndOtherFiles) {
  PlaylistRig rig;
  rig.AddSongs({u"a.mp3"});
  rig.files.AddFile(u"C:\\Drop\\song.ogg");
  rig.engine.AddMedia(u"C:\\Drop\\song.ogg");
  rig.files.AddFile(u"C:\\Drop\\picture.png");
  rig.files.AddFile(u"C:\\Lists\\list.m3u", std::string("C:\\Music\\a.mp3\n"));
  // The playlist file sorts last and replaces what the folder added.
  rig.playlist->DropItems({u"C:\\Drop", u"C:\\Drop\\picture.png", u"C:\\Lists\\list.m3u"});
  EXPECT_EQ(rig.Paths(), (std::vector<std::u16string>{u"C:\\Music\\a.mp3"}));
  EXPECT_EQ(rig.engine.open, u"C:\\Music\\a.mp3");
  EXPECT_EQ(rig.engine.status, 1);
}

}  // namespace
}  // namespace qv::test
