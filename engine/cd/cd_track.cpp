#include "engine/cd/cd_source.h"

namespace qv {

char16_t CdDriveLetter(std::u16string_view path) {
  const size_t colon = path.find(u':');
  if (colon != 1) return 0;
  const char16_t c = path[0];
  const bool letter = (c >= u'A' && c <= u'Z') || (c >= u'a' && c <= u'z');
  return letter ? c : 0;
}

bool CdTrackFromToc(const uint8_t* toc, size_t index, CdTrackSpan* span) {
  constexpr size_t kEntries = 100, kEntryBytes = 8, kFirstEntry = 4;
  const int first = toc[2], last = toc[3];
  if (last < first) return false;
  // Tracks first..last are entries 0..count-1; entry `count` is the lead-out.
  const size_t count = static_cast<size_t>(last - first + 1);
  if (index >= count || count >= kEntries) return false;
  auto address = [toc](size_t entry) {
    const uint8_t* e = toc + kFirstEntry + entry * kEntryBytes;
    return int64_t(e[5]) * 4500 + int64_t(e[6]) * 75 + int64_t(e[7]) - 150;
  };
  const int64_t start = address(index);
  const int64_t length = address(index + 1) - start;
  if (start < 0 || length <= 0) return false;
  span->startSector = static_cast<uint32_t>(start);
  span->lengthSectors = static_cast<uint32_t>(length);
  return true;
}

}  // namespace qv
