// Digit cells and the time value of the display.
#include <gtest/gtest.h>

#include <array>
#include <vector>

#include "app/display/digit_cells.h"
#include "app/display/time_value.h"

namespace qv::display {
namespace {

TEST(TrackNumber, ShowsIndexPlusOneWrappingAtAThousand) {
  EXPECT_EQ(TrackNumberCells(-1), (std::array<int, 3>{0, 0, 0}));
  EXPECT_EQ(TrackNumberCells(0), (std::array<int, 3>{0, 0, 1}));
  EXPECT_EQ(TrackNumberCells(41), (std::array<int, 3>{0, 4, 2}));
  EXPECT_EQ(TrackNumberCells(998), (std::array<int, 3>{9, 9, 9}));
  EXPECT_EQ(TrackNumberCells(999), (std::array<int, 3>{0, 0, 0}));
  EXPECT_EQ(TrackNumberCells(2147483647), (std::array<int, 3>{6, 4, 8}));
}

TEST(TimeDigits, MinutesSeparatorSeconds) {
  EXPECT_EQ(TimeCells(0), (std::array<int, 5>{0, 0, 10, 0, 0}));
  EXPECT_EQ(TimeCells(7), (std::array<int, 5>{0, 0, 10, 0, 7}));
  EXPECT_EQ(TimeCells(754), (std::array<int, 5>{1, 2, 10, 3, 4}));
  EXPECT_EQ(TimeCells(5999), (std::array<int, 5>{9, 9, 10, 5, 9}));
  EXPECT_EQ(TimeCells(6000), (std::array<int, 5>{0, 0, 10, 0, 0}));
  EXPECT_EQ(TimeCells(-5), (std::array<int, 5>{0, 0, 10, 0, 0}));
}

struct TimeCase {
  int status;
  int32_t length, position;
  bool stream, reverse;
  int32_t shown;
};

TEST(TimeValue, FollowsStatusOptionAndWraps) {
  for (TimeCase c : {TimeCase{0, 185000, 3000, false, false, 185},  // stopped: the length
                     TimeCase{0, 185000, 3000, false, true, 185},
                     TimeCase{1, 185000, 3999, false, false, 3},    // playing: the position
                     TimeCase{2, 185000, 3999, false, false, 3},    // paused likewise
                     TimeCase{1, 185000, 5000, false, true, 180},   // remaining time
                     TimeCase{1, 185000, 190000, false, true, 0},   // never below 0
                     TimeCase{1, 0, 7000, true, true, 7},           // streams count up
                     TimeCase{1, 0, 6000000, false, false, 0},      // 100 minutes wrap to 00:00
                     TimeCase{1, 0, 6061000, false, false, 61},
                     TimeCase{1, 0, -2000, false, false, 0},
                     TimeCase{3, 2147483647, 0, false, false, 0},
                     TimeCase{0, 2147483647, 0, false, false, 2147483 % 6000}}) {
    EXPECT_EQ(DisplayTimeSeconds(c.status, c.length, c.position, c.stream, c.reverse), c.shown)
        << c.status << " " << c.length << " " << c.position;
  }
}

struct FormatCase {
  const char* label;
  int32_t bitrate, rate;
  std::vector<CellAt> cells;
};

class FormatCellsTest : public ::testing::TestWithParam<FormatCase> {};

TEST_P(FormatCellsTest, CellsStayInTheStrip) {
  std::vector<CellAt> cells = FormatCells(GetParam().bitrate, GetParam().rate);
  ASSERT_EQ(cells.size(), GetParam().cells.size());
  for (size_t i = 0; i < cells.size(); ++i) {
    EXPECT_EQ(cells[i].x, GetParam().cells[i].x) << i;
    EXPECT_EQ(cells[i].cell, GetParam().cells[i].cell) << i;
    EXPECT_GE(cells[i].cell, 0);
    EXPECT_LE(cells[i].cell, 9);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Rates, FormatCellsTest,
    ::testing::Values(
        FormatCase{"Cd", 1411, 44100, {{176, 1}, {181, 4}, {186, 1}, {191, 1}, {226, 4}, {231, 4}}},
        FormatCase{"Mp3", 128, 48000, {{181, 1}, {186, 2}, {191, 8}, {226, 4}, {231, 8}}},
        FormatCase{"HighRate", 4608, 192000, {{176, 4}, {181, 6}, {186, 0}, {191, 8}, {221, 1}, {226, 9}, {231, 2}}},
        FormatCase{"BitRateBeyondTheDigits", 123456, 44100,
                   {{176, 9}, {181, 4}, {186, 5}, {191, 6}, {226, 4}, {231, 4}}},
        FormatCase{"RateBeyondTheDigits", 320, 2147483647, {{181, 3}, {186, 2}, {191, 0}, {221, 9}, {226, 8}, {231, 3}}},
        FormatCase{"Negative", -5, -44100, {{181, 0}, {186, 0}, {191, 0}, {226, 0}, {231, 0}}}),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
}  // namespace qv::display
