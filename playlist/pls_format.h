// The PLS playlist format: an INI-style text whose section "playlist" holds
// "File1", "Title1", "File2"... Lookups follow ReadIniValue's rules (section
// and keys exact and case-sensitive, ";" comments, value cut at the first
// "=" and stripped of trailing blanks, the first match wins), but the text is
// gone through once and its lines are read whole.
#pragma once

#include <string>
#include <string_view>
#include <unordered_map>
#include <vector>

#include "playlist/playlist_item.h"

namespace qv {

// The keys of one section of an INI-style text, read in one pass.
class IniSectionIndex {
 public:
  IniSectionIndex(const std::vector<std::u16string_view>& lines, std::u16string_view section);
  // Null when the key is not in the section.
  const std::u16string* Find(std::u16string_view key) const;

 private:
  std::unordered_map<std::u16string, std::u16string> values_;
};

// The items File1/Title1, File2/Title2... up to the first missing File key,
// at most maxItems. A file value that does not fit a path field is refused
// (skipped); a longer title is cut to fit a title field.
std::vector<PlaylistItem> ParsePls(std::u16string_view text, size_t maxItems = kMaxPlaylistLocations);

}  // namespace qv
