// Reading an ASF file's Header object and finding its Data object.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/plugins/wma/asf_header.h"
#include "platform/files/wide_file.h"

namespace qv {

// Bytes before the first data packet in the Data object: object header,
// file identifier, packet count and two reserved bytes.
constexpr uint64_t kAsfDataPacketsOffset = 50;

// True when the file's first 30 bytes can be read and start with the Header
// object's identifier.
bool StartsWithAsfHeader(WideFile& file);

// Reads and parses the Header object at the start of the file. Nothing is
// allocated before the identifier is checked; the object's size must fit in
// 32 bits and in the file. *headerSize receives that size.
bool ReadAsfHeader(WideFile& file, AsfHeader* out, uint64_t* headerSize);

// From `from`, reads object headers and skips each by its size until the
// Data object; its offset in *dataOffset. False at the end of the file or at
// an object whose size is below 24 or beyond the file.
bool FindAsfDataObject(WideFile& file, uint64_t from, uint64_t* dataOffset);

}  // namespace qv
