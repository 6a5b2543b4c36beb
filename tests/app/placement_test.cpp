// Placement, snapping, and the window's registry values.
#include <gtest/gtest.h>

#include "app/shell/placement.h"
#include "app/shell/window_settings.h"
#include "options/memory_settings_store.h"
#include "options/options.h"
#include "options/registry_helpers.h"

namespace qv {
namespace {

const IntRect kScreen{0, 0, 1024, 768};

TEST(Placement, FrameCorrectionGivesTheCreatedSizeAsClientArea) {
  IntSize s = FrameCorrectedSize({261, 383}, {255, 360});
  EXPECT_EQ(s.width, 267);
  EXPECT_EQ(s.height, 406);
  s = FrameCorrectedSize({261, 383}, {261, 383});  // a pop-up has no frame
  EXPECT_EQ(s.width, 261);
  EXPECT_EQ(s.height, 383);
}

TEST(Placement, StoredSizeIsAlwaysTheWindowSize) {
  // The close sequence has shrunk the window to 0 x 0 by now; only its
  // corner counts.
  StoredPlacement p = PlacementToStore(120, 80, kShowNormal);
  EXPECT_EQ(p.left, 120);
  EXPECT_EQ(p.top, 80);
  EXPECT_EQ(p.right, 120 + 261);
  EXPECT_EQ(p.bottom, 80 + 383);
}

TEST(Placement, RestoreUsesTheCornerAndTheWindowSizeWhateverWasStored) {
  for (IntRect stored : {IntRect{100, 50, 100, 50}, IntRect{100, 50, 0, 0}, IntRect{100, 50, 900, 700}}) {
    StoredPlacement p{kShowNormal, stored.left, stored.top, stored.right, stored.bottom};
    RestoredPlacement r = PlacementToRestore(p, {261, 383}, kScreen);
    EXPECT_EQ(r.rect, (IntRect{100, 50, 361, 433}));
  }
  // No size known yet: the window's own.
  RestoredPlacement r = PlacementToRestore(StoredPlacement{}, {0, 0}, kScreen);
  EXPECT_EQ(r.rect, (IntRect{0, 0, 261, 383}));
}

TEST(Placement, RestoredWindowIsShownNormallyUnlessStoredSo) {
  struct Case {
    uint32_t stored, restored;
  };
  for (Case c : {Case{1, 1}, Case{9, 9}, Case{2, 9}, Case{0, 9}, Case{3, 9}, Case{6, 9}, Case{7, 9}, Case{11, 9},
                 Case{12345, 9}}) {
    StoredPlacement p;
    p.showCmd = c.stored;
    EXPECT_EQ(PlacementToRestore(p, {261, 383}, kScreen).showCmd, c.restored) << c.stored;
  }
}

TEST(Placement, AWindowEntirelyOffTheScreenComesBack) {
  struct Case {
    int32_t left, top, x, y;
  };
  for (Case c : {Case{2000, 100, 0, 0}, Case{-261, 100, 0, 0}, Case{100, 768, 0, 0}, Case{100, -383, 0, 0},
                 Case{-260, -382, -260, -382}, Case{1023, 767, 1023, 767}}) {
    StoredPlacement p;
    p.left = c.left;
    p.top = c.top;
    RestoredPlacement r = PlacementToRestore(p, {261, 383}, kScreen);
    EXPECT_EQ(r.rect.left, c.x) << c.left << "," << c.top;
    EXPECT_EQ(r.rect.top, c.y) << c.left << "," << c.top;
  }
}

struct SnapCase {
  const char* label;
  IntRect window;
  int32_t x, y;
};

class SnapTest : public ::testing::TestWithParam<SnapCase> {};

TEST_P(SnapTest, SnapsOnlyWhenCloserThanEightPixels) {
  const IntRect work{0, 0, 1024, 740};
  IntPoint p = SnapToWorkArea(GetParam().window, work);
  EXPECT_EQ(p.x, GetParam().x);
  EXPECT_EQ(p.y, GetParam().y);
}

INSTANTIATE_TEST_SUITE_P(
    Edges, SnapTest,
    ::testing::Values(SnapCase{"LeftFive", {5, 100, 266, 483}, 0, 100},
                      SnapCase{"LeftEightStays", {8, 100, 269, 483}, 8, 100},
                      SnapCase{"LeftSevenSnaps", {7, 100, 268, 483}, 0, 100},
                      SnapCase{"OutsideLeftSnaps", {-5, 100, 256, 483}, 0, 100},
                      SnapCase{"RightThree", {760, 100, 1021, 483}, 763, 100},
                      SnapCase{"TopAndRight", {760, 4, 1021, 387}, 763, 0},
                      SnapCase{"BottomSix", {300, 351, 561, 734}, 300, 357},
                      SnapCase{"MiddleUntouched", {300, 200, 561, 583}, 300, 200}),
    [](const auto& info) { return std::string(info.param.label); });

TEST(StoredVolume, MissingMeansFullVolumeAndValuesStayInRange) {
  EXPECT_EQ(VolumeFromStored(false, 0), 256);
  EXPECT_EQ(VolumeFromStored(true, 0), 0);
  EXPECT_EQ(VolumeFromStored(true, 128), 128);
  EXPECT_EQ(VolumeFromStored(true, 256), 256);
  EXPECT_EQ(VolumeFromStored(true, 257), 256);
  EXPECT_EQ(VolumeFromStored(true, 0xFFFFFFFFu), 256);
}

TEST(WindowSettings, MissingValuesGiveFullVolumeAndTheDefaultCorner) {
  MemorySettingsStore store;
  EXPECT_EQ(ReadStoredVolume(store), 256);
  StoredPlacement p = ReadStoredPlacement(store);
  EXPECT_EQ(p.left, 0);
  EXPECT_EQ(p.top, 0);
  EXPECT_EQ(p.showCmd, kShowNormal);
  // Reading made the options key, as the options loader expects afterwards.
  EXPECT_TRUE(store.KeyExists(SettingsRoot::CurrentUser, kOptionsKey));
}

TEST(WindowSettings, WrittenValuesReadBack) {
  MemorySettingsStore store;
  WriteWindowSettings(store, PlacementToStore(-40, 300, kShowNormal), 0);
  EXPECT_EQ(ReadStoredVolume(store), 0);  // silence stays silence
  StoredPlacement p = ReadStoredPlacement(store);
  EXPECT_EQ(p.left, -40);
  EXPECT_EQ(p.top, 300);
  EXPECT_EQ(p.right, -40 + 261);
  EXPECT_EQ(p.bottom, 300 + 383);
  EXPECT_EQ(ReadRegDword(store, SettingsRoot::CurrentUser, kOptionsKey, u"Pos_showCmd", 99), 1u);
  WriteRegDword(store, SettingsRoot::CurrentUser, kOptionsKey, u"Volume", 5000);
  EXPECT_EQ(ReadStoredVolume(store), 256);
}

}  // namespace
}  // namespace qv
