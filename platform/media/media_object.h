// A decoder media object: the operations of the system's media object
// interface that a decoder plug-in uses, one input and one output stream.
// Implemented over the system's decoder objects on Windows and over the
// project's own decoders everywhere; the plug-in sees only this interface.
#pragma once

#include <cstdint>
#include <vector>

#include "platform/media/com_types.h"
#include "platform/media/media_buffer.h"

namespace qv {

// MEDIATYPE_Audio {73647561-0000-0010-8000-00AA00389B71}
constexpr Guid kMediaTypeAudio = {0x73647561, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
// FORMAT_WaveFormatEx {05589F81-C356-11CE-BF01-00AA0055595A}
constexpr Guid kFormatWaveFormatEx = {0x05589F81, 0xC356, 0x11CE, {0xBF, 0x01, 0x00, 0xAA, 0x00, 0x55, 0x59, 0x5A}};

// The audio subtype of a wave format tag: the tag in place of the first 32
// bits of {00000000-0000-0010-8000-00AA00389B71}.
constexpr Guid AudioSubtype(uint16_t formatTag) {
  return {formatTag, 0x0000, 0x0010, {0x80, 0x00, 0x00, 0xAA, 0x00, 0x38, 0x9B, 0x71}};
}

struct MediaType {
  Guid majorType{};
  Guid subType{};
  bool fixedSizeSamples = false;
  uint32_t sampleSize = 0;
  Guid formatType{};
  std::vector<uint8_t> format;  // the format block (a wave format record)
};

enum class InputResult {
  Accepted,
  NotAccepting,  // output is still held: process output first
  Failed,
};

enum class OutputResult {
  Data,      // bytes were appended to the buffer (possibly none)
  NoOutput,  // nothing to give until more input arrives
  Failed,
};

class MediaObject {
 public:
  virtual ~MediaObject() = default;

  virtual bool SetInputType(const MediaType& type) = 0;
  virtual bool SetOutputType(const MediaType& type) = 0;
  virtual bool AllocateStreamingResources() = 0;
  virtual void FreeStreamingResources() = 0;
  // The object may keep a reference to the buffer until its data is used.
  virtual InputResult ProcessInput(CMediaBuffer* buffer, bool syncPoint) = 0;
  // Appends output after the buffer's current length, up to its maximum.
  // *more is set when the object holds output that did not fit.
  virtual OutputResult ProcessOutput(CMediaBuffer* buffer, bool* more) = 0;
  // The input has ended or broken off: what is held becomes output.
  virtual void Discontinuity() = 0;
  // Drops everything held, input and output.
  virtual void Flush() = 0;
};

}  // namespace qv
