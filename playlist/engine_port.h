// The engine calls the playlist makes, on one engine handle. The main window
// has two: the playback engine and the information engine that reads the
// length of each new entry.
#pragma once

#include <cstdint>
#include <vector>

#include "engine/engine_api.h"
#include "playlist/open_filter.h"

namespace qv {

class EnginePort {
 public:
  virtual ~EnginePort() = default;

  virtual int OpenFile(const char16_t* path) = 0;
  virtual int OpenStream(const char16_t* url) = 0;
  virtual int CloseFile() = 0;
  virtual int Play() = 0;
  virtual int Pause() = 0;
  virtual int Stop() = 0;
  virtual int Seek(int32_t ms) = 0;
  virtual int CloseDevice() = 0;
  virtual int GetStatus() = 0;
  virtual int32_t GetPosition() = 0;
  virtual int GetTrackInfo(TrackInfo* info) = 0;
  virtual int GetTags(TagInfo* tags) = 0;
  virtual int GetFileTags(const char16_t* path, TagInfo* tags) = 0;
  virtual int SetOptions(const EngineOptions* options) = 0;
  virtual int SetStreamingOptions(const StreamingOptions* options) = 0;
  virtual int GetStreamState() = 0;
  // Each output may be null, otherwise holds kPathChars characters.
  virtual int GetStreamInfo(char16_t* title, char16_t* author, char16_t* url) = 0;
  // The extensions the registered decoder plug-ins declare, in order.
  virtual std::vector<PluginExtension> PluginExtensions() = 0;
};

// The Engine_* calls on a handle (which may be null: every call then fails).
class EngineHandlePort : public EnginePort {
 public:
  explicit EngineHandlePort(EngineHandle engine) : engine_(engine) {}
  EngineHandle Handle() const { return engine_; }

  int OpenFile(const char16_t* path) override;
  int OpenStream(const char16_t* url) override;
  int CloseFile() override;
  int Play() override;
  int Pause() override;
  int Stop() override;
  int Seek(int32_t ms) override;
  int CloseDevice() override;
  int GetStatus() override;
  int32_t GetPosition() override;
  int GetTrackInfo(TrackInfo* info) override;
  int GetTags(TagInfo* tags) override;
  int GetFileTags(const char16_t* path, TagInfo* tags) override;
  int SetOptions(const EngineOptions* options) override;
  int SetStreamingOptions(const StreamingOptions* options) override;
  int GetStreamState() override;
  int GetStreamInfo(char16_t* title, char16_t* author, char16_t* url) override;
  std::vector<PluginExtension> PluginExtensions() override;

 private:
  EngineHandle engine_;
};

}  // namespace qv
