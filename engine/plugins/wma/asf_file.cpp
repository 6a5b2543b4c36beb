#include "engine/plugins/wma/asf_file.h"

#include <limits>
#include <new>
#include <vector>

#include "engine/plugins/wma/asf_bytes.h"
#include "engine/plugins/wma/asf_guids.h"

namespace qv {

namespace {

bool ReadAt(WideFile& file, uint64_t offset, void* buffer, size_t size) {
  if (offset > uint64_t(std::numeric_limits<int64_t>::max()) || !file.Seek(static_cast<int64_t>(offset))) return false;
  return file.Read(buffer, size) == static_cast<int64_t>(size);
}

}  // namespace

bool StartsWithAsfHeader(WideFile& file) {
  uint8_t start[kAsfHeaderFixedBytes];
  return ReadAt(file, 0, start, sizeof start) && GuidFromBytes(start) == kAsfHeaderObject;
}

bool ReadAsfHeader(WideFile& file, AsfHeader* out, uint64_t* headerSize) {
  uint8_t start[kAsfHeaderFixedBytes];
  if (!ReadAt(file, 0, start, sizeof start) || GuidFromBytes(start) != kAsfHeaderObject) return false;
  const uint64_t size = Le64(start + 16);
  const int64_t fileSize = file.Size();
  if (size < kAsfHeaderFixedBytes || size > std::numeric_limits<uint32_t>::max() || fileSize < 0 ||
      size > static_cast<uint64_t>(fileSize))
    return false;
  std::vector<uint8_t> header;
  try {
    header.resize(static_cast<size_t>(size));
  } catch (const std::bad_alloc&) {
    return false;
  }
  if (!ReadAt(file, 0, header.data(), header.size())) return false;
  if (!ParseAsfHeaderObject(header.data(), header.size(), out)) return false;
  *headerSize = size;
  return true;
}

bool FindAsfDataObject(WideFile& file, uint64_t from, uint64_t* dataOffset) {
  const int64_t fileSize = file.Size();
  if (fileSize < 0) return false;
  const uint64_t end = static_cast<uint64_t>(fileSize);
  uint64_t at = from;
  while (at <= end && end - at >= kAsfObjectHeaderBytes) {
    uint8_t object[kAsfObjectHeaderBytes];
    if (!ReadAt(file, at, object, sizeof object)) return false;
    if (GuidFromBytes(object) == kAsfDataObject) {
      *dataOffset = at;
      return true;
    }
    const uint64_t size = Le64(object + 16);
    if (size < kAsfObjectHeaderBytes || size > end - at) return false;
    at += size;
  }
  return false;
}

}  // namespace qv
