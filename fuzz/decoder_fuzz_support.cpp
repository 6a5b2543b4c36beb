#include "fuzz/decoder_fuzz_support.h"

#include <unistd.h>

#include <condition_variable>
#include <memory>
#include <mutex>

#include "engine/engine_api.h"
#include "engine/engine_services.h"
#include "platform/audio/virtual_wave_out.h"
#include "platform/files/wide_file.h"
#include "platform/text/utf16.h"

namespace qv::fuzz {

namespace {

// Wakes the fuzzer when playback has ended.
class StopSink : public NotifySink {
 public:
  void Post(WindowHandle, uint32_t message, uintptr_t wParam, intptr_t) override {
    if (message != kWmEngineStatus || wParam != 0) return;
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

}  // namespace

std::u16string WriteInput(const uint8_t* data, size_t size, const char* extension) {
  // Larger seeds are fuzzed by their first 64 KiB, which keeps runs fast.
  size = size > 65536 ? 65536 : size;
  const std::u16string path = FromUtf8("/tmp/fuzz_decoder_" + std::to_string(getpid()) + extension);
  WideFile file;
  if (!file.Open(path, FileMode::CreateAlways)) return {};
  if (file.Write(data, size) != static_cast<int64_t>(size)) return {};
  return path;
}

void RunEngine(const std::u16string& path, uint8_t seekByte) {
  // One engine serves a run of inputs; it is renewed now and then because
  // the virtual device keeps everything it played.
  static StopSink sink;
  static EngineHandle engine = nullptr;
  static int uses = 0;
  if (!engine || ++uses > 200) {
    Engine_Destroy(engine);
    EngineServices services;
    services.createWaveOut = [] { return std::make_unique<VirtualWaveOut>(VirtualWaveOut::Pace::Instant); };
    services.notify = &sink;
    engine = Engine_CreateWithServices(services);
    Engine_SetNotifyWindow(engine, reinterpret_cast<WindowHandle>(1));
    Engine_SetVolume(engine, 200);
    uses = 0;
  }
  TagInfo fileTags{};
  Engine_GetFileTags(engine, path.c_str(), &fileTags);
  if (Engine_OpenFile(engine, path.c_str())) {
    TrackInfo info{};
    Engine_GetTrackInfo(engine, &info);
    TagInfo tags{};
    Engine_GetTags(engine, &tags);
    const int32_t length = Engine_GetLength(engine);
    if (length > 0) Engine_Seek(engine, static_cast<int32_t>(seekByte * int64_t(length) / 256));
    const int stops = sink.Stops();
    if (Engine_Play(engine)) sink.WaitForStop(stops + 1);
    Engine_GetTags(engine, &tags);
  }
  Engine_CloseFile(engine);
}

}  // namespace qv::fuzz
