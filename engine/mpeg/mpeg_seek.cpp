#include "engine/mpeg/mpeg_seek.h"

#include "engine/mpeg/mpeg_measure.h"
#include "engine/mpeg/mpeg_vbr_header.h"

namespace qv {

int64_t SeekByCounting(MpegFileWindow& file, const MpegStreamId& stream, uint64_t index) {
  const uint64_t wanted = index + 1;
  uint64_t count = 0;
  int64_t at = file.FindFrame(0, stream);
  while (at >= 0) {
    MpegHeader h;
    if (file.HeaderAt(at, &h) && stream.Matches(h)) {
      if (++count == wanted) return at;
      at += h.frameBytes;
    } else {
      at = file.FindFrame(at + 1, stream);
    }
  }
  return -1;
}

int64_t SeekByEstimate(MpegFileWindow& file, const MpegStreamId& stream, uint64_t index, uint64_t spanBytes,
                       uint64_t spanFrames) {
  if (spanFrames == 0) return -1;
  // Half a frame early: in a constant-bitrate stream the frame starts within
  // a byte of index averages, on either side, and must not be passed over.
  const uint64_t target = MulDiv(index, spanBytes, spanFrames);
  const uint64_t half = spanBytes / spanFrames / 2;
  const uint64_t from = target > half ? target - half : 0;
  return file.FindFrame(static_cast<int64_t>(from), stream);
}

uint64_t ReservoirFrames(const MpegHeader& first) {
  if (first.layer != 3) return 0;
  const uint64_t reservoir = first.version == 1 ? 511 : 255;
  // The lowest bitrate: 32 kbit/s for MPEG-1, 8 for MPEG-2 and 2.5.
  const uint64_t perKbit = first.version == 1 ? 144000 : 72000;
  const uint64_t lowest = first.version == 1 ? 32 : 8;
  const uint64_t frame = perKbit * lowest / static_cast<uint64_t>(first.sampleRate);
  const uint64_t overhead = 4 + SideInfoBytes(first);
  const uint64_t data = frame > overhead ? frame - overhead : 1;
  return (reservoir + data - 1) / data + 1;
}

}  // namespace qv
