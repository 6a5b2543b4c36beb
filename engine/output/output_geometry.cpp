// Ring and device-buffer sizes. Sizes are rounded down to whole frames so a
// block never ends inside a frame, whatever the channel count and width.
#include <algorithm>

#include "engine/output/output_device.h"

namespace qv {

namespace {

uint32_t WholeFrames(uint32_t bytes, int channels, int bits) {
  if (channels <= 0 || bits <= 0) return bytes;
  const uint64_t align = uint64_t(channels) * uint64_t(bits) / 8;
  if (align == 0) return bytes;
  if (align >= bytes) return static_cast<uint32_t>(std::min<uint64_t>(align, UINT32_MAX));
  return static_cast<uint32_t>(bytes - bytes % align);
}

}  // namespace

uint32_t OutputBlockSize(int channels, int rate, int bits) {
  uint32_t size = 3072;
  if (rate > 11025) size *= 2;
  if (rate > 22050) size *= 2;
  if (channels > 1) size *= 2;
  if (bits > 8) size *= 2;
  return WholeFrames(size, channels, bits);
}

uint32_t OutputBlockCount(uint32_t avgBytesPerSec, uint32_t bufferMs, uint32_t blockSize) {
  if (blockSize == 0) return 2;
  const uint64_t count = uint64_t{avgBytesPerSec} * bufferMs / blockSize / 1000 + 1;
  return static_cast<uint32_t>(std::min<uint64_t>(std::max<uint64_t>(count, 2), UINT32_MAX));
}

uint32_t AlwaysOpenBufferSize(int channels, int rate, int bits) {
  uint32_t size = rate < 11026 ? 512 : 1024;
  if (rate > 22050) size *= 2;
  if (bits > 8) size *= 2;
  const uint64_t scaled = uint64_t{size} * static_cast<uint64_t>(std::max(channels, 1));
  return WholeFrames(static_cast<uint32_t>(std::min<uint64_t>(scaled, UINT32_MAX)), channels, bits);
}

}  // namespace qv
