// The cells of the digit strips that the display draws for the track
// number, the time and the track format.
#pragma once

#include <array>
#include <cstdint>
#include <vector>

namespace qv::display {

// currentIndex -1 (no entry) shows 000; numbers wrap at 1000.
std::array<int, 3> TrackNumberCells(int32_t currentIndex);

// mm:ss of a time value 0-5999 seconds; cell 10 is the separator.
std::array<int, 5> TimeCells(int32_t seconds);

struct CellAt {
  int32_t x;
  int cell;
};

// Bit rate (kbit/s) and sample rate (Hz) as small-digit cells: the
// thousands of the bit rate only from 1000 on, the hundreds of the sample
// rate in kHz only from 100 on. Every cell stays inside the strip (0-9),
// whatever the numbers; negative numbers show as 0.
std::vector<CellAt> FormatCells(int32_t bitrateKbps, int32_t sampleRate);

}  // namespace qv::display
