// An engine double for the playlist: which paths open and what they report,
// the status and position it claims, and a log of the calls it received.
#pragma once

#include <map>
#include <set>
#include <string>
#include <vector>

#include "playlist/engine_port.h"

namespace qv::test {

class FakeEngine : public EnginePort {
 public:
  struct Media {
    TrackInfo track{};
    TagInfo tags{};      // what GetTags gives once opened
    TagInfo fileTags{};  // what GetFileTags gives without opening
  };

  // A file that opens, with a duration and optional tags.
  Media& AddMedia(const std::u16string& path, int32_t durationMs = 1000);
  // Calls whose text starts with prefix, in order.
  std::vector<std::string> CallsStartingWith(const std::string& prefix) const;
  int CountCalls(const std::string& prefix) const { return static_cast<int>(CallsStartingWith(prefix).size()); }
  void ClearCalls() { calls.clear(); }

  std::map<std::u16string, Media> media;
  std::set<std::u16string> failingStreams;
  std::vector<std::string> calls;  // "OpenFile <path>", "Play", "Seek 1000"...
  std::u16string open;             // empty when nothing is open
  int status = 0;
  int32_t position = 0;
  int playFailures = 0;  // the next n Play calls fail
  int streamState = 0;
  std::u16string streamTitle;
  std::vector<PluginExtension> plugins;
  EngineOptions lastOptions{};

  int OpenFile(const char16_t* path) override;
  int OpenStream(const char16_t* url) override;
  int CloseFile() override;
  int Play() override;
  int Pause() override;
  int Stop() override;
  int Seek(int32_t ms) override;
  int CloseDevice() override;
  int GetStatus() override { return status; }
  int32_t GetPosition() override { return position; }
  int GetTrackInfo(TrackInfo* info) override;
  int GetTags(TagInfo* tags) override;
  int GetFileTags(const char16_t* path, TagInfo* tags) override;
  int SetOptions(const EngineOptions* options) override;
  int SetStreamingOptions(const StreamingOptions* options) override;
  int GetStreamState() override { return streamState; }
  int GetStreamInfo(char16_t* title, char16_t* author, char16_t* url) override;
  std::vector<PluginExtension> PluginExtensions() override { return plugins; }

 private:
  void Log(const std::string& call) { calls.push_back(call); }
};

void SetTag(char16_t* field, std::u16string_view text);

}  // namespace qv::test
