// Shared pieces of the plug-in tests: the samples of a fixture WAV, what the
// plug-ins should make of them, and a plug-in's table driven by hand.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/plugins/decoder_plugin.h"
#include "tests/engine/engine_test_support.h"

namespace qv::test {

struct WavPcm {
  int channels = 0;
  int rate = 0;
  int bits = 0;
  Bytes data;
};

// The format and sample data of a fixture WAV (any chunk layout).
WavPcm ReadFixtureWav(const std::string& name);

// What a plug-in delivers for these samples: 8-bit as they are, 16-bit as
// they are, wider ones shifted down to their top 16 bits.
Bytes Delivered(const WavPcm& wav);

// A copy of a fixture under the test folder with another name.
std::u16string CopyFixture(const std::string& fixture, const std::string& name);

// Opens path with the table's OpenFile (context kept in the table).
bool OpenWith(DecoderPlugin& plugin, const std::u16string& path, PluginFileInfo* info);
// Calls Decode until it reports the last data, with buffers of `bufferBytes`;
// the bytes recorded in order. False when Decode fails or overruns.
bool DecodeToEnd(DecoderPlugin& plugin, uint32_t bufferBytes, Bytes* out, int* lastResult = nullptr);
// One Decode call.
int DecodeOnce(DecoderPlugin& plugin, uint32_t bufferBytes, Bytes* out);

// Bytes of `pcm` from frame `first` on.
Bytes FromFrame(const Bytes& pcm, uint64_t first, uint32_t frameBytes);

}  // namespace qv::test
