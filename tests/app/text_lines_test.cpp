// Scrolling of the display's text lines, and the stream status texts.
#include <gtest/gtest.h>

#include <vector>

#include "app/display/stream_status.h"
#include "app/display/text_scroll.h"

namespace qv::display {
namespace {

TEST(TextScroll, OnlyTextsWiderThanTheAreaScroll) {
  TextScroll line;
  EXPECT_TRUE(line.SetTextWidth(160));
  EXPECT_FALSE(line.Wider());  // exactly as wide: still
  EXPECT_TRUE(line.DrawnStill(true));
  EXPECT_TRUE(line.SetTextWidth(161));
  EXPECT_TRUE(line.Wider());
  EXPECT_FALSE(line.DrawnStill(true));
  EXPECT_TRUE(line.DrawnStill(false));  // scrolling option off
  EXPECT_FALSE(line.SetTextWidth(161));  // same width: nothing starts over
  EXPECT_EQ(line.Period(), 186);
}

TEST(TextScroll, MovesFromTheSecondTickWithTheOptionOn) {
  TextScroll line;
  line.SetTextWidth(300);
  EXPECT_FALSE(line.OnTick(true));
  EXPECT_EQ(line.Offset(), 0);
  EXPECT_TRUE(line.OnTick(true));
  EXPECT_EQ(line.Offset(), 8);
  EXPECT_FALSE(line.OnTick(false));
  EXPECT_EQ(line.Offset(), 8);
  TextScroll narrow;
  narrow.SetTextWidth(100);
  narrow.OnTick(true);
  EXPECT_FALSE(narrow.OnTick(true));
  EXPECT_EQ(narrow.Offset(), 0);
}

TEST(TextScroll, StripCopiesAlwaysCoverTheArea) {
  TextScroll line;
  line.SetTextWidth(300);  // period 325
  for (int tick = 0; tick < 200; ++tick) {
    line.OnTick(true);
    line.Normalize();
    EXPECT_LT(line.Offset(), 160);
    EXPECT_LT(line.Offset(), line.Period());
    std::vector<int32_t> xs = line.StripPositions(35);
    ASSERT_FALSE(xs.empty());
    EXPECT_LE(xs.front(), 35);                          // covers the left edge
    EXPECT_GE(xs.back() + line.Period(), 35 + 160);     // and the right edge
    EXPECT_EQ((35 - line.Offset() - xs.front()) % line.Period(), 0);  // in step with the offset
  }
}

TEST(TextScroll, NewTextStartsOver) {
  TextScroll line;
  line.SetTextWidth(300);
  line.OnTick(true);
  line.OnTick(true);
  line.OnTick(true);
  EXPECT_EQ(line.Offset(), 16);
  EXPECT_TRUE(line.SetTextWidth(400));
  EXPECT_EQ(line.Offset(), 0);
  EXPECT_FALSE(line.OnTick(true));  // the first tick of the new text
}

TEST(StreamStatus, TextsByState) {
  StreamTexts texts{u"Connecting...", u"Buffering...   %d%%"};
  EXPECT_EQ(StreamStatusText(2, 0, texts, u"x"), u"Connecting...");
  EXPECT_EQ(StreamStatusText(3, 42, texts, u"x"), u"Buffering...   42%");
  EXPECT_EQ(StreamStatusText(4, 0, texts, u"Radio One"), u"Radio One");
  EXPECT_EQ(StreamStatusText(0, 0, texts, u"x"), u"");
  EXPECT_EQ(StreamStatusText(1, 0, texts, u"x"), u"");
}

TEST(StreamStatus, BufferingPercentNeverDividesByZero) {
  EXPECT_EQ(BufferingPercent(50, 100), 50);
  EXPECT_EQ(BufferingPercent(8, 16), 50);
  EXPECT_EQ(BufferingPercent(50, 0), 50);
  EXPECT_EQ(BufferingPercent(50, -3), 50);
  EXPECT_EQ(BufferingPercent(2147483647, 1), 100);  // shown within 0-100
  EXPECT_EQ(BufferingPercent(-20, 100), 0);
}

}  // namespace
}  // namespace qv::display
