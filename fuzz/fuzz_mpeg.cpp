// Fuzzes MPEG audio: the decoder over libmad on an exactly sized copy of the
// input (so that any read past the guard bytes is caught), the header and
// tag parsers, and the engine's MPEG source: opening with both length
// measurements, tags, seeks in both modes and playing to the end.
#include <unistd.h>

#include <algorithm>
#include <condition_variable>
#include <cstdint>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

#include "engine/engine_api.h"
#include "engine/engine_services.h"
#include "engine/mpeg/id3v1.h"
#include "engine/mpeg/mpeg_decoder.h"
#include "engine/mpeg/mpeg_file_test.h"
#include "platform/audio/virtual_wave_out.h"
#include "platform/files/wide_file.h"
#include "platform/text/utf16.h"

namespace {

constexpr size_t kGuardBytes = 8;  // what the decode loop appends at the end of a file

class StopSink : public qv::NotifySink {
 public:
  void Post(qv::WindowHandle, uint32_t message, uintptr_t wParam, intptr_t) override {
    if (message != qv::kWmEngineStatus || wParam != 0) return;
    std::lock_guard<std::mutex> lock(mutex_);
    ++stops_;
    cv_.notify_all();
  }
  void WaitForStop(int nth) {
    std::unique_lock<std::mutex> lock(mutex_);
    cv_.wait(lock, [this, nth] { return stops_ >= nth; });
  }
  int Stops() {
    std::lock_guard<std::mutex> lock(mutex_);
    return stops_;
  }

 private:
  std::mutex mutex_;
  std::condition_variable cv_;
  int stops_ = 0;
};

const std::u16string& InputPath() {
  static const std::u16string path = qv::FromUtf8("/tmp/fuzz_mpeg_" + std::to_string(getpid()) + ".mp3");
  return path;
}

// The decoder the way the decode loop drives it, over the input and its
// guard bytes, into an output of a size the input chooses.
void DecodeDirectly(const uint8_t* data, size_t size) {
  const int channels = size > 0 && (data[0] & 1) ? 1 : 2;
  const size_t outBytes = size > 1 ? (size_t(data[1]) % 48 + 1) * 4 * 24 : 4096;
  std::unique_ptr<uint8_t[]> input(new uint8_t[size + kGuardBytes]);
  if (size > 0) std::memcpy(input.get(), data, size);
  std::memset(input.get() + size, 0, kGuardBytes);
  std::unique_ptr<uint8_t[]> out(new uint8_t[outBytes]);
  qv::MpegDecoder decoder(channels);
  decoder.SkipSamples(size > 2 ? data[2] * 37u : 0, 1152);
  qv::DitherChannel dither[2];
  const size_t total = size + kGuardBytes;
  size_t at = 0;
  while (at < total) {
    size_t used = 0, written = 0;
    const bool holding = decoder.HasPending();
    const auto r = decoder.Decode(holding ? nullptr : input.get() + at, holding ? 0 : total - at, out.get(), outBytes,
                                  dither, &used, &written);
    switch (r) {
      case qv::MpegDecoder::kFrameDone:
      case qv::MpegDecoder::kOutputFull:
        at += used;
        break;
      case qv::MpegDecoder::kFatal:
        decoder.Reset();
        ++at;
        break;
      case qv::MpegDecoder::kRecoverable:
      case qv::MpegDecoder::kNeedInput:
        ++at;
        break;
    }
  }
}

void ThroughTheEngine(const uint8_t* data, size_t size) {
  {
    qv::WideFile file;
    if (!file.Open(InputPath(), qv::FileMode::CreateAlways)) return;
    if (file.Write(data, size) != static_cast<int64_t>(size)) return;
  }
  static StopSink sink;
  static qv::EngineHandle engine = nullptr;
  static int uses = 0;
  if (!engine || ++uses > 200) {
    qv::Engine_Destroy(engine);
    qv::EngineServices services;
    services.createWaveOut = [] { return std::make_unique<qv::VirtualWaveOut>(qv::VirtualWaveOut::Pace::Instant); };
    services.notify = &sink;
    engine = qv::Engine_CreateWithServices(services);
    qv::Engine_SetNotifyWindow(engine, reinterpret_cast<qv::WindowHandle>(1));
    uses = 0;
  }
  const int playIn = size > 3 ? data[3] & 1 : 0;
  for (int scan = 0; scan < 2; ++scan) {
    qv::EngineOptions options;
    qv::Engine_GetOptions(engine, &options);
    options.ScanCompletely = scan;
    qv::Engine_SetOptions(engine, &options);
    if (qv::Engine_OpenFile(engine, InputPath().c_str())) {
      qv::TrackInfo info{};
      qv::Engine_GetTrackInfo(engine, &info);
      qv::TagInfo tags{};
      qv::Engine_GetTags(engine, &tags);
      const int32_t length = qv::Engine_GetLength(engine);
      if (size > 4 && length > 0)
        qv::Engine_Seek(engine, static_cast<int32_t>(data[size - 1] * int64_t(length) / 256));
      if (scan == playIn) {
        const int stops = sink.Stops();
        if (qv::Engine_Play(engine)) sink.WaitForStop(stops + 1);
      }
    }
    qv::Engine_CloseFile(engine);
  }
  qv::TagInfo fileTags{};
  qv::Engine_GetFileTags(engine, InputPath().c_str(), &fileTags);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Larger seeds are fuzzed by their first 16 KiB (a second or so of
  // audio), which keeps runs fast.
  size = std::min<size_t>(size, 16384);
  DecodeDirectly(data, size);
  {
    std::unique_ptr<uint8_t[]> head(new uint8_t[std::min(size, qv::kMpegTestBytes) + 1]);
    std::memcpy(head.get(), data, std::min(size, qv::kMpegTestBytes));
    qv::LooksLikeMpegAudio(head.get(), std::min(size, qv::kMpegTestBytes));
  }
  if (size >= qv::kId3v1Bytes) {
    qv::TagInfo tags{};
    qv::ParseId3v1(data + size - qv::kId3v1Bytes, &tags);
  }
  ThroughTheEngine(data, size);
  return 0;
}
