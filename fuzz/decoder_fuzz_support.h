// What the decoder fuzz targets share: the input as a file with the
// extension the engine routes by, and one run of the engine over it (open,
// track information, tags, file tags, a seek, playback to the end on the
// virtual device, close).
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace qv::fuzz {

// Writes the input (at most 64 KiB of it) to a per-process file ending in
// `extension`; empty on failure.
std::u16string WriteInput(const uint8_t* data, size_t size, const char* extension);

// Drives the engine over the file; the seek target comes from `seekByte`.
void RunEngine(const std::u16string& path, uint8_t seekByte);

}  // namespace qv::fuzz
