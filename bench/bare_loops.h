// Bare decode loops: each decodes a whole file with the library the player
// uses for the format, to interleaved 16-bit PCM in a buffer of its own, and
// nothing else (no engine, no output device, no effects). They are the
// yardstick the engine's cost is measured against.
#pragma once

#include <cstdint>
#include <string>

namespace bench {

struct BareResult {
  uint64_t frames = 0;  // sample frames delivered
  int rate = 0;
  int channels = 0;
  uint32_t checksum = 0;  // of the samples delivered: keeps every conversion observable
};

// The path is UTF-8. False with a one-line reason on failure.
// MPEG audio through libmad: decode, synthesis and the engine's dithered
// conversion (dither true) or plain rounding.
bool BareMp3(const std::string& path, bool dither, BareResult* out, std::string* error);
// Ogg Vorbis through Tremor's ov_read.
bool BareVorbis(const std::string& path, BareResult* out, std::string* error);
// FLAC through libFLAC's stream decoder.
bool BareFlac(const std::string& path, BareResult* out, std::string* error);
// Monkey's Audio and WMA through FFmpeg's demuxer and decoder.
bool BareApe(const std::string& path, BareResult* out, std::string* error);
bool BareWma(const std::string& path, BareResult* out, std::string* error);
// 16-bit PCM WAV: the data chunk read in blocks.
bool BareWav(const std::string& path, BareResult* out, std::string* error);

}  // namespace bench
