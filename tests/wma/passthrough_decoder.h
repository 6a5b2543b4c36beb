// A decoder object for PCM inside ASF whose output is its input, put in
// place of the WMA plug-in's decoder objects for exact checks of the packet
// and payload walk. Like the system's objects it refuses input while it
// still holds output. It can be made stingy (at most so many bytes per
// ProcessOutput, the rest flagged as more) and can hold back the last bytes
// of its input until a discontinuity, as a decoder with a delay does.
#pragma once

#include <cstdint>
#include <limits>
#include <memory>
#include <vector>

#include "platform/media/media_object.h"

namespace qv::test {

struct PassthroughOptions {
  uint32_t maxOutputPerCall = std::numeric_limits<uint32_t>::max();
  uint32_t heldBack = 0;  // bytes kept until Discontinuity
  bool refuseInputType = false;
};

struct PassthroughLog {
  int created = 0;
  int inputs = 0;
  int refusedInputs = 0;
  int outputCalls = 0;
  int discontinuities = 0;
  int flushes = 0;
  int freed = 0;
  std::vector<uint32_t> inputSizes;
  std::vector<bool> syncPoints;
  uint16_t inputFormatTag = 0;
  std::vector<uint8_t> outputFormat;  // the output type's format block
};

class PassthroughDecoder final : public MediaObject {
 public:
  PassthroughDecoder(PassthroughOptions options, std::shared_ptr<PassthroughLog> log);

  bool SetInputType(const MediaType& type) override;
  bool SetOutputType(const MediaType& type) override;
  bool AllocateStreamingResources() override { return inputSet_ && outputSet_; }
  void FreeStreamingResources() override { ++log_->freed; }
  InputResult ProcessInput(CMediaBuffer* buffer, bool syncPoint) override;
  OutputResult ProcessOutput(CMediaBuffer* buffer, bool* more) override;
  void Discontinuity() override;
  void Flush() override;

 private:
  size_t Releasable() const;

  PassthroughOptions options_;
  std::shared_ptr<PassthroughLog> log_;
  bool inputSet_ = false;
  bool outputSet_ = false;
  std::vector<uint8_t> held_;
  bool ended_ = false;  // a discontinuity released the held-back bytes
};

// Puts passthrough decoders in place of the plug-in's decoder objects for
// the scope; every one made shares the log.
class ScopedPassthrough {
 public:
  explicit ScopedPassthrough(PassthroughOptions options = {});
  ~ScopedPassthrough();
  ScopedPassthrough(const ScopedPassthrough&) = delete;
  ScopedPassthrough& operator=(const ScopedPassthrough&) = delete;
  PassthroughLog& log() { return *log_; }

 private:
  std::shared_ptr<PassthroughLog> log_;
};

}  // namespace qv::test
