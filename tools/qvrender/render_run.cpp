#include "tools/qvrender/render_run.h"

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <mutex>

#include "engine/engine_api.h"
#include "engine/engine_services.h"
#include "engine/source_ops.h"
#include "platform/audio/virtual_wave_out.h"
#include "platform/files/wide_file.h"
#include "platform/text/utf16.h"
#include "platform/threads/process_cpu_time.h"
#include "tools/qvrender/json_out.h"
#include "tools/qvrender/recording_wave_out.h"

namespace qvrender {

namespace {

using Clock = std::chrono::steady_clock;

// Collects WM_ENGINE_STATUS in order. On status 1 it reads the ring size,
// as the main window reads the track information when playing starts.
// With the spectrum wanted it reads the levels at every WM_ENGINE_BLOCK.
class StatusCollector : public qv::NotifySink {
 public:
  void SetEngine(qv::EngineHandle engine) { engine_ = engine; }
  void WantSpectrum() { wantSpectrum_ = true; }

  void Post(qv::WindowHandle, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    if (message == qv::kWmEngineBlock && wantSpectrum_ && engine_) {
      qv::SpectrumBands bands{};
      qv::Engine_GetSpectrum(engine_, &bands);
      std::lock_guard<std::mutex> lock(mutex_);
      spectrumBefore_ = spectrumLatest_;
      spectrumLatest_ = bands;
      return;
    }
    if (message != qv::kWmEngineStatus) return;
    uint32_t total = 0;
    if (wParam == 1 && engine_) qv::Engine_GetBufferInfo(engine_, &total, nullptr);
    std::lock_guard<std::mutex> lock(mutex_);
    statuses_.emplace_back(static_cast<int>(wParam), static_cast<int>(lParam));
    if (total > bufferTotal_) bufferTotal_ = total;
    // The finish clears the levels and then posts one WM_ENGINE_BLOCK before
    // status 0, so the levels after the last block are the ones before it.
    if (wParam == 0 && stops_ == 0) spectrumAtEnd_ = spectrumBefore_;
    if (wParam == 0) ++stops_;
    changed_.notify_all();
  }

  int Stops() {
    std::lock_guard<std::mutex> lock(mutex_);
    return stops_;
  }
  // Waits up to `timeout` for the end of playback (status 0); true once it came.
  bool WaitForStop(std::chrono::milliseconds timeout) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, timeout, [this] { return stops_ > 0; });
  }
  uint32_t BufferTotal() {
    std::lock_guard<std::mutex> lock(mutex_);
    return bufferTotal_;
  }
  std::vector<std::pair<int, int>> Statuses() {
    std::lock_guard<std::mutex> lock(mutex_);
    return statuses_;
  }
  void NoteBufferTotal(uint32_t total) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (total > bufferTotal_) bufferTotal_ = total;
  }
  qv::SpectrumBands SpectrumAtEnd() {
    std::lock_guard<std::mutex> lock(mutex_);
    return spectrumAtEnd_;
  }

 private:
  qv::EngineHandle engine_ = nullptr;
  std::mutex mutex_;
  std::condition_variable changed_;
  std::vector<std::pair<int, int>> statuses_;
  uint32_t bufferTotal_ = 0;
  int stops_ = 0;
  bool wantSpectrum_ = false;
  qv::SpectrumBands spectrumLatest_{};
  qv::SpectrumBands spectrumBefore_{};
  qv::SpectrumBands spectrumAtEnd_{};
};

int32_t* OptionField(qv::EngineOptions& o, const std::string& name) {
  if (name == "OutputBufferLen") return &o.OutputBufferLen;
  if (name == "OutputPrebuffer") return &o.OutputPrebuffer;
  if (name == "ScanCompletely") return &o.ScanCompletely;
  if (name == "OutputFade") return &o.OutputFade;
  if (name == "SuppressZeroSamples") return &o.SuppressZeroSamples;
  if (name == "AlwaysOpenDev") return &o.AlwaysOpenDev;
  return nullptr;
}

const char* KindName(int kind) {
  static const char* const kNames[] = {"None", "MpegAudio", "OggVorbis", "Wave", "CdAudio", "Plugin", "NetworkStream"};
  return kind >= 0 && kind <= 6 ? kNames[kind] : "None";
}

std::string TagsJson(const qv::TagInfo& t) {
  JsonObject o;
  o.Text("title", qv::ToUtf8(t.Title))
      .Text("artist", qv::ToUtf8(t.Artist))
      .Text("album", qv::ToUtf8(t.Album))
      .Text("comment", qv::ToUtf8(t.Comment))
      .Text("genre", qv::ToUtf8(t.Genre))
      .Int("year", t.Year)
      .Int("track", t.Track);
  return o.Str();
}

// Why Engine_OpenFile refused the file, for the one-line message.
std::string OpenFailureReason(const std::u16string& path) {
  const std::u16string_view ext = qv::PathExtension(path);
  const qv::SourceKind kind = qv::KindForExtension(ext);
  if (kind == qv::SourceKind::None)
    return "no decoder for the extension \"" + qv::ToUtf8(ext) + "\" (extensions match in all lower or all upper case)";
  if (!qv::SourceOpsFor(kind)) return std::string(KindName(int(kind))) + " files are not supported by this engine yet";
  if (kind != qv::SourceKind::CdAudio && !qv::WideFileExists(path)) return "cannot read the file";
  return std::string("the file could not be opened as ") + KindName(int(kind)) + " (malformed or unsupported)";
}

bool WriteWav(const std::u16string& path, const qv::PcmFormat& f, const std::vector<uint8_t>& data) {
  qv::WideFile file;
  if (!file.Open(path, qv::FileMode::CreateAlways)) return false;
  const uint32_t size = data.size() > 0xFFFFFFFFu - 36 ? 0xFFFFFFFFu - 36 : static_cast<uint32_t>(data.size());
  uint8_t h[44] = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' ', 16, 0, 0, 0, 1, 0};
  auto put16 = [&h](int at, uint32_t v) {
    h[at] = uint8_t(v);
    h[at + 1] = uint8_t(v >> 8);
  };
  auto put32 = [&h](int at, uint32_t v) {
    for (int i = 0; i < 4; ++i) h[at + i] = uint8_t(v >> (8 * i));
  };
  put32(4, 36 + size);
  put16(22, f.channels);
  put32(24, f.samplesPerSec);
  put32(28, f.avgBytesPerSec);
  put16(32, f.blockAlign);
  put16(34, f.bitsPerSample);
  std::memcpy(h + 36, "data", 4);
  put32(40, size);
  return file.Write(h, sizeof h) == sizeof h && file.Write(data.data(), size) == int64_t(size);
}

}  // namespace

int Render(const RenderArgs& args) {
  std::unique_ptr<qv::WaveOutDriver> device;
  qv::VirtualWaveOut* virtualDevice = nullptr;
  bool alwaysOpen = false;
  for (const auto& [name, value] : args.options)
    if (name == "AlwaysOpenDev") alwaysOpen = value != 0;
  // A stop or seek at a position needs a device the polling below can
  // follow: one that completes blocks at once may play a whole file between
  // two looks at the position.
  const bool positionActions = args.stopAt.has_value() || !args.seekAt.empty();
  if (args.systemDevice) {
    device = qv::CreateSystemWaveOut();
    if (!device) {
      std::fprintf(stderr, "qvrender: --device waveout needs the Win32 build (this build has no system wave-out)\n");
      return kExitUsage;
    }
  } else {
    // Always-open mode feeds the device without pause: paced in real time
    // there, so that the silence between blocks does not spin. The device
    // only counts: the recorder below keeps the bytes when -o wants them.
    auto owned = std::make_unique<qv::VirtualWaveOut>(
        alwaysOpen || positionActions ? qv::VirtualWaveOut::Pace::RealTime : qv::VirtualWaveOut::Pace::Instant,
        qv::VirtualWaveOut::Keep::CountOnly);
    virtualDevice = owned.get();  // the engine owns it until Engine_Destroy
    device = std::move(owned);
  }
  auto recorder = new RecordingWaveOut(std::move(device), !args.output.empty());
  StatusCollector collector;
  qv::EngineServices services;
  services.createWaveOut = [recorder] { return std::unique_ptr<qv::WaveOutDriver>(recorder); };
  services.notify = &collector;
  qv::EngineHandle engine = qv::Engine_CreateWithServices(services);
  if (!engine) {
    std::fprintf(stderr, "qvrender: the engine could not be created\n");
    return kExitPlaybackFailed;
  }
  collector.SetEngine(engine);
  qv::Engine_SetNotifyWindow(engine, reinterpret_cast<qv::WindowHandle>(1));

  qv::EngineOptions options;
  qv::Engine_GetOptions(engine, &options);
  for (const auto& [name, value] : args.options) {
    int32_t* field = OptionField(options, name);
    if (!field) {
      std::fprintf(stderr, "qvrender: unknown option %s\n%s", name.c_str(), kUsage);
      qv::Engine_Destroy(engine);
      return kExitUsage;
    }
    *field = value;
  }
  if (!qv::Engine_SetOptions(engine, &options)) {
    std::fprintf(stderr, "qvrender: Engine_SetOptions refused the options\n");
    qv::Engine_Destroy(engine);
    return kExitUsage;
  }
  qv::Engine_SetVolume(engine, args.volume);
  if (!args.effectParams.empty()) {
    std::vector<uint8_t> bytes;
    qv::EffectParams record{};
    if (!qv::ReadWholeFile(args.effectParams, sizeof record, bytes) || bytes.size() != sizeof record) {
      std::fprintf(stderr, "qvrender: --effect-params: %s is not a %zu-byte EffectParams record\n",
                   qv::ToUtf8(args.effectParams).c_str(), sizeof record);
      qv::Engine_Destroy(engine);
      return kExitUsage;
    }
    std::memcpy(&record, bytes.data(), sizeof record);  // little-endian, as stored
    qv::Engine_SetEffectParams(engine, &record);
  }
  if (!args.qbsParams.empty()) {
    std::vector<uint8_t> bytes;
    qv::QbsParams record{};
    if (!qv::ReadWholeFile(args.qbsParams, sizeof record, bytes) || bytes.size() != sizeof record) {
      std::fprintf(stderr, "qvrender: --qbs-params: %s is not a %zu-byte QbsParams record\n",
                   qv::ToUtf8(args.qbsParams).c_str(), sizeof record);
      qv::Engine_Destroy(engine);
      return kExitUsage;
    }
    std::memcpy(&record, bytes.data(), sizeof record);  // little-endian, as stored
    qv::Engine_SetSurroundParams(engine, &record);
  }
  if (args.spectrumMode) {
    collector.WantSpectrum();
    qv::Engine_SetSpectrumMode(engine, *args.spectrumMode);
    qv::Engine_EnableSpectrum(engine, 1);
  }
  for (const auto& e : args.smallEffects) {
    const qv::SmallEffectParams record{e[1], e[2], e[3]};
    if (!qv::Engine_SetEffectByType(engine, e[0], &record)) {
      std::fprintf(stderr, "qvrender: --small-effect: no effect of type %d\n", e[0]);
      qv::Engine_Destroy(engine);
      return kExitUsage;
    }
  }

  JsonObject report;
  const bool opened = qv::Engine_OpenFile(engine, args.input.c_str()) != 0;
  report.Bool("opened", opened);
  if (!opened) {
    std::printf("%s\n", report.Str().c_str());
    std::fprintf(stderr, "qvrender: %s: %s\n", qv::ToUtf8(args.input).c_str(), OpenFailureReason(args.input).c_str());
    qv::Engine_Destroy(engine);
    return kExitNotOpened;
  }

  report.Text("source_kind", KindName(qv::Engine_GetSourceKind(engine)));
  report.Int("length_ms", qv::Engine_GetLength(engine));
  qv::TrackInfo info{};
  qv::Engine_GetTrackInfo(engine, &info);
  report.Raw("track_info", JsonObject()
                               .Int("mpeg_version", info.MpegVersion)
                               .Int("mpeg_layer", info.MpegLayer)
                               .Int("channels", info.Channels)
                               .Int("sample_rate", info.SampleRate)
                               .Int("bitrate_kbps", info.BitrateKbps)
                               .Int("duration_ms", info.DurationMs)
                               .Text("time_text", qv::ToUtf8(info.TimeText))
                               .Str());
  qv::TagInfo tags{};
  report.Raw("tags", qv::Engine_GetTags(engine, &tags) ? TagsJson(tags) : "null");
  qv::TagInfo fileTags{};
  report.Raw("file_tags", qv::Engine_GetFileTags(engine, args.input.c_str(), &fileTags) ? TagsJson(fileTags) : "null");

  int exitCode = kExitPlayed;
  if (!args.info) {
    if (args.seek) {
      // What the seek returned and the position it set, before playing moves it.
      report.Int("seek_result", qv::Engine_Seek(engine, *args.seek));
      report.Int("seek_position_ms", qv::Engine_GetPosition(engine));
    }
    const auto start = Clock::now();
    const double cpuStart = qv::ProcessCpuSeconds();
    int32_t position = 0;
    if (!qv::Engine_Play(engine)) {
      std::fprintf(stderr, "qvrender: Engine_Play refused to start\n");
      exitCode = kExitPlaybackFailed;
    } else {
      std::vector<bool> seekDone(args.seekAt.size(), false);
      size_t seeksLeft = args.seekAt.size();
      bool paced = virtualDevice && positionActions && !alwaysOpen;
      // The position is looked at every millisecond while a seek or stop
      // waits for it, else every 10 ms: a waking thread costs the playback
      // it measures, most of all under wine. The end ends the wait at once.
      auto interval = std::chrono::milliseconds(positionActions ? 1 : 10);
      while (collector.Stops() == 0) {
        // The position while the output is open: the finish closes it
        // and clears the position before it reports the end.
        const int32_t now = qv::Engine_GetPosition(engine);
        uint32_t total = 0;
        qv::Engine_GetBufferInfo(engine, &total, nullptr);
        collector.NoteBufferTotal(total);
        if (total > 0) position = now;
        for (size_t i = 0; i < args.seekAt.size(); ++i) {
          if (seekDone[i] || position < args.seekAt[i].first) continue;
          seekDone[i] = true;
          --seeksLeft;
          qv::Engine_Seek(engine, args.seekAt[i].second);
          break;
        }
        if (paced && seeksLeft == 0 && !args.stopAt) {
          // Nothing waits for a position any more: the rest plays at once.
          virtualDevice->SetPace(qv::VirtualWaveOut::Pace::Instant);
          paced = false;
        }
        if (args.stopAt && position >= *args.stopAt) {
          qv::Engine_Stop(engine);
          break;
        }
        if (!args.stopAt && seeksLeft == 0) interval = std::chrono::milliseconds(10);
        collector.WaitForStop(interval);
      }
    }
    const double wall = std::chrono::duration<double>(Clock::now() - start).count();
    const double cpu = qv::ProcessCpuSeconds() - cpuStart;
    qv::Engine_CloseDevice(engine);

    const qv::PcmFormat format = recorder->Format();
    const uint64_t frames = format.blockAlign ? recorder->BytesWritten() / format.blockAlign : 0;
    std::string list = "[";
    int stopError = 0;
    for (const auto& [w, l] : collector.Statuses()) {
      if (list.size() > 1) list += ", ";
      list += "[" + std::to_string(w) + ", " + std::to_string(l) + "]";
      if (w == 0 && l != 0) stopError = l;
    }
    list += "]";
    if (stopError != 0) {
      exitCode = kExitPlaybackFailed;
      std::fprintf(stderr, "qvrender: %s: playback stopped with error %d (the file could not be decoded or read)\n",
                   qv::ToUtf8(args.input).c_str(), stopError);
    }
    report.Int("buffer_total_bytes", collector.BufferTotal());
    report.Raw("status", list);
    report.Int("frames_out", static_cast<int64_t>(frames));
    report.Int("bits_per_sample", format.bitsPerSample);
    report.Int("position_ms", position);
    report.Number("wall_s", wall);
    const double audio = format.samplesPerSec ? double(frames) / format.samplesPerSec : 0.0;
    report.Number("x_realtime", wall > 0 ? audio / wall : 0.0);
    // The whole process's CPU time over the same span as wall_s (every
    // thread: playback, device, this one's polling).
    report.Number("cpu_s", cpu);
    if (args.spectrumMode) {
      const qv::SpectrumBands bands = collector.SpectrumAtEnd();
      std::string levels = "[";
      for (int32_t level : bands.level) levels += (levels.size() > 1 ? "," : "") + std::to_string(level);
      report.Raw("spectrum", levels + "]");
    }
    if (!args.output.empty() && !WriteWav(args.output, format, recorder->Data())) {
      std::fprintf(stderr, "qvrender: cannot write %s\n", qv::ToUtf8(args.output).c_str());
      exitCode = kExitUsage;
    }
  }
  std::printf("%s\n", report.Str().c_str());
  qv::Engine_Destroy(engine);
  return exitCode;
}

}  // namespace qvrender
