// The engine object behind the call interface. Its operations are split over
// several files: engine_lifetime.cpp (creation, options, queries),
// engine_source.cpp (open and close), engine_transport.cpp (play, pause,
// stop, seek, volume), playback_thread.cpp (thread body, prepare, finish)
// and block_writer.cpp (processing and submitting one block).
//
// Locks, in the order they may be taken: ApiLock, DecodeLock, the status
// mutex, then the output device's own locks.
#pragma once

#include <atomic>
#include <cstdint>
#include <memory>
#include <mutex>
#include <string>
#include <thread>

#include "engine/engine_api.h"
#include "engine/engine_effects.h"
#include "engine/engine_services.h"
#include "engine/locked_file.h"
#include "engine/output/output_device.h"
#include "engine/source_ops.h"
#include "platform/sync/counted_lock.h"
#include "platform/sync/event.h"

namespace qv {

class PluginRegistry;

// Set by the opener: what the output is opened for.
struct StreamFormat {
  int32_t mpegVersion = 0;
  int32_t mpegLayer = 0;
  int32_t channels = 0;
  int32_t sampleRate = 0;
  int32_t bitrateKbps = 0;
  int32_t frameBytes = 0;  // MPEG average frame size
  int32_t samplesPerFrame = 0;
};

// Kind-specific state, made by the opener and freed by the close hook.
class SourceState {
 public:
  virtual ~SourceState() = default;
};

// The output block a decode loop is filling.
struct PendingBlock {
  WaveBlock* block = nullptr;
  uint32_t freeBytes = 0;
};

class PlayerEngine {
 public:
  explicit PlayerEngine(const EngineServices& services);
  ~PlayerEngine();
  PlayerEngine(const PlayerEngine&) = delete;
  PlayerEngine& operator=(const PlayerEngine&) = delete;

  // --- The call interface (engine_api.cpp forwards here).
  bool OpenFile(const char16_t* path);
  bool OpenStream(const char16_t* url);
  void CloseFile();
  bool Play();
  bool Pause();
  bool Stop();
  bool Seek(int32_t ms);
  int SetVolume(int volume);
  void CloseDevice();

  PlayerStatus Status() const { return static_cast<PlayerStatus>(status_.load()); }
  SourceKind Kind() const { return kind_; }
  int32_t LengthMs() const;
  int32_t PositionMs();
  bool GetTrackInfo(TrackInfo* info) const;
  bool GetTags(TagInfo* tags);
  bool GetFileTags(const char16_t* path, TagInfo* tags);
  EngineOptions Options() const;
  bool SetOptions(const EngineOptions& options);
  void GetBufferInfo(uint32_t* totalBytes, uint32_t* queuedBytes) const;
  StreamState GetStreamState() const { return StreamState::NoStream; }
  int PluginCount() const;
  PluginRegistry& Plugins() { return *plugins_; }
  void SetNotifyWindow(WindowHandle window) { window_.store(window); }
  EngineEffects& Effects() { return effects_; }

  // --- For the source kinds: opening.
  // Records what a successful open found.
  void SetSource(const StreamFormat& format, uint64_t totalFrames, int bitsPerSample,
                 std::unique_ptr<SourceState> state);
  void SetCurrentPath(std::u16string_view path) { currentPath_ = path; }
  const std::u16string& CurrentPath() const { return currentPath_; }
  template <class T>
  T* State() {
    return static_cast<T*>(state_.get());
  }
  LockedFile& File() { return file_; }
  AudioCompressionManager& Compression() { return *compression_; }
  std::unique_ptr<CdDevice> NewCdDevice();
  const StreamFormat& Format() const { return format_; }
  uint64_t TotalFrames() const { return totalFrames_; }
  int BitsPerSample() const { return bits_; }

  // --- For the source kinds: the playback thread's block protocol.
  CountedRecursiveLock& DecodeLock() { return decodeLock_; }
  bool StopRequested() const { return stopRequest_.load(); }
  bool SeekRequested() const { return seekRequest_.load(); }
  bool EndSilenceReached() const { return endSilence_.load(); }
  // The pending block; capacity is a whole number of frames.
  PendingBlock& Pending() { return pending_; }
  uint32_t BlockCapacity() const { return capacity_; }
  // Waits for a free output block and makes it the pending one (all free).
  // Null when the output has no ring (it was closed under the loop).
  WaveBlock* TakeFreeBlock();
  // Block protocol step 3, under DecodeLock: arms the prebuffer wait when
  // playing, resets the output, clears the request, drops the pending block.
  void HandleSeekRequest();
  // Processes the block (silence cuts, effects) and hands it to the output.
  void WriteBlock(WaveBlock* block, uint32_t bytes);
  // Gives the block back unplayed; the next TakeFreeBlock returns it again.
  void GiveBackBlock(WaveBlock* block);
  void HeadroomGain(uint8_t* data, size_t bytes);
  // Sleeps up to ms; returns early (true) when a stop is requested.
  bool SleepUnlessStopped(int ms);
  // Reposition: the output restarts at this frame once the thread meets the
  // seek request.
  void RepositionOutput(uint64_t baseFrames);
  void SetBasePosition(uint64_t frames) { basePosition_.store(frames); }

 private:
  enum class PrepareResult { Ready, Failed, Stopped };

  // Thread body and its steps (playback_thread.cpp).
  void ThreadBody();
  PrepareResult Prepare();
  bool Finish(bool drain, bool failed);
  void ApplyWantedPriority();
  void StartIfPrebuffered();
  // Status changes, posted after they are stored, never twice the same.
  void SetStatus(PlayerStatus status, intptr_t lParam = 0);
  void SetStatusLocked(PlayerStatus status, intptr_t lParam);  // statusMutex_ held
  void Post(uint32_t message, uintptr_t wParam, intptr_t lParam);
  bool SeekLocked(int32_t ms);
  void JoinFinishedThread();

  // Services.
  std::unique_ptr<WaveOutDriver> driver_;
  std::unique_ptr<NotifySink> ownedNotify_;
  NotifySink* notify_ = nullptr;
  std::unique_ptr<AudioCompressionManager> ownedCompression_;
  AudioCompressionManager* compression_ = nullptr;
  std::function<std::unique_ptr<CdDevice>()> createCdDevice_;

  // Objects.
  LockedFile file_;
  EngineEffects effects_;
  std::unique_ptr<OutputDevice> output_;
  CountedRecursiveLock decodeLock_;
  CountedRecursiveLock apiLock_;
  std::mutex statusMutex_;
  std::unique_ptr<PluginRegistry> plugins_;

  // The source.
  SourceKind kind_ = SourceKind::None;
  const SourceOps* ops_ = nullptr;
  std::unique_ptr<SourceState> state_;
  StreamFormat format_;
  uint64_t totalFrames_ = 0;
  int bits_ = 16;
  std::u16string currentPath_;

  // Playback.
  std::atomic<int> status_{static_cast<int>(PlayerStatus::Stopped)};
  std::atomic<WindowHandle> window_{nullptr};
  EngineOptions options_;
  std::atomic<uint64_t> basePosition_{0};
  std::atomic<uint64_t> writtenFrames_{0};
  PendingBlock pending_;
  uint32_t capacity_ = 0;
  std::atomic<bool> stopRequest_{false};
  std::atomic<bool> seekRequest_{false};
  std::atomic<bool> prebufferWait_{false};
  std::atomic<bool> leadingCut_{false};
  std::atomic<bool> endSilence_{false};
  // From Engine_Play until the thread has stored its final Stopped status.
  std::atomic<bool> playbackActive_{false};
  std::atomic<int> wantedPriority_{0};
  int appliedPriority_ = 0;
  ManualResetEvent stopEvent_{false};
  std::thread thread_;

 public:
  // Tests reach the API lock to hold the playback thread before its preparation.
  CountedRecursiveLock& ApiLockForTesting() { return apiLock_; }
};

}  // namespace qv
