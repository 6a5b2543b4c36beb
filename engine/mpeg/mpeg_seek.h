// Where decoding resumes after a seek: the header of frame number `index`,
// found by counting headers from the start or estimated from the average
// frame size.
#pragma once

#include <cstdint>

#include "engine/mpeg/mpeg_file_window.h"
#include "engine/mpeg/mpeg_header.h"

namespace qv {

// Counts the frames of the stream from the first one (index 0), following
// each frame's length. -1 when the file has fewer.
int64_t SeekByCounting(MpegFileWindow& file, const MpegStreamId& stream, uint64_t index);

// The first frame of the stream from index average frames on (the average
// exactly, spanBytes / spanFrames); -1 when there is none.
int64_t SeekByEstimate(MpegFileWindow& file, const MpegStreamId& stream, uint64_t index, uint64_t spanBytes,
                       uint64_t spanFrames);

// Frames to start decoding ahead of the wanted one: layer III takes up to
// 511 bytes (255 for MPEG-2 and 2.5) of a frame's data from the frames
// before it, which a fresh decoder must have read first. Enough for the
// smallest frames of the stream; none for layers I and II.
uint64_t ReservoirFrames(const MpegHeader& first);

}  // namespace qv
