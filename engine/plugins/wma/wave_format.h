// Wave format records (WAVEFORMATEX, little-endian) and the media types the
// WMA plug-in gives its decoder object.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/media/media_object.h"

namespace qv {

constexpr uint16_t kWaveFormatPcm = 0x0001;
constexpr uint16_t kWaveFormatWmaV1 = 0x0160;
constexpr uint16_t kWaveFormatWmaV2 = 0x0161;

constexpr size_t kWaveFormatBytes = 16;    // up to the bits per sample
constexpr size_t kWaveFormatExBytes = 18;  // with the extra-data size

struct WaveFormat {
  uint16_t formatTag = 0;
  uint16_t channels = 0;
  uint32_t sampleRate = 0;
  uint32_t avgBytesPerSec = 0;
  uint16_t blockAlign = 0;
  uint16_t bitsPerSample = 0;
  // The extra data that follows an 18-byte record, as far as the record
  // holds it.
  const uint8_t* extra = nullptr;
  size_t extraSize = 0;
};

// False when the record is shorter than 16 bytes.
bool ParseWaveFormat(const uint8_t* record, size_t size, WaveFormat* out);

// The 18-byte record of PCM with these channels, rate and bits.
std::vector<uint8_t> PcmWaveFormat(uint16_t channels, uint32_t sampleRate, uint16_t bits);

// Input: the compressed audio of `record` (its format tag as the subtype).
MediaType CompressedAudioType(const std::vector<uint8_t>& record, uint16_t formatTag);
// Output: PCM as PcmWaveFormat describes it.
MediaType PcmAudioType(uint16_t channels, uint32_t sampleRate, uint16_t bits);

}  // namespace qv
