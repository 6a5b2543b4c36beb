// The CdAudio source kind: an audio CD track named by a ".cda" file, read
// from the drive 20 raw sectors at a time.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>
#include <vector>

#include "engine/player_engine.h"
#include "engine/source_ops.h"
#include "platform/cd/cd_device.h"

namespace qv {

constexpr uint32_t kCdChunkSectors = 20;
constexpr uint32_t kCdChunkBytes = kCdChunkSectors * kCdRawSectorBytes;  // 47040
constexpr int kCdRetryMs = 50;

// Where a track lies, from the table of contents.
struct CdTrackSpan {
  uint32_t startSector = 0;
  uint32_t lengthSectors = 0;
};

// The drive letter of a ".cda" path: the text before the first ':', which
// must be exactly one letter. 0 when there is none.
char16_t CdDriveLetter(std::u16string_view path);

// Track `index` (0 for the first listed) of a raw 804-byte table of
// contents. False when the index is not a track of the table, or the
// addresses give no audio.
bool CdTrackFromToc(const uint8_t* toc, size_t index, CdTrackSpan* span);

struct CdState : SourceState {
  std::unique_ptr<CdDevice> device;
  char16_t letter = 0;
  CdTrackSpan track;
  uint32_t seconds = 0;
  uint64_t lengthBytes = 0;
  uint64_t requestOffset = 0;  // disc byte offset of the last raw read
  uint32_t chunkIndex = 0;     // next 20-sector chunk
  std::vector<uint8_t> buffer = std::vector<uint8_t>(kCdChunkBytes);
  uint32_t bufferBytes = 0;
};

extern const SourceOps kCdSourceOps;

}  // namespace qv
