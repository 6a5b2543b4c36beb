// Shared pieces of the WMA tests: the WMA plug-in's table driven by hand,
// fixture and temporary files, PCM comparisons.
#pragma once

#include <cstdint>
#include <string>

#include "engine/plugins/decoder_plugin.h"
#include "tests/engine/engine_test_support.h"

namespace qv::test {

// A copy of the WMA plug-in's table with no file open.
DecoderPlugin WmaTable();

// Writes bytes to a temporary file named after the running test and
// `name`, and returns its path.
std::u16string TempFile(const std::string& name, const Bytes& bytes);
Bytes ReadFile(const std::u16string& path);

// Signal-to-noise ratio in dB of 16-bit PCM `got` against `want`, over the
// frames both hold.
double SnrDb(const Bytes& want, const Bytes& got);

// The offset (in bytes, a multiple of frameBytes) at which `part` starts
// inside `whole` so that it matches to its end; -1 when it does not.
int64_t SuffixOffset(const Bytes& whole, const Bytes& part, uint32_t frameBytes);

}  // namespace qv::test
