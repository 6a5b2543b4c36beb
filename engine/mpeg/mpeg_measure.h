// The length of an MPEG audio file: the quick estimate from the first frame
// (a Xing or VBRI frame count, or the constant-bitrate arithmetic) or the
// full walk over every frame.
#pragma once

#include <cstdint>

#include "engine/mpeg/mpeg_file_window.h"
#include "engine/mpeg/mpeg_header.h"

namespace qv {

struct MpegMeasure {
  MpegHeader first;          // the first frame of the stream
  int32_t bitrateKbps = 0;   // the first frame's, or the average
  int32_t frameBytes = 0;    // the average frame size, whole bytes
  uint64_t totalFrames = 0;  // sample frames
  // The average frame size exactly, as spanBytes / spanFrames; the seek
  // arithmetic uses it so that long files do not drift.
  uint64_t spanBytes = 0;
  uint64_t spanFrames = 1;
};

// The quick estimate. False when no pair of matching headers one frame
// apart exists.
bool MeasureQuick(MpegFileWindow& file, MpegMeasure* out);
// Every frame, header after header. False when no frame was counted.
bool MeasureFullWalk(MpegFileWindow& file, MpegMeasure* out);

// a * b / c without overflowing 64 bits for the sizes used here (c > 0).
uint64_t MulDiv(uint64_t a, uint64_t b, uint64_t c);

}  // namespace qv
