// Shared pieces of the MPEG audio tests: streams built frame by frame, the
// fixture files and their reference decodes, decoding through the engine,
// and alignment and signal-to-noise measures.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/engine_api.h"
#include "engine/mpeg/mpeg_header.h"
#include "tests/engine/engine_test_support.h"

namespace qv::test {

using Samples = std::vector<int16_t>;

// A header word: version 1, 2 or 3 (2.5), layer 1-3, bitrate and rate by
// value (both must exist in the tables).
uint32_t HeaderWord(int version, int layer, int kbps, int rate, bool padding = false, bool mono = false);
Bytes Be32(uint32_t v);
// A frame that decodes to silence: the header, then zeros.
Bytes SilentFrame(uint32_t word);
Bytes Repeat(const Bytes& frame, int count);
Bytes Concat(std::initializer_list<Bytes> parts);
// A first frame carrying a Xing header (flags, then the frame count) after
// the side information of `sideInfo` bytes, or a VBRI header at byte 36.
Bytes XingFrame(uint32_t word, size_t sideInfo, uint32_t flags, uint32_t frames);
Bytes VbriFrame(uint32_t word, uint32_t frames);

Bytes FixtureBytes(const std::string& name);
// The offsets of the frames of a clean stream from `start` on.
std::vector<int64_t> FrameOffsets(const Bytes& stream, int64_t start = 0);

// 16-bit samples of a WAV file, interleaved.
Samples WavSamples(const std::u16string& path, int* channels = nullptr);
Samples ToSamples(const Bytes& pcm);

// Opens `path` in a fresh engine with ScanCompletely as given, optionally
// seeks, plays to the end and returns what the device played. Empty when
// the file did not open.
struct DecodeRun {
  bool opened = false;
  TrackInfo info{};
  int32_t length = 0;
  StatusList statuses;
  Samples samples;
};
DecodeRun DecodeFile(const std::u16string& path, bool scanCompletely, int32_t seekMs = -1);

// The lead d (0..maxLead) for which part[i] best matches whole[i + d] on the
// first channel, by normalised correlation.
int64_t BestLead(const Samples& part, const Samples& whole, int channels, int64_t maxLead, size_t span = 16384);
// 10 log10(signal / noise) of `test` against `reference` over their common
// length (reference[i] against test[i + lead * channels]).
double SnrDb(const Samples& test, const Samples& reference, int channels, int64_t lead);

}  // namespace qv::test
