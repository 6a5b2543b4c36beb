// Where decoding resumes after a seek: the frame for frame number n
// (sample position / samples per frame), found by counting headers from the
// start or estimated from the average frame size.
#pragma once

#include <cstdint>

#include "engine/mpeg/mpeg_file_window.h"
#include "engine/mpeg/mpeg_header.h"

namespace qv {

// Counts matching headers from the first one; lands on the n-th (the first
// for n 0 or 1), one frame ahead of n so that layer III's bit reservoir is
// filled again by the time frame n decodes. -1 when the file has fewer.
int64_t SeekByCounting(MpegFileWindow& file, const MpegStreamId& stream, uint64_t n);

// The first matching header from n average frames on (the average exactly,
// spanBytes / spanFrames); -1 when there is none.
int64_t SeekByEstimate(MpegFileWindow& file, const MpegStreamId& stream, uint64_t n, uint64_t spanBytes,
                       uint64_t spanFrames);

}  // namespace qv
