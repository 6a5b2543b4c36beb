// Reads an MPEG file at arbitrary offsets through a cached window, for the
// length measurement and the seek scans, which read a few bytes per frame.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "engine/locked_file.h"
#include "engine/mpeg/mpeg_header.h"

namespace qv {

class MpegFileWindow {
 public:
  explicit MpegFileWindow(LockedFile& file);

  int64_t Size() const { return size_; }
  // Copies up to n bytes from offset; returns how many exist there (fewer
  // at the end of the file, 0 past it or on a read error).
  size_t Read(int64_t offset, uint8_t* out, size_t n);
  // The header word at offset, parsed; false when it does not parse or the
  // file ends first.
  bool HeaderAt(int64_t offset, MpegHeader* header);
  // The first offset at or after `from` that passes the quick sync test
  // (with the stream's version and layer when `match` is given) and has
  // three more bytes after it; -1 when the file has none.
  int64_t FindSync(int64_t from, const MpegStreamId* match = nullptr);
  // The first offset at or after `from` where a whole header of the stream
  // parses and is followed one frame on by another one, by an ID3 version 1
  // tag or by the end of the file: a sync pattern inside frame data is
  // passed over. -1 when the file has none.
  int64_t FindFrame(int64_t from, const MpegStreamId& stream);

 private:
  bool Fill(int64_t offset);

  LockedFile& file_;
  int64_t size_ = 0;
  std::vector<uint8_t> cache_;
  int64_t cacheStart_ = 0;
  size_t cacheLength_ = 0;
};

}  // namespace qv
