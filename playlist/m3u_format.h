// The M3U playlist format: "#EXTINF:<seconds>,<title>" lines before the
// locations they describe.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "playlist/playlist_item.h"

namespace qv {

// The items of an M3U text, in order, at most maxItems. Each line loses
// trailing spaces; "#EXTINF" lines with a non-empty title after their first
// comma set the pending title (cut to a title field); other "#" lines and
// empty lines are ignored; any other line is a location that takes the
// pending title and clears it. A location that does not fit a path field is
// refused (it still clears the pending title).
std::vector<PlaylistItem> ParseM3u(std::u16string_view text, size_t maxItems = kMaxPlaylistLocations);

// Builds the text of an M3U file ("\n" line ends); the caller encodes it.
class M3uWriter {
 public:
  // base: the playlist's folder with its final "\"; paths starting with it
  // (exact case) are written relative to it.
  explicit M3uWriter(std::u16string_view base);
  // durationMs 0 is written as -1 seconds. Line breaks in the title become
  // spaces, so a title cannot add lines of its own.
  void Add(int32_t durationMs, std::u16string_view title, std::u16string_view path);
  const std::u16string& Text() const { return text_; }

 private:
  std::u16string base_;
  std::u16string text_;
};

}  // namespace qv
