// The list of entries: owns them, holds at most kMaxPlaylistEntries.
#pragma once

#include <memory>
#include <vector>

#include "playlist/playlist_entry.h"

namespace qv {

class Playlist {
 public:
  int Count() const { return static_cast<int>(entries_.size()); }
  bool IsFull() const { return Count() >= kMaxPlaylistEntries; }
  // Null when the index is outside 0 to Count() - 1.
  PlaylistEntry* At(int index) const;

  // A new entry with every field zero; null when the list is full.
  PlaylistEntry* Append();
  // False when there is no such entry; the following entries move up.
  bool Remove(int index);
  void Clear();
  // False when either index is outside the list.
  bool Swap(int a, int b);

  // The entries in order, for sorting in place.
  std::vector<std::unique_ptr<PlaylistEntry>>& Entries() { return entries_; }

 private:
  std::vector<std::unique_ptr<PlaylistEntry>> entries_;
};

}  // namespace qv
