// The RIFF chunk walk of a WAV file: where its "fmt " record and its sample
// data are. Nothing here interprets the format.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "engine/locked_file.h"

namespace qv {

constexpr uint32_t kWavMinFmtBytes = 16;
constexpr uint32_t kWavMaxFmtBytes = 65536;

struct WavLayout {
  std::vector<uint8_t> fmt;            // the whole "fmt " chunk
  std::optional<uint32_t> factFrames;  // the "fact" sample frame count
  uint64_t dataOffset = 0;
  uint64_t dataLength = 0;             // cut to the end of the file
};

// Walks the chunks from the start of the file, each with its pad byte. The
// "data" chunk is searched byte by byte only when the walk cannot reach it
// (a chunk whose size runs past the end of the file), and never past the
// end. Empty "data" chunks are skipped. False for anything but a RIFF WAVE
// file with a readable "fmt " chunk of 16 bytes to 64 KiB followed by data.
bool ReadWavLayout(LockedFile& file, WavLayout* layout);

}  // namespace qv
