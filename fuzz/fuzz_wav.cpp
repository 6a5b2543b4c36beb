// Fuzzes WAV opening and decoding through the real engine: the input is
// written to a file, opened by Engine_OpenFile (the whole chunk walk), then
// played to its end on the virtual device (the PCM or compressed loop, with
// the G.711 manager) after a seek derived from the input.
#include <unistd.h>

#include <chrono>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <mutex>
#include <string>

#include "engine/engine_api.h"
#include "engine/engine_services.h"
#include "platform/acm/compression.h"
#include "platform/audio/virtual_wave_out.h"
#include "platform/files/wide_file.h"
#include "platform/text/utf16.h"

namespace {

// Wakes the fuzzer when playback has ended.
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
  static const std::u16string path = qv::FromUtf8("/tmp/fuzz_wav_" + std::to_string(getpid()) + ".wav");
  return path;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  // Larger seeds are fuzzed by their first 64 KiB, which keeps runs fast.
  size = size > 65536 ? 65536 : size;
  {
    qv::WideFile file;
    if (!file.Open(InputPath(), qv::FileMode::CreateAlways)) return 0;
    if (file.Write(data, size) != static_cast<int64_t>(size)) return 0;
  }
  // One engine serves a run of inputs; it is renewed now and then because
  // the virtual device keeps everything it played.
  static const auto compression = qv::CreateG711CompressionManager();
  static StopSink sink;
  static qv::EngineHandle engine = nullptr;
  static int uses = 0;
  if (!engine || ++uses > 200) {
    qv::Engine_Destroy(engine);
    qv::EngineServices services;
    services.createWaveOut = [] { return std::make_unique<qv::VirtualWaveOut>(qv::VirtualWaveOut::Pace::Instant); };
    services.notify = &sink;
    services.compression = compression.get();
    engine = qv::Engine_CreateWithServices(services);
    qv::Engine_SetNotifyWindow(engine, reinterpret_cast<qv::WindowHandle>(1));
    qv::Engine_SetVolume(engine, 200);
    uses = 0;
  }
  if (qv::Engine_OpenFile(engine, InputPath().c_str())) {
    qv::TrackInfo info{};
    qv::Engine_GetTrackInfo(engine, &info);
    const int32_t length = qv::Engine_GetLength(engine);
    if (size > 0 && length > 0) qv::Engine_Seek(engine, static_cast<int32_t>(data[size - 1] * int64_t(length) / 256));
    const int stops = sink.Stops();
    if (qv::Engine_Play(engine)) sink.WaitForStop(stops + 1);
  }
  qv::Engine_CloseFile(engine);
  return 0;
}
