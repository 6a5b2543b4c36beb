#include "engine/mpeg/mpeg_file_window.h"

#include <algorithm>
#include <cstring>

namespace qv {

namespace {
constexpr size_t kWindowBytes = 64 * 1024;
}

MpegFileWindow::MpegFileWindow(LockedFile& file) : file_(file), size_(file.Size()), cache_(kWindowBytes) {}

bool MpegFileWindow::Fill(int64_t offset) {
  cacheLength_ = 0;
  cacheStart_ = offset;
  if (file_.Seek(offset, LockedFile::Origin::Begin) != offset) return false;
  size_t got = 0;
  if (!file_.Read(cache_.data(), cache_.size(), &got)) return false;
  cacheLength_ = got;
  return true;
}

size_t MpegFileWindow::Read(int64_t offset, uint8_t* out, size_t n) {
  if (offset < 0 || offset >= size_) return 0;
  n = static_cast<size_t>(std::min<int64_t>(static_cast<int64_t>(n), size_ - offset));
  size_t done = 0;
  while (done < n) {
    const int64_t at = offset + static_cast<int64_t>(done);
    if (at < cacheStart_ || at >= cacheStart_ + static_cast<int64_t>(cacheLength_)) {
      if (!Fill(at) || cacheLength_ == 0) break;
    }
    const size_t inCache = static_cast<size_t>(at - cacheStart_);
    const size_t take = std::min(n - done, cacheLength_ - inCache);
    std::memcpy(out + done, cache_.data() + inCache, take);
    done += take;
  }
  return done;
}

bool MpegFileWindow::HeaderAt(int64_t offset, MpegHeader* header) {
  uint8_t word[4];
  return Read(offset, word, 4) == 4 && ParseMpegHeaderAt(word, header);
}

int64_t MpegFileWindow::FindSync(int64_t from, const MpegStreamId* match) {
  if (from < 0) from = 0;
  // A position needs its three bytes and three more after it.
  for (int64_t at = from; at + 4 <= size_;) {
    if (at < cacheStart_ || at + 4 > cacheStart_ + static_cast<int64_t>(cacheLength_)) {
      if (!Fill(at) || cacheLength_ < 4) return -1;
    }
    const uint8_t* base = cache_.data();
    const int64_t end = std::min(size_, cacheStart_ + static_cast<int64_t>(cacheLength_)) - 3;
    for (; at < end; ++at) {
      const uint8_t* p = base + (at - cacheStart_);
      if (match ? QuickSyncMatching(p, match->version, match->layer) : QuickSync(p)) return at;
    }
  }
  return -1;
}

int64_t MpegFileWindow::FindFrame(int64_t from, const MpegStreamId& stream) {
  for (;;) {
    const int64_t at = FindSync(from, &stream);
    if (at < 0) return -1;
    MpegHeader h, next;
    if (HeaderAt(at, &h) && stream.Matches(h)) {
      const int64_t after = at + h.frameBytes;
      if (after + 4 > size_) return at;
      uint8_t word[4];
      if (Read(after, word, 4) == 4 &&
          ((ParseMpegHeaderAt(word, &next) && stream.Matches(next)) || (word[0] == 'T' && word[1] == 'A' && word[2] == 'G')))
        return at;
    }
    from = at + 1;
  }
}

}  // namespace qv
