// A location read from a playlist file, with its title (empty for none).
#pragma once

#include <cstddef>
#include <string>

namespace qv {

struct PlaylistItem {
  std::u16string location;
  std::u16string title;
};

// Locations examined per playlist file; beyond this a file is not read
// further, so that a huge file of missing paths cannot hold up the player.
constexpr size_t kMaxPlaylistLocations = 50000;

}  // namespace qv
