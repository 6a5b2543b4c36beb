// Shared pieces of the engine tests: an engine wired to the virtual device,
// a recording notification sink, the G.711 compression manager and a fake CD
// drive; WAV files built byte by byte; and a model of the sample routines.
#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include "engine/engine_api.h"
#include "engine/engine_services.h"
#include "platform/acm/compression.h"
#include "platform/audio/virtual_wave_out.h"
#include "platform/cd/fake_cd_drive.h"
#include "platform/notify/recording_notify_sink.h"

namespace qv::test {

using Bytes = std::vector<uint8_t>;
using StatusList = std::vector<std::pair<int, int>>;

class TestEngine {
 public:
  explicit TestEngine(VirtualWaveOut::Pace pace = VirtualWaveOut::Pace::Instant,
                      AudioCompressionManager* compression = nullptr);
  ~TestEngine();
  TestEngine(const TestEngine&) = delete;
  TestEngine& operator=(const TestEngine&) = delete;

  EngineHandle handle() const { return engine_; }
  VirtualWaveOut& device() { return *device_; }
  RecordingNotifySink& sink() { return sink_; }
  FakeCdDrive& cd() { return cd_; }

  // Sets some options on top of the current ones; false when refused.
  bool SetOptions(const std::function<void(EngineOptions&)>& change);
  // Plays the open source to its end (or failure) and returns the statuses.
  StatusList PlayToEnd();
  // Waits for the n-th status 0.
  bool WaitStopped(int nth = 1);

 private:
  RecordingNotifySink sink_;
  std::unique_ptr<AudioCompressionManager> ownCompression_;
  FakeCdDrive cd_;
  VirtualWaveOut* device_ = nullptr;  // owned by the engine
  EngineHandle engine_ = nullptr;
};

// Files.
// A path as the program sees it: under wine the build folder is on Z:.
std::u16string HostPath(const std::string& unixPath);
std::u16string FixturePath(const std::string& name);
std::u16string TempPath(const std::string& name);
bool WriteBytes(const std::u16string& path, const Bytes& bytes);
Bytes ReadFixtureData(const std::string& name);  // the sample data of a PCM fixture

// WAV files, chunk by chunk.
class WavBuilder {
 public:
  WavBuilder();
  // A chunk with its pad byte when the payload is odd; `declared` overrides
  // the size written in its header.
  WavBuilder& Chunk(const char* id, const Bytes& payload, int64_t declared = -1);
  WavBuilder& Fmt(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits);
  WavBuilder& Data(const Bytes& data) { return Chunk("data", data); }
  WavBuilder& Raw(const Bytes& bytes);
  Bytes Build() const;  // with the RIFF size filled in

 private:
  Bytes bytes_;
};

Bytes FmtPayload(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, uint32_t avgBytes,
                 uint16_t blockAlign);
Bytes PcmWav(uint16_t channels, uint32_t rate, uint16_t bits, const Bytes& data);

// Sample data: frame f, channel c.
Bytes Pcm16(uint32_t frames, int channels, const std::function<int(uint32_t f, int c)>& sample);
Bytes Pcm8(uint32_t frames, int channels, const std::function<int(uint32_t f, int c)>& sample);
// A ramp that never repeats within a few seconds and is never near silence.
int RampSample(uint32_t frame, int channel);

// What the engine's gain stages make of a block: 16-bit clamp(s*g >> 8),
// 8-bit clamp(((b-128)*g >> 8) + 128); other widths untouched.
Bytes Scaled(const Bytes& pcm, int bits, int gain);

// No status follows itself.
bool NoRepeatedStatus(const StatusList& statuses);

// Polls until the predicate holds (generous limit); false on time-out.
bool WaitUntil(const std::function<bool()>& predicate, std::chrono::milliseconds limit = std::chrono::seconds(30));

}  // namespace qv::test
