// ID3 version 1 tags: the last 128 bytes of a file, starting "TAG".
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/engine_api.h"

namespace qv {

constexpr size_t kId3v1Bytes = 128;

// Fills tags from a 128-byte tag; false (and nothing filled) when it does
// not start "TAG".
bool ParseId3v1(const uint8_t tag[kId3v1Bytes], TagInfo* tags);

// Reads the tag at the end of the file. The first 64 characters of the
// title are cleared first, tag or not.
bool ReadId3v1(std::u16string_view path, TagInfo* tags);

// The name of an ID3 version 1 genre byte: 0 "Blues" to 147 "Synthpop";
// empty above.
std::u16string_view Id3v1GenreName(uint8_t genre);

}  // namespace qv
