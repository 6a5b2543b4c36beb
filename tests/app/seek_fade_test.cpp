// The fade-in after a seek drag.
#include <gtest/gtest.h>

#include <vector>

#include "app/display/seek_fade.h"

namespace qv::display {
namespace {

// Runs the fade to its end (at most `limit` ticks) and returns the volumes.
std::vector<int32_t> RunFade(SeekFade& fade, int32_t volume, bool muted, int limit = 50) {
  std::vector<int32_t> volumes;
  for (int i = 0; i < limit; ++i) {
    SeekFade::Step s = fade.OnTick(volume, muted);
    volumes.push_back(s.engineVolume);
    if (s.finished) break;
  }
  return volumes;
}

TEST(SeekFade, RisesInTenStepsToTheSetVolume) {
  SeekFade fade;
  fade.OnDragMove();
  fade.OnSettled();
  std::vector<int32_t> v = RunFade(fade, 256, false);
  ASSERT_EQ(v.size(), 10u);
  EXPECT_EQ(v.front(), 25);
  for (size_t i = 1; i < v.size(); ++i) EXPECT_GE(v[i], v[i - 1]);
  EXPECT_EQ(v.back(), 256);
  EXPECT_TRUE(fade.Done());
}

TEST(SeekFade, EndsForEveryVolumeIncludingSilence) {
  for (int32_t volume : {0, 1, 9, 10, 11, 100, 255, 256}) {
    SeekFade fade;
    std::vector<int32_t> v = RunFade(fade, volume, false);
    ASSERT_LE(v.size(), 10u) << volume;
    EXPECT_EQ(v.back(), volume);
    EXPECT_TRUE(fade.Done());
    for (int32_t x : v) EXPECT_LE(x, volume);
  }
  SeekFade fade;
  EXPECT_EQ(RunFade(fade, 0, false).size(), 1u);  // volume 0 ends at the first step
}

TEST(SeekFade, MutedPlayerStaysSilent) {
  SeekFade fade;
  std::vector<int32_t> v = RunFade(fade, 200, true);
  ASSERT_EQ(v.size(), 1u);
  EXPECT_EQ(v[0], 0);
  // Muting in the middle of a fade silences it and ends it.
  SeekFade fade2;
  EXPECT_EQ(fade2.OnTick(200, false).engineVolume, 20);
  SeekFade::Step s = fade2.OnTick(200, true);
  EXPECT_EQ(s.engineVolume, 0);
  EXPECT_TRUE(s.finished);
}

TEST(SeekFade, VolumeLoweredDuringTheFadeEndsItThere) {
  SeekFade fade;
  for (int i = 0; i < 5; ++i) fade.OnTick(256, false);  // about half way up
  SeekFade::Step s = fade.OnTick(20, false);
  EXPECT_EQ(s.engineVolume, 20);
  EXPECT_TRUE(s.finished);
}

TEST(SeekFade, ContinuousDragSilencesFromTheSecondMove) {
  SeekFade fade;
  EXPECT_FALSE(fade.OnDragMove());  // nothing pending yet
  EXPECT_TRUE(fade.OnDragMove());   // the settle delay was still running
  EXPECT_TRUE(fade.Done());
  fade.OnSettled();
  EXPECT_FALSE(fade.OnDragMove());
  // After the delay the fade starts again from silence.
  fade.OnSettled();
  EXPECT_EQ(fade.OnTick(100, false).engineVolume, 10);
}

}  // namespace
}  // namespace qv::display
