// Lists of names as they travel between processes and in drop-files
// blocks: each name followed by a terminating zero, then an empty name.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

namespace qv {

// The largest list a receiver takes (bytes); larger blocks are refused.
constexpr size_t kMaxNameListBytes = 4u << 20;

std::vector<char16_t> PackNameList(const std::vector<std::u16string>& names);

// The names of a received block of `bytes` bytes. Nothing (nullopt) when the
// block is not a whole number of UTF-16 units, is larger than
// kMaxNameListBytes, or lacks the empty name that ends the list. Names that
// do not fit a path field (260 characters with the terminator) are left out.
std::optional<std::vector<std::u16string>> UnpackNameList(const void* data, size_t bytes);

// A drop-files block as the shell makes it: a 20-byte header (offset of the
// list 20, drop point (10, 10), not in the non-client area, wide names),
// then the packed names. Little-endian, as the platform lays it out.
std::vector<uint8_t> BuildDropFilesBlock(const std::vector<std::u16string>& names);

}  // namespace qv
