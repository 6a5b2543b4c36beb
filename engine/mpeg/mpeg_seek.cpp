#include "engine/mpeg/mpeg_seek.h"

#include "engine/mpeg/mpeg_measure.h"

namespace qv {

int64_t SeekByCounting(MpegFileWindow& file, const MpegStreamId& stream, uint64_t n) {
  const uint64_t wanted = n > 1 ? n : 1;
  uint64_t count = 0;
  int64_t at = file.FindSync(0, &stream);
  while (at >= 0) {
    MpegHeader h;
    if (file.HeaderAt(at, &h) && stream.Matches(h)) {
      if (++count == wanted) return at;
      at += h.frameBytes;
    } else {
      at = file.FindSync(at + 1, &stream);
    }
  }
  return -1;
}

int64_t SeekByEstimate(MpegFileWindow& file, const MpegStreamId& stream, uint64_t n, uint64_t spanBytes,
                       uint64_t spanFrames) {
  if (spanFrames == 0) return -1;
  // Half a frame early: the frame n starts within a byte of n averages, on
  // either side, and must not be passed over.
  const uint64_t target = MulDiv(n, spanBytes, spanFrames);
  const uint64_t half = spanBytes / spanFrames / 2;
  const uint64_t from = target > half ? target - half : 0;
  return file.FindSync(static_cast<int64_t>(from), &stream);
}

}  // namespace qv
