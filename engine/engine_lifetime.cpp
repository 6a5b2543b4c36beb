// Creation, destruction, options and the queries of the call interface.
#include <algorithm>
#include <limits>

#include "engine/player_engine.h"
#include "engine/plugins/plugin_registry.h"
#include "platform/audio/virtual_wave_out.h"
#include "platform/text/utf16.h"
#include "platform/threads/thread_priority.h"

namespace qv {

namespace {

std::unique_ptr<WaveOutDriver> DefaultWaveOut() {
  auto system = CreateSystemWaveOut();
  if (system) return system;
  // No sound hardware natively: a device that plays in real time and only
  // counts what it played (nobody reads it, and a player runs for hours).
  return std::make_unique<VirtualWaveOut>(VirtualWaveOut::Pace::RealTime, VirtualWaveOut::Keep::CountOnly);
}

int32_t FramesToMs(uint64_t frames, int32_t rate) {
  if (rate <= 0) return 0;
  // 64-bit: hours of audio at 44100 Hz overflow 32 bits once multiplied by 1000.
  uint64_t ms = frames * 1000u / static_cast<uint64_t>(rate);
  return static_cast<int32_t>(std::min<uint64_t>(ms, std::numeric_limits<int32_t>::max()));
}

}  // namespace

PlayerEngine::PlayerEngine(const EngineServices& services) {
  driver_ = services.createWaveOut ? services.createWaveOut() : DefaultWaveOut();
  if (!driver_) driver_ = DefaultWaveOut();
  if (services.notify) {
    notify_ = services.notify;
  } else {
    ownedNotify_ = CreateSystemNotifySink();
    notify_ = ownedNotify_.get();
  }
  if (services.compression) {
    compression_ = services.compression;
  } else {
    ownedCompression_ = CreateSystemCompressionManager();
    compression_ = ownedCompression_.get();
  }
  createCdDevice_ = services.createCdDevice ? services.createCdDevice : [] { return CreateSystemCdDevice(); };
  output_ = std::make_unique<OutputDevice>(driver_.get());

  uint32_t bufferMs = 500;
  bool alwaysOpen = false, fade = false;
  output_->GetConfiguration(&bufferMs, &alwaysOpen, &fade);
  options_.ThreadPriority = kPriorityAboveNormal;
  options_.OutputBufferLen = static_cast<int32_t>(bufferMs);
  options_.OutputPrebuffer = 10;
  options_.ScanCompletely = 0;
  options_.OutputFade = 0;
  options_.SuppressZeroSamples = 0;
  options_.AlwaysOpenDev = 0;
  plugins_ = std::make_unique<PluginRegistry>();
  RegisterBuiltInPlugins(*plugins_);
}

PlayerEngine::~PlayerEngine() {
  CloseFile();
  output_->Close();
  JoinFinishedThread();
  plugins_->UnregisterAll();
}

int PlayerEngine::PluginCount() const { return plugins_->Count(); }

std::unique_ptr<CdDevice> PlayerEngine::NewCdDevice() { return createCdDevice_(); }

void PlayerEngine::SetSource(const StreamFormat& format, uint64_t totalFrames, int bitsPerSample,
                             std::unique_ptr<SourceState> state) {
  format_ = format;
  totalFrames_ = totalFrames;
  bits_ = bitsPerSample;
  state_ = std::move(state);
}

int32_t PlayerEngine::LengthMs() const {
  if (kind_ == SourceKind::None) return 0;
  return FramesToMs(totalFrames_, format_.sampleRate);
}

int32_t PlayerEngine::PositionMs() {
  CountedLockGuard api(apiLock_);
  if (kind_ == SourceKind::None) return 0;
  uint64_t frames = basePosition_.load();
  if (Status() != PlayerStatus::Stopped) frames += output_->Position();
  return FramesToMs(frames, format_.sampleRate);
}

bool PlayerEngine::GetTrackInfo(TrackInfo* info) const {
  if (kind_ == SourceKind::None) return false;
  info->MpegVersion = format_.mpegVersion;
  info->MpegLayer = format_.mpegLayer;
  info->Channels = format_.channels;
  info->SampleRate = format_.sampleRate;
  info->BitrateKbps = format_.bitrateKbps;
  info->DurationMs = LengthMs();
  if (info->TimeText[0] == 0) FormatTimeText(info->DurationMs, info->TimeText);
  return true;
}

bool PlayerEngine::GetTags(TagInfo* tags) {
  if (!ops_ || !ops_->tags) return false;
  return ops_->tags(*this, tags);
}

bool PlayerEngine::GetFileTags(const char16_t* path, TagInfo* tags) {
  for (SourceKind kind : kFileTagOrder) {
    const SourceOps* ops = SourceOpsFor(kind);
    if (ops && ops->fileTags && ops->fileTags(*this, path, tags)) return true;
  }
  return false;
}

EngineOptions PlayerEngine::Options() const { return options_; }

bool PlayerEngine::SetOptions(const EngineOptions& options) {
  CountedLockGuard api(apiLock_);
  if (Status() != PlayerStatus::Stopped || playbackActive_.load()) return false;
  if (options.OutputPrebuffer < 0 || options.OutputPrebuffer > 100) return false;
  const bool outputChanged = options.OutputBufferLen != options_.OutputBufferLen ||
                             options.AlwaysOpenDev != options_.AlwaysOpenDev ||
                             options.OutputFade != options_.OutputFade;
  if (outputChanged) {
    // Checked first so that a refused length leaves the open device alone.
    if (options.OutputBufferLen < 10) return false;
    // The thread of a finished playback may still be leaving; it no longer
    // touches the output once the status is Stopped.
    JoinFinishedThread();
    output_->Close();
    if (!output_->Configure(static_cast<uint32_t>(options.OutputBufferLen), options.AlwaysOpenDev != 0,
                            options.OutputFade != 0))
      return false;
  }
  options_ = options;
  return true;
}

void PlayerEngine::GetBufferInfo(uint32_t* totalBytes, uint32_t* queuedBytes) const {
  uint32_t total = 0, queued = 0;
  output_->GetBufferInfo(&total, &queued);
  if (totalBytes) *totalBytes = total;
  if (queuedBytes) *queuedBytes = queued;
}

}  // namespace qv
