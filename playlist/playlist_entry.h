// One entry of the playlist: a local file or a stream address, with what is
// known about it.
#pragma once

#include <cstdint>

#include "engine/engine_api.h"

namespace qv {

constexpr int kMaxPlaylistEntries = 1000;

struct PlaylistEntry {
  char16_t Path[kPathChars];   // full path of a file, or a stream URL
  char16_t Title[kPathChars];  // given when added, or the display text derived later
  TrackInfo Track;             // zero until the engine has opened the entry
  TagInfo Tags;                // empty until read
  int32_t Played;              // made current while shuffle was on
  int32_t CurrentMark;         // scratch mark while sorting
};

}  // namespace qv
