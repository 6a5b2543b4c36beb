// Next, previous and shuffle; the end-of-track rules; the transport commands.
#include <gtest/gtest.h>

#include <set>
#include <string>

#include "platform/text/utf16.h"
#include "tests/playlist/playlist_test_support.h"

namespace qv::test {
namespace {

// A rig with n files, entry `current` selected (opened, not played).
void Fill(PlaylistRig& rig, int n, int current = 0) {
  for (int i = 0; i < n; ++i) {
    std::u16string name = FromUtf8(std::string(1, static_cast<char>('a' + i))) + u".mp3";
    rig.AddSongs({name});
    rig.playlist->AddEntry(rig.SongPath(name));
  }
  if (current != 0) rig.playlist->SelectEntry(current);
  rig.engine.ClearCalls();
}

TEST(PlayOrder, NextIndexInListOrder) {
  struct Case {
    int current;
    int automatic;
    int stopAtEnd;
    int repeat;
    int expected;
  };
  const Case cases[] = {
      {0, 0, 0, 0, 1},  {1, 1, 0, 0, 2},  {2, 1, 1, 0, 3},   // inside the list: always the next
      {3, 0, 0, 0, 0},                                      // Next on the last wraps
      {3, 1, 0, 0, -1},                                     // an automatic advance stops
      {3, 1, 0, 1, 0},  {3, 1, 0, 2, 0},                    // unless repeating
      {3, 1, 1, 1, -1}, {3, 0, 1, 0, -1},                   // after an error at the end: stop
  };
  for (const Case& c : cases) {
    PlaylistRig rig;
    Fill(rig, 4, c.current);
    rig.options.Repeat = c.repeat;
    EXPECT_EQ(rig.playlist->NextIndex(c.automatic, c.stopAtEnd), c.expected)
        << c.current << " " << c.automatic << " " << c.stopAtEnd << " " << c.repeat;
  }
}

TEST(PlayOrder, PreviousIndex) {
  struct Case {
    int current;
    int shuffle;
    int expected;
  };
  const Case cases[] = {{2, 0, 1}, {0, 0, 3}, {2, 1, 2}, {0, 1, 0}};
  for (const Case& c : cases) {
    PlaylistRig rig;
    Fill(rig, 4, c.current);
    rig.options.Shuffle = c.shuffle;
    EXPECT_EQ(rig.playlist->PreviousIndex(), c.expected) << c.current << " " << c.shuffle;
  }
  PlaylistRig empty;
  EXPECT_EQ(empty.playlist->PreviousIndex(), -1);
  EXPECT_EQ(empty.playlist->NextIndex(0, 0), -1);
}

TEST(Shuffle, PicksOnlyUnplayedEntriesUntilAllArePlayed) {
  PlaylistRig rig;
  Fill(rig, 6);
  rig.playlist->ToggleShuffle();
  ASSERT_EQ(rig.options.Shuffle, 1);
  EXPECT_EQ(rig.playlist->GetEntry(0)->Played, 1) << "the current entry counts as played";
  std::set<int> seen{0};
  for (int step = 0; step < 5; ++step) {
    int i = rig.playlist->NextIndex(1, 0);
    ASSERT_GE(i, 0);
    EXPECT_FALSE(seen.count(i)) << "entry " << i << " came twice";
    seen.insert(i);
    rig.playlist->SelectEntry(i);
    EXPECT_EQ(rig.playlist->GetEntry(i)->Played, 1);
  }
  // Every entry played: an automatic advance without repeat stops and clears the marks.
  EXPECT_EQ(rig.playlist->NextIndex(1, 0), -1);
  for (int i = 0; i < 6; ++i) EXPECT_EQ(rig.playlist->GetEntry(i)->Played, 0);
}

TEST(Shuffle, WithRepeatAllStartsOverAndStopsOnAnErrorAtTheEnd) {
  struct Case {
    int automatic;
    int stopAtEnd;
    int repeat;
    bool picks;
  };
  const Case cases[] = {{1, 0, 1, true}, {0, 0, 0, true}, {1, 1, 1, false}, {1, 0, 0, false}};
  for (const Case& c : cases) {
    PlaylistRig rig;
    Fill(rig, 3);
    rig.options.Shuffle = 1;
    rig.options.Repeat = c.repeat;
    for (int i = 0; i < 3; ++i) rig.playlist->GetEntry(i)->Played = 1;
    int i = rig.playlist->NextIndex(c.automatic, c.stopAtEnd);
    EXPECT_EQ(i >= 0, c.picks) << c.automatic << c.stopAtEnd << c.repeat;
  }
}

TEST(Shuffle, TheSameTickGivesTheSameOrder) {
  auto order = [](uint32_t tick) {
    PlaylistRig rig;
    Fill(rig, 20);
    rig.tick = tick;
    rig.playlist->ToggleShuffle();
    std::vector<int> picks;
    for (int step = 0; step < 19; ++step) {
      int i = rig.playlist->NextIndex(1, 0);
      picks.push_back(i);
      rig.playlist->SelectEntry(i);
    }
    return picks;
  };
  EXPECT_EQ(order(777), order(777));
  EXPECT_NE(order(777), order(778));
}

TEST(Shuffle, TurningItOffClearsTheMarks) {
  PlaylistRig rig;
  Fill(rig, 3);
  rig.playlist->ToggleShuffle();
  rig.playlist->ToggleShuffle();
  EXPECT_EQ(rig.options.Shuffle, 0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(rig.playlist->GetEntry(i)->Played, 0);
  EXPECT_EQ(rig.host.Count("play modes"), 2);
}

// The end of a track: what is opened and played next.
TEST(EndOfTrack, FollowsTheRepeatModeAndTheError) {
  struct Case {
    const char* name;
    int current;
    int repeat;
    int error;
    int expectedCurrent;
    bool playing;
  };
  const Case cases[] = {
      {"next entry", 1, 0, 0, 2, true},
      {"error: next entry only selected", 1, 0, 1, 2, false},
      {"end without repeat: first selected", 3, 0, 0, 0, false},
      {"end with repeat all: first played", 3, 1, 0, 0, true},
      {"error at the end with repeat all: first selected", 3, 1, 1, 0, false},
      {"repeat one: same again", 2, 2, 0, 2, true},
      {"repeat one with an error: reopened, not played", 2, 2, 1, 2, false},
  };
  for (const Case& c : cases) {
    PlaylistRig rig;
    Fill(rig, 4, c.current);
    rig.options.Repeat = c.repeat;
    ASSERT_EQ(rig.playlist->PlayEntry(-1), 1) << c.name;
    rig.engine.status = 0;  // the track ended
    rig.playlist->OnPlaybackStopped(c.error);
    EXPECT_EQ(rig.playlist->CurrentIndex(), c.expectedCurrent) << c.name;
    EXPECT_EQ(rig.engine.status == 1, c.playing) << c.name;
    EXPECT_EQ(rig.engine.open, rig.Paths()[static_cast<size_t>(c.expectedCurrent)]) << c.name;
  }
}

TEST(EndOfTrack, RepeatOneAfterAnErrorCanBePlayedAgain) {
  PlaylistRig rig;
  Fill(rig, 2, 1);
  rig.options.Repeat = 2;
  ASSERT_EQ(rig.playlist->PlayEntry(-1), 1);
  rig.engine.status = 0;
  rig.playlist->OnPlaybackStopped(1);
  ASSERT_EQ(rig.engine.open, rig.Paths()[1]) << "closed, then opened again";
  rig.playlist->CommandPlayPause();
  EXPECT_EQ(rig.engine.status, 1);
}

TEST(EndOfTrack, AStreamIsReconnectedOnceAfterAUserCommand) {
  PlaylistRig rig;
  Fill(rig, 1);
  rig.playlist->AddEntry(u"http://radio/live");
  rig.playlist->SelectEntry(1);
  ASSERT_EQ(rig.playlist->StreamFlag(), 1);
  rig.playlist->CommandPlayPause();
  ASSERT_EQ(rig.engine.status, 1);

  rig.engine.status = 0;
  rig.playlist->OnPlaybackStopped(0);
  EXPECT_EQ(rig.playlist->CurrentIndex(), 1) << "reconnected";
  EXPECT_EQ(rig.engine.status, 1);
  EXPECT_EQ(rig.playlist->RetryFlag(), 0);

  rig.engine.status = 0;
  rig.playlist->OnPlaybackStopped(0);
  EXPECT_EQ(rig.playlist->CurrentIndex(), 0) << "ended again without a command: wraps to the first";
  EXPECT_EQ(rig.engine.status, 0) << "the end of the list without repeat selects only";
}

TEST(Transport, NextAndPreviousKeepPlayingOnlyWhenPlaying) {
  PlaylistRig rig;
  Fill(rig, 3, 2);
  rig.playlist->CommandNext();
  EXPECT_EQ(rig.playlist->CurrentIndex(), 0) << "Next on the last wraps";
  EXPECT_EQ(rig.engine.status, 0) << "stopped stays stopped";
  EXPECT_EQ(rig.host.events.back(), "select row 0");

  rig.playlist->PlayEntry(-1);
  rig.playlist->CommandNext();
  EXPECT_EQ(rig.playlist->CurrentIndex(), 1);
  EXPECT_EQ(rig.engine.status, 1);

  rig.engine.position = 2500;
  rig.playlist->CommandPrevious();
  EXPECT_EQ(rig.playlist->CurrentIndex(), 1) << "more than 2 s in: the track restarts";
  EXPECT_EQ(rig.engine.CallsStartingWith("Seek").back(), "Seek 0");

  rig.engine.position = 2000;
  rig.playlist->CommandPrevious();
  EXPECT_EQ(rig.playlist->CurrentIndex(), 0);
  EXPECT_EQ(rig.engine.status, 1);

  rig.engine.position = 0;
  rig.engine.status = 0;
  rig.playlist->CommandPrevious();
  EXPECT_EQ(rig.playlist->CurrentIndex(), 2) << "wraps from the first to the last";
}

TEST(Transport, PreviousOnAStreamGoesBackEvenLateInIt) {
  PlaylistRig rig;
  Fill(rig, 1);
  rig.playlist->AddEntry(u"http://radio/live");
  rig.playlist->SelectEntry(1);
  rig.playlist->PlayEntry(-1);
  rig.engine.position = 60000;
  rig.playlist->CommandPrevious();
  EXPECT_EQ(rig.playlist->CurrentIndex(), 0);
}

TEST(Transport, StopWithResumeKeepsThePosition) {
  PlaylistRig rig;
  Fill(rig, 2);
  rig.options.Resume = 1;
  rig.playlist->PlayEntry(-1);
  rig.engine.position = 42000;
  rig.playlist->CommandStop();
  EXPECT_EQ(rig.engine.status, 0);
  EXPECT_EQ(rig.engine.position, 42000) << "positioned where it stopped";
  EXPECT_EQ(rig.options.ResumeTime, 0);
  EXPECT_EQ(rig.playlist->RetryFlag(), 1);
  EXPECT_EQ(rig.engine.CountCalls("CloseDevice"), 0);
  rig.playlist->CommandStop();
  EXPECT_EQ(rig.engine.CountCalls("CloseDevice"), 1) << "a second Stop releases the device";
}

TEST(Transport, PlayPauseAndSeekSteps) {
  PlaylistRig rig;
  Fill(rig, 2);
  rig.playlist->CommandPlayPause();
  EXPECT_EQ(rig.engine.status, 1);
  EXPECT_EQ(rig.host.Count("start display"), 1);
  rig.playlist->CommandPlayPause();
  EXPECT_EQ(rig.engine.status, 2);
  EXPECT_EQ(rig.host.Count("pause state"), 1);
  rig.engine.position = 15000;
  rig.playlist->CommandRewind();
  rig.playlist->CommandFastForward();
  EXPECT_EQ(rig.engine.CallsStartingWith("Seek"), (std::vector<std::string>{"Seek 5000", "Seek 15000"}));
}

TEST(Transport, AFailedPlayIsRetriedOnceAfterReopening) {
  PlaylistRig rig;
  Fill(rig, 2);
  rig.engine.playFailures = 1;
  EXPECT_EQ(rig.playlist->PlayEntry(-1), 1);
  EXPECT_EQ(rig.engine.CountCalls("Play"), 2);
  EXPECT_EQ(rig.host.Count("start display"), 0) << "the retry starts no timer";

  // An entry that cannot be opened is still made current; playing it fails.
  rig.files.AddFile(u"C:\\Music\\bad.mp3");
  rig.playlist->AddEntry(u"C:\\Music\\bad.mp3");
  EXPECT_EQ(rig.playlist->PlayEntry(2), 0);
  EXPECT_EQ(rig.playlist->CurrentIndex(), 2);
}

TEST(Transport, OptionsGoToTheEngineBeforeEachOpenAndPlay) {
  PlaylistRig rig;
  Fill(rig, 2);
  rig.options.EngineOptions.OutputBufferLen = 1234;
  rig.playlist->PlayEntry(1);
  EXPECT_EQ(rig.engine.lastOptions.OutputBufferLen, 1234);
  auto calls = rig.engine.calls;
  ASSERT_GE(calls.size(), 4u);
  EXPECT_EQ(calls.back(), "Play");
  EXPECT_EQ(calls[calls.size() - 2], "SetStreamingOptions");
  EXPECT_EQ(calls[calls.size() - 3], "SetOptions");
}

TEST(Transport, RepeatCyclesAndIsSet) {
  PlaylistRig rig;
  std::vector<int> seen;
  for (int i = 0; i < 4; ++i) {
    rig.playlist->CycleRepeat();
    seen.push_back(rig.options.Repeat);
  }
  EXPECT_EQ(seen, (std::vector<int>{1, 2, 0, 1}));
  rig.playlist->SetRepeat(2);
  EXPECT_EQ(rig.options.Repeat, 2);
}

}  // namespace
}  // namespace qv::test
