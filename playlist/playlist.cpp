#include "playlist/playlist.h"

#include <utility>

namespace qv {

PlaylistEntry* Playlist::At(int index) const {
  if (index < 0 || index >= Count()) return nullptr;
  return entries_[static_cast<size_t>(index)].get();
}

PlaylistEntry* Playlist::Append() {
  if (IsFull()) return nullptr;
  entries_.push_back(std::make_unique<PlaylistEntry>());
  return entries_.back().get();
}

bool Playlist::Remove(int index) {
  if (!At(index)) return false;
  entries_.erase(entries_.begin() + index);
  // An empty playlist holds no array.
  if (entries_.empty()) entries_.shrink_to_fit();
  return true;
}

void Playlist::Clear() {
  entries_.clear();
  entries_.shrink_to_fit();
}

bool Playlist::Swap(int a, int b) {
  if (!At(a) || !At(b)) return false;
  std::swap(entries_[static_cast<size_t>(a)], entries_[static_cast<size_t>(b)]);
  return true;
}

}  // namespace qv
