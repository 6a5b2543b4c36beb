// The audio compression manager seam used by the WAV decoder for formats
// other than PCM. Win32: msacm32. Natively: a small manager that knows PCM
// and G.711 (mu-law, A-law), enough to drive the compressed path in tests.
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/audio/wave_out.h"

namespace qv {

// A wave format record as stored in a file's "fmt " chunk: the 16-byte PCM
// part, then cbSize and extra bytes when present. Kept as raw bytes so that
// format-specific extra data reaches the converter unchanged.
using WaveFormatBytes = std::vector<uint8_t>;

class AudioConversionStream {
 public:
  virtual ~AudioConversionStream() = default;
  // Source bytes that produce at most destBytes of output (0 when none fit).
  virtual uint32_t SourceBytesFor(uint32_t destBytes) = 0;
  // Converts; reports how much of the source was consumed and how much
  // output was written. False on a conversion failure.
  virtual bool Convert(const uint8_t* src, uint32_t srcBytes, uint8_t* dest, uint32_t destCapacity,
                       uint32_t* srcUsed, uint32_t* destUsed) = 0;
  // Forgets the state between calls (after a seek).
  virtual void Reset() = 0;
};

class AudioCompressionManager {
 public:
  virtual ~AudioCompressionManager() = default;
  // The PCM format the manager would decode this source format to.
  virtual bool SuggestPcm(const WaveFormatBytes& source, PcmFormat* pcm) = 0;
  // A non-real-time conversion stream from source to pcm, or null.
  virtual std::unique_ptr<AudioConversionStream> OpenStream(const WaveFormatBytes& source,
                                                            const PcmFormat& pcm) = 0;
};

// msacm32 on Win32; natively the PCM and G.711 manager.
std::unique_ptr<AudioCompressionManager> CreateSystemCompressionManager();
// The PCM and G.711 manager, in both builds.
std::unique_ptr<AudioCompressionManager> CreateG711CompressionManager();

}  // namespace qv
