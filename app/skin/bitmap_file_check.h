// Whether a bitmap file holds together before the system's picture loader
// is given it: the loader takes the file's own offsets and sizes on trust
// (a pixel offset far past the end makes it read outside the file). Shared
// by the skin (CSkin) and the skin library's controls.
#pragma once

#include <cstddef>
#include <cstdint>

namespace qv {

// Bytes of the file's start the check needs (file header and the largest
// info header, with its colour masks).
constexpr size_t kBitmapCheckBytes = 14 + 124 + 12;
// Skin pictures are small; larger ones are not skin pictures.
constexpr int32_t kMaxSkinPictureSide = 4096;

// head: the first min(kBitmapCheckBytes, fileSize) bytes; fileSize: the
// whole file's size. True when the headers are a bitmap's, the picture is
// at most kMaxSkinPictureSide wide and high, its palette lies between the
// headers and the pixels, and (uncompressed) its pixels lie within the file.
bool BitmapFileLayoutSane(const uint8_t* head, size_t headSize, uint64_t fileSize);

}  // namespace qv
