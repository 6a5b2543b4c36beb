#include "app/display/digit_cells.h"

#include <algorithm>

namespace qv::display {

namespace {
int Digit(int64_t value) { return static_cast<int>(std::clamp<int64_t>(value, 0, 9)); }
}  // namespace

std::array<int, 3> TrackNumberCells(int32_t currentIndex) {
  int64_t n = currentIndex < 0 ? 0 : (static_cast<int64_t>(currentIndex) + 1) % 1000;
  return {Digit(n / 100), Digit(n / 10 % 10), Digit(n % 10)};
}

std::array<int, 5> TimeCells(int32_t seconds) {
  int64_t t = seconds < 0 ? 0 : seconds % 6000;
  return {Digit(t / 600), Digit(t / 60 % 10), 10, Digit(t % 60 / 10), Digit(t % 10)};
}

std::vector<CellAt> FormatCells(int32_t bitrateKbps, int32_t sampleRate) {
  std::vector<CellAt> cells;
  int64_t b = std::max<int64_t>(bitrateKbps, 0);
  int64_t k = std::max<int64_t>(sampleRate, 0) / 1000;
  if (b >= 1000) cells.push_back({176, Digit(b / 1000)});
  cells.push_back({181, Digit(b % 1000 / 100)});
  cells.push_back({186, Digit(b % 100 / 10)});
  cells.push_back({191, Digit(b % 10)});
  if (k >= 100) cells.push_back({221, Digit(k / 100)});
  cells.push_back({226, Digit(k % 100 / 10)});
  cells.push_back({231, Digit(k % 10)});
  return cells;
}

}  // namespace qv::display
