// Playlist files through the playlist: writing M3U byte for byte, reading
// M3U in every encoding and PLS, saving safely, the default playlists at
// start-up and exit.
#include <gtest/gtest.h>

#include <string>

#include "platform/text/utf16.h"
#include "tests/playlist/playlist_test_support.h"

namespace qv::test {
namespace {

std::string Text(const std::vector<uint8_t>& bytes) { return std::string(bytes.begin(), bytes.end()); }

class PlaylistFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.files.AddFolder(u"C:\\Lists\\sub");
    for (const char16_t* p : {u"C:\\Lists\\song.mp3", u"C:\\Lists\\sub\\deep.ogg", u"D:\\Other\\x.mp3",
                              u"C:\\lists\\case.mp3"}) {
      rig.files.AddFile(p);
      rig.info.AddMedia(p, 0);
    }
    rig.info.AddMedia(u"C:\\Lists\\song.mp3", 183999);
    rig.info.AddMedia(u"C:\\Lists\\sub\\deep.ogg", 5000);
  }

  void AddSamples() {
    rig.playlist->AddEntry(u"C:\\Lists\\song.mp3", u"Artist - Song");
    rig.playlist->AddEntry(u"http://radio/live", u"Radio");
    rig.playlist->AddEntry(u"C:\\Lists\\sub\\deep.ogg");
    rig.playlist->AddEntry(u"D:\\Other\\x.mp3", u"Other drive");
    rig.playlist->AddEntry(u"C:\\lists\\case.mp3", u"Case differs");
    ASSERT_EQ(rig.playlist->GetEntryCount(), 5);
  }

  PlaylistRig rig;
};

TEST_F(PlaylistFiles, WritesUtf16WithMarkCrLfAndRelativeLocations) {
  AddSamples();
  ASSERT_EQ(rig.playlist->SavePlaylistFile(u"C:\\Lists\\mine.m3u"), 1);
  std::string expected = "\xFF\xFE" + Utf16Le(u"#EXTM3U\r\n"
                                              u"#EXTINF:183,Artist - Song\r\nsong.mp3\r\n"
                                              u"#EXTINF:-1,Radio\r\nhttp://radio/live\r\n"
                                              u"#EXTINF:5,deep\r\nsub\\deep.ogg\r\n"
                                              u"#EXTINF:-1,Other drive\r\nD:\\Other\\x.mp3\r\n"
                                              u"#EXTINF:-1,Case differs\r\nC:\\lists\\case.mp3\r\n");
  EXPECT_EQ(Text(rig.files.Bytes(u"C:\\Lists\\mine.m3u")), expected);
}

TEST_F(PlaylistFiles, ReadsBackWhatItWrote) {
  AddSamples();
  std::vector<std::u16string> texts;
  for (int i = 0; i < 5; ++i) texts.push_back(rig.EntryText(i));
  std::vector<std::u16string> paths = rig.Paths();
  ASSERT_EQ(rig.playlist->SavePlaylistFile(u"C:\\Lists\\mine.m3u"), 1);
  rig.playlist->ClearPlaylist();
  ASSERT_EQ(rig.playlist->LoadPlaylistFile(u"C:\\Lists\\mine.m3u"), 1);
  EXPECT_EQ(rig.Paths(), paths);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(std::u16string(rig.playlist->GetEntry(i)->Title), texts[static_cast<size_t>(i)]) << i;
  }
}

TEST_F(PlaylistFiles, ReadsM3uInEveryEncoding) {
  const std::u16string body = u"#EXTM3U\r\n#EXTINF:183,Caf\u00e9\r\nsong.mp3\r\n\r\nsub\\deep.ogg   \r\n";
  struct Case {
    const char* name;
    std::string bytes;
  };
  const Case cases[] = {
      {"UTF-16LE with mark", "\xFF\xFE" + Utf16Le(body)},
      {"UTF-16LE without mark", Utf16Le(body)},
      {"UTF-8 with mark", "\xEF\xBB\xBF" + ToUtf8(body)},
      {"UTF-8 without mark (.m3u8)", ToUtf8(body)},
  };
  for (const Case& c : cases) {
    rig.files.AddFile(u"C:\\Lists\\hand.m3u8", c.bytes);
    ASSERT_EQ(rig.playlist->LoadPlaylistFile(u"C:\\Lists\\hand.m3u8"), 1) << c.name;
    ASSERT_EQ(rig.Paths(), (std::vector<std::u16string>{u"C:\\Lists\\song.mp3", u"C:\\Lists\\sub\\deep.ogg"}))
        << c.name;
    EXPECT_EQ(std::u16string(rig.playlist->GetEntry(0)->Title), u"Caf\u00e9") << c.name;
  }
  // Plain 8-bit text, as most hand-written playlists are.
  rig.files.AddFile(u"C:\\Lists\\ascii.M3U", std::string("song.mp3\nD:\\Other\\x.mp3\n"));
  ASSERT_EQ(rig.playlist->LoadPlaylistFile(u"C:\\Lists\\ascii.M3U"), 1);
  EXPECT_EQ(rig.Paths(), (std::vector<std::u16string>{u"C:\\Lists\\song.mp3", u"D:\\Other\\x.mp3"}));
}

TEST_F(PlaylistFiles, ReadsPlsWithTitles) {
  rig.files.AddFile(u"C:\\Lists\\radio.pls",
                    std::string("[playlist]\r\nNumberOfEntries=3\r\nFile1=song.mp3\r\nTitle1=First\r\n"
                                "File2=http://radio/live\r\nTitle2=Radio One\r\nFile3=missing.mp3\r\n"
                                "File4=D:\\Other\\x.mp3\r\n"));
  ASSERT_EQ(rig.playlist->LoadPlaylistFile(u"C:\\Lists\\radio.pls"), 1);
  EXPECT_EQ(rig.Paths(), (std::vector<std::u16string>{u"C:\\Lists\\song.mp3", u"http://radio/live",
                                                      u"D:\\Other\\x.mp3"}));
  EXPECT_EQ(std::u16string(rig.playlist->GetEntry(0)->Title), u"First");
  EXPECT_EQ(std::u16string(rig.playlist->GetEntry(1)->Title), u"Radio One");
}

TEST_F(PlaylistFiles, LoadsAtMostAThousandOfMoreValidLocations) {
  std::string m3u = "#EXTM3U\n";
  for (int i = 0; i < 1001; ++i) {
    std::string name = "t" + std::to_string(i) + ".mp3";
    rig.files.AddFile(u"C:\\Lists\\" + FromUtf8(name));
    m3u += "#EXTINF:1,Track " + std::to_string(i) + "\n" + name + "\n";
  }
  rig.files.AddFile(u"C:\\Lists\\big.m3u", m3u);
  ASSERT_EQ(rig.playlist->LoadPlaylistFile(u"C:\\Lists\\big.m3u"), 1);
  EXPECT_EQ(rig.playlist->GetEntryCount(), 1000);
  EXPECT_EQ(std::u16string(rig.playlist->GetEntry(999)->Path), u"C:\\Lists\\t999.mp3");
}

TEST_F(PlaylistFiles, WhatLoadingDoesWithOtherNames) {
  struct Case {
    const char* name;
    std::u16string path;
    int result;
    bool cleared;
  };
  const Case cases[] = {
      {"no dot: nothing happens", u"C:\\Lists\\noext", 0, false},
      {"text file: emptied, nothing added", u"C:\\Lists\\notes.txt", 0, true},
      {"missing playlist: emptied", u"C:\\Lists\\gone.m3u", 0, true},
      {"missing PLS: emptied", u"C:\\Lists\\gone.pls", 0, true},
  };
  for (const Case& c : cases) {
    rig.files.AddFile(u"C:\\Lists\\notes.txt", std::string("song.mp3\n"));
    rig.playlist->ClearPlaylist();
    rig.playlist->AddEntry(u"C:\\Lists\\song.mp3");
    EXPECT_EQ(rig.playlist->LoadPlaylistFile(c.path), c.result) << c.name;
    EXPECT_EQ(rig.playlist->GetEntryCount(), c.cleared ? 0 : 1) << c.name;
  }
}

TEST_F(PlaylistFiles, AFailedSaveKeepsTheOldFile) {
  AddSamples();
  rig.files.AddFile(u"C:\\Lists\\mine.m3u", std::string("old contents"));
  rig.files.failWrites = true;
  EXPECT_EQ(rig.playlist->SavePlaylistFile(u"C:\\Lists\\mine.m3u"), 0);
  EXPECT_EQ(Text(rig.files.Bytes(u"C:\\Lists\\mine.m3u")), "old contents");
  EXPECT_EQ(rig.playlist->SavePlaylistFile(u"C:\\NoFolder\\mine.m3u"), 0) << "a folder that does not exist";
  rig.files.failWrites = false;
  EXPECT_EQ(rig.playlist->SavePlaylistFile(u"C:\\Lists\\mine.m3u"), 1);
  EXPECT_NE(Text(rig.files.Bytes(u"C:\\Lists\\mine.m3u")), "old contents");
}

TEST_F(PlaylistFiles, SavingAnEmptyPlaylistRemovesTheFile) {
  rig.files.AddFile(u"C:\\Lists\\mine.m3u", std::string("old"));
  EXPECT_EQ(rig.playlist->SavePlaylistFile(u"C:\\Lists\\mine.m3u"), 1);
  EXPECT_FALSE(rig.files.Exists(u"C:\\Lists\\mine.m3u"));
  EXPECT_EQ(rig.playlist->SavePlaylistFile(u"C:\\Lists\\mine.m3u"), 1) << "no file is no error";
  EXPECT_EQ(rig.playlist->SavePlaylistFile(u"C:\\Lists"), 0) << "a folder cannot be removed";
}

TEST(DefaultPlaylists, PathsBesideTheProgram) {
  PlaylistRig rig;
  EXPECT_EQ(rig.playlist->GetDefaultPlaylistPath(), u"C:\\Program Files\\Quovira\\QuoviraPlayer.m3u");
  EXPECT_EQ(rig.playlist->GetRadioPlaylistPath(), u"C:\\Program Files\\Quovira\\defaultradio.m3u");
}

class StartUp : public ::testing::Test {
 protected:
  void SetUp() override {
    rig.AddSongs({u"a.mp3", u"b.mp3", u"c.mp3"});
    rig.files.AddFile(u"C:\\Program Files\\Quovira\\QuoviraPlayer.m3u",
                      std::string("C:\\Music\\a.mp3\nC:\\Music\\b.mp3\nC:\\Music\\c.mp3\n"));
  }
  PlaylistRig rig;
};

TEST_F(StartUp, LoadingTheDefaultPlaylistOpensNoEntryOnTheWay) {
  rig.playlist->LoadDefaultPlaylistAtStart();
  EXPECT_EQ(rig.playlist->GetEntryCount(), 3);
  EXPECT_EQ(rig.engine.CallsStartingWith("OpenFile"), std::vector<std::string>{"OpenFile C:\\Music\\a.mp3"})
      << "entry 0 is opened once, after the load";
  EXPECT_EQ(rig.playlist->CurrentIndex(), 0);
  EXPECT_EQ(rig.engine.CountCalls("Play"), 0);
}

TEST_F(StartUp, ResumesTheStoredEntryAndPosition) {
  struct Case {
    int resumeTrack;
    int expectedCurrent;
    bool seeks;
  };
  const Case cases[] = {{2, 2, true}, {5, 0, false}, {-1, 0, false}, {-7, 0, false}};
  for (const Case& c : cases) {
    PlaylistRig r;
    r.AddSongs({u"a.mp3", u"b.mp3", u"c.mp3"});
    r.files.AddFile(u"C:\\Program Files\\Quovira\\QuoviraPlayer.m3u",
                    std::string("C:\\Music\\a.mp3\nC:\\Music\\b.mp3\nC:\\Music\\c.mp3\n"));
    r.options.Resume = 1;
    r.options.ResumeTrack = c.resumeTrack;
    r.options.ResumeTime = 65000;
    r.playlist->LoadDefaultPlaylistAtStart();
    EXPECT_EQ(r.playlist->CurrentIndex(), c.expectedCurrent) << c.resumeTrack;
    EXPECT_EQ(r.engine.CountCalls("Seek 65000"), c.seeks ? 1 : 0) << c.resumeTrack;
    EXPECT_EQ(r.options.ResumeTime, c.seeks ? 0 : 65000) << c.resumeTrack;
    EXPECT_EQ(r.engine.CountCalls("OpenFile"), 1) << c.resumeTrack;
  }
}

TEST_F(StartUp, WithoutTheOptionNothingIsLoaded) {
  rig.options.SaveDefPlayList = 0;
  rig.playlist->LoadDefaultPlaylistAtStart();
  EXPECT_EQ(rig.playlist->GetEntryCount(), 0);
}

TEST_F(StartUp, ExitStoresTheResumePointAndSavesTheDefaultPlaylist) {
  rig.playlist->LoadDefaultPlaylistAtStart();
  rig.options.Resume = 1;
  rig.playlist->SelectEntry(1);
  rig.playlist->PlayEntry(-1);
  rig.engine.position = 33000;
  rig.playlist->StoreResumePoint();
  rig.playlist->CloseForExit();
  EXPECT_EQ(rig.options.ResumeTrack, 1);
  EXPECT_EQ(rig.options.ResumeTime, 33000);
  EXPECT_EQ(rig.engine.CountCalls("CloseDevice"), 1);
  EXPECT_TRUE(rig.engine.open.empty());

  ASSERT_EQ(rig.playlist->SaveDefaultPlaylist(), 1);
  std::string saved = Text(rig.files.Bytes(u"C:\\Program Files\\Quovira\\QuoviraPlayer.m3u"));
  EXPECT_EQ(saved.substr(0, 2), "\xFF\xFE");
  EXPECT_NE(saved.find(Utf16Le(u"C:\\Music\\b.mp3\r\n")), std::string::npos);
}

}  // namespace
}  // namespace qv::test
