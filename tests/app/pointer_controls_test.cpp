// Seek bar, volume slider and the display's mouse regions.
#include <gtest/gtest.h>

#include "app/display/mouse_regions.h"
#include "app/display/pointer_controls.h"

namespace qv::display {
namespace {

TEST(SeekBar, ThumbFollowsPositionOverTheSpan) {
  EXPECT_TRUE(SeekThumbAt(0, 1000).atStart);
  EXPECT_TRUE(SeekThumbAt(-10, 1000).atStart);
  EXPECT_EQ(SeekThumbAt(500, 1000).x, 60);
  EXPECT_EQ(SeekThumbAt(1000, 1000).x, 121);
  EXPECT_EQ(SeekThumbAt(5000, 1000).x, 121);  // past the end stays at the end
  EXPECT_EQ(SeekThumbAt(5, 0).x, 121);        // unknown length counts as 1 ms
  EXPECT_EQ(SeekThumbAt(5, -7).x, 121);
}

TEST(SeekBar, LongTracksDoNotOverflow) {
  // Six hours: 121 x P exceeds 32 bits from about 4.9 hours on.
  const int32_t sixHours = 6 * 3600 * 1000;
  EXPECT_EQ(SeekThumbAt(sixHours / 2, sixHours).x, 60);
  EXPECT_EQ(SeekThumbAt(sixHours - 1, sixHours).x, 120);
  EXPECT_EQ(SeekThumbAt(2147483647, 2147483647).x, 121);
}

TEST(SeekBar, PointerPositionGivesATimeWithinTheTrack) {
  EXPECT_EQ(SeekPositionFromX(11, 100000), 0);
  EXPECT_EQ(SeekPositionFromX(73, 100000), 49600);  // (73 - 11) / 125
  EXPECT_EQ(SeekPositionFromX(144, 100000), 100000);  // beyond 125 pixels: the end
  EXPECT_EQ(SeekPositionFromX(5, 100000), 0);
  EXPECT_EQ(SeekPositionFromX(73, 0), 0);
  EXPECT_EQ(SeekPositionFromX(136, 2147483647), 2147483647);
}

TEST(VolumeSlider, PointerSetsVolumeWithinRange) {
  Slider s;
  EXPECT_EQ(VolumeFromX(100, s), 0);  // left of the slider
  EXPECT_EQ(VolumeFromX(169, s), 0);
  EXPECT_EQ(VolumeFromX(206, s), 128);  // (206 - 169) x 256 / 74
  EXPECT_EQ(VolumeFromX(243, s), 256);
  EXPECT_EQ(VolumeFromX(400, s), 256);  // right of it
  Slider narrow{100, 50, 40, 8, 13};  // travel 28 pixels from x 106
  EXPECT_EQ(VolumeFromX(106, narrow), 0);
  EXPECT_EQ(VolumeFromX(120, narrow), 128);
  EXPECT_EQ(VolumeFromX(134, narrow), 256);
}

TEST(VolumeSlider, LevelLineAndKeys) {
  Slider s;
  EXPECT_EQ(VolumeLevelPixels(0, s), 0);
  EXPECT_EQ(VolumeLevelPixels(128, s), 36);
  EXPECT_EQ(VolumeLevelPixels(256, s), 73);
  EXPECT_EQ(VolumeLevelPixels(9999, s), 73);
  EXPECT_EQ(SteppedVolume(250, kVolumeKeyStep), 256);
  EXPECT_EQ(SteppedVolume(6, -kVolumeKeyStep), 0);
  EXPECT_EQ(SteppedVolume(100, kVolumeKeyStep), 110);
  EXPECT_EQ(EngineVolume(200, true), 0);
  EXPECT_EQ(EngineVolume(200, false), 200);
}

struct RegionCase {
  int32_t x, y;
  Region region;
};

TEST(MouseRegions, PressesReachTheirRegionInOrder) {
  Slider s;
  for (RegionCase c : {RegionCase{94, 37, Region::TimeToggle}, RegionCase{141, 44, Region::TimeToggle},
                       RegionCase{142, 44, Region::None}, RegionCase{11, 295, Region::Seek},
                       RegionCase{144, 299, Region::Seek}, RegionCase{10, 295, Region::None},
                       RegionCase{145, 295, Region::None}, RegionCase{154, 293, Region::Mute},
                       RegionCase{160, 299, Region::Mute}, RegionCase{163, 292, Region::Volume},
                       RegionCase{248, 299, Region::Volume}, RegionCase{249, 295, Region::None},
                       RegionCase{200, 291, Region::None}, RegionCase{236, 25, Region::Repeat},
                       RegionCase{252, 33, Region::Repeat}, RegionCase{234, 30, Region::Shuffle}, RegionCase{235, 30, Region::None},
                       RegionCase{218, 23, Region::Shuffle}, RegionCase{217, 30, Region::None},
                       RegionCase{100, 150, Region::None}}) {
    EXPECT_EQ(RegionAt(c.x, c.y, s), c.region) << c.x << "," << c.y;
  }
  Slider none{0, 0, 0, 0, 0};
  EXPECT_EQ(RegionAt(200, 295, none), Region::None);
  EXPECT_TRUE(EndsPress(Region::Seek));
  EXPECT_TRUE(EndsPress(Region::Mute));
  EXPECT_FALSE(EndsPress(Region::Volume));
}

TEST(MouseRegions, CaptionStripAndArrow) {
  EXPECT_TRUE(InCaptionStrip(1, 1));
  EXPECT_TRUE(InCaptionStrip(210, 25));
  EXPECT_FALSE(InCaptionStrip(0, 10));
  EXPECT_FALSE(InCaptionStrip(211, 10));
  EXPECT_FALSE(InCaptionStrip(100, 26));
  ArrowArea arrow;
  EXPECT_TRUE(InArrow(250, 120, arrow));
  EXPECT_TRUE(InArrow(260, 194, arrow));
  EXPECT_FALSE(InArrow(261, 150, arrow));
  ArrowArea none{0, 0, 0, 0};
  EXPECT_FALSE(InArrow(0, 0, none));
}

}  // namespace
}  // namespace qv::display
