#include "engine/mpeg/mpeg_measure.h"

#include "engine/mpeg/mpeg_vbr_header.h"

namespace qv {

uint64_t MulDiv(uint64_t a, uint64_t b, uint64_t c) { return a / c * b + a % c * b / c; }

namespace {

int32_t ClampToInt32(uint64_t v) { return v > 0x7FFFFFFFu ? 0x7FFFFFFF : static_cast<int32_t>(v); }

// Bytes per frame of a constant-bitrate stream, exactly: the header's frame
// length before the integer division and the padding slot.
void ConstantSpan(const MpegHeader& h, uint64_t* bytes, uint64_t* frames) {
  uint64_t perKbit = 144000;
  if (h.layer == 1)
    perKbit = 48000;
  else if (h.layer == 3 && h.version != 1)
    perKbit = 72000;
  *bytes = perKbit * static_cast<uint64_t>(h.bitrateKbps);
  *frames = static_cast<uint64_t>(h.sampleRate);
}

bool FindFramePair(MpegFileWindow& file, int64_t* at, MpegHeader* first) {
  for (int64_t from = 0;;) {
    const int64_t candidate = file.FindSync(from);
    if (candidate < 0) return false;
    MpegHeader h, next;
    if (file.HeaderAt(candidate, &h) && file.HeaderAt(candidate + h.frameBytes, &next) &&
        StreamIdOf(h).Matches(next)) {
      *at = candidate;
      *first = h;
      return true;
    }
    from = candidate + 1;
  }
}

}  // namespace

bool MeasureQuick(MpegFileWindow& file, MpegMeasure* out) {
  int64_t at = 0;
  MpegHeader first;
  if (!FindFramePair(file, &at, &first)) return false;
  MpegMeasure m;
  m.first = first;
  const uint64_t size = static_cast<uint64_t>(file.Size());
  const uint64_t spf = static_cast<uint64_t>(first.samplesPerFrame);

  uint8_t frame[kVbrHeaderSpan] = {};
  const size_t got = file.Read(at, frame, sizeof frame);
  const uint32_t vbrFrames = FindVbrFrameCount(first, frame, got);
  if (vbrFrames > 0) {
    m.totalFrames = uint64_t(vbrFrames) * spf;
    m.frameBytes = ClampToInt32(size / vbrFrames);
    m.spanBytes = size;
    m.spanFrames = vbrFrames;
    const uint64_t seconds = m.totalFrames / static_cast<uint64_t>(first.sampleRate);
    // Under a second of audio has no meaningful average: the header's own.
    m.bitrateKbps = seconds > 0 ? ClampToInt32((size * 8 / seconds + 500) / 1000) : first.bitrateKbps;
  } else {
    ConstantSpan(first, &m.spanBytes, &m.spanFrames);
    m.totalFrames = MulDiv(size, m.spanFrames, m.spanBytes) * spf;
    m.frameBytes = first.frameBytes;
    m.bitrateKbps = first.bitrateKbps;
  }
  *out = m;
  return true;
}

bool MeasureFullWalk(MpegFileWindow& file, MpegMeasure* out) {
  const int64_t size = file.Size();
  uint64_t count = 0, bitrateSum = 0, lengthSum = 0;
  MpegHeader first, last;
  bool lastCounted = false;  // the frame stepped from is still counted
  int64_t at = file.FindSync(0);
  while (at >= 0 && at + 4 <= size) {
    MpegHeader h;
    if (file.HeaderAt(at, &h) && (count == 0 || StreamIdOf(first).Matches(h))) {
      if (count == 0) first = h;
      ++count;
      bitrateSum += static_cast<uint64_t>(h.bitrateKbps);
      lengthSum += static_cast<uint64_t>(h.frameBytes);
      last = h;
      lastCounted = true;
      at += h.frameBytes;
      continue;
    }
    // A frame whose length leads nowhere was no frame: take it back. A
    // position found by the sync search itself takes nothing back.
    if (lastCounted && count > 0) {
      --count;
      bitrateSum -= static_cast<uint64_t>(last.bitrateKbps);
      lengthSum -= static_cast<uint64_t>(last.frameBytes);
    }
    lastCounted = false;
    at = file.FindSync(at + 1);
  }
  if (count == 0) return false;
  MpegMeasure m;
  m.first = first;
  m.totalFrames = count * static_cast<uint64_t>(first.samplesPerFrame);
  m.frameBytes = ClampToInt32(lengthSum / count);
  m.bitrateKbps = static_cast<int32_t>((bitrateSum + count / 2) / count);
  m.spanBytes = lengthSum;
  m.spanFrames = count;
  *out = m;
  return true;
}

}  // namespace qv
