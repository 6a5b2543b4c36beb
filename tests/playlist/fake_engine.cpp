#include "tests/playlist/fake_engine.h"

#include "platform/text/utf16.h"

namespace qv::test {

void SetTag(char16_t* field, std::u16string_view text) { U16CopyTruncated(field, kTagChars, text); }

FakeEngine::Media& FakeEngine::AddMedia(const std::u16string& path, int32_t durationMs) {
  Media& m = media[path];
  m.track.DurationMs = durationMs;
  m.track.SampleRate = 44100;
  m.track.Channels = 2;
  FormatTimeText(durationMs, m.track.TimeText);
  return m;
}

std::vector<std::string> FakeEngine::CallsStartingWith(const std::string& prefix) const {
  std::vector<std::string> out;
  for (const std::string& c : calls)
    if (c.compare(0, prefix.size(), prefix) == 0) out.push_back(c);
  return out;
}

int FakeEngine::OpenFile(const char16_t* path) {
  Log("OpenFile " + ToUtf8(path));
  status = 0;
  open.clear();
  if (!media.count(path)) return 0;
  open = path;
  return 1;
}

int FakeEngine::OpenStream(const char16_t* url) {
  Log("OpenStream " + ToUtf8(url));
  status = 0;
  open.clear();
  if (failingStreams.count(url)) return 0;
  open = url;
  return 1;
}

int FakeEngine::CloseFile() {
  Log("CloseFile");
  status = 0;
  open.clear();
  return 0;
}

int FakeEngine::Play() {
  Log("Play");
  if (open.empty() || status == 1) return 0;
  if (playFailures > 0) {
    --playFailures;
    return 0;
  }
  status = 1;
  return 1;
}

int FakeEngine::Pause() {
  Log("Pause");
  if (status == 1)
    status = 2;
  else if (status == 2)
    status = 1;
  return 0;
}

int FakeEngine::Stop() {
  Log("Stop");
  status = 0;
  position = 0;
  return 1;
}

int FakeEngine::Seek(int32_t ms) {
  Log("Seek " + std::to_string(ms));
  if (open.empty()) return 0;
  position = ms < 0 ? 0 : ms;
  return 1;
}

int FakeEngine::CloseDevice() {
  Log("CloseDevice");
  status = 0;
  return 0;
}

int FakeEngine::GetTrackInfo(TrackInfo* info) {
  auto it = media.find(open);
  if (it == media.end()) return 0;
  TrackInfo t = it->second.track;
  // TimeText is written only when the caller's is empty.
  if (info->TimeText[0]) std::copy(std::begin(info->TimeText), std::end(info->TimeText), t.TimeText);
  *info = t;
  return 1;
}

int FakeEngine::GetTags(TagInfo* tags) {
  auto it = media.find(open);
  if (it == media.end()) return 0;
  const TagInfo& src = it->second.tags;
  // Fields the source lacks keep their values.
  if (src.Title[0]) SetTag(tags->Title, src.Title);
  if (src.Artist[0]) SetTag(tags->Artist, src.Artist);
  return 1;
}

int FakeEngine::GetFileTags(const char16_t* path, TagInfo* tags) {
  Log("GetFileTags " + ToUtf8(path));
  auto it = media.find(path);
  if (it == media.end() || !it->second.fileTags.Title[0]) return 0;
  *tags = it->second.fileTags;
  return 1;
}

int FakeEngine::SetOptions(const EngineOptions* options) {
  Log("SetOptions");
  lastOptions = *options;
  return status == 0 ? 1 : 0;
}

int FakeEngine::SetStreamingOptions(const StreamingOptions*) {
  Log("SetStreamingOptions");
  return 0;
}

int FakeEngine::GetStreamInfo(char16_t* title, char16_t* author, char16_t* url) {
  if (title) U16CopyTruncated(title, kPathChars, streamTitle);
  if (author) author[0] = 0;
  if (url) U16CopyTruncated(url, kPathChars, open);
  // Non-zero when anything was copied: the address always is.
  return open.empty() ? 0 : 1;
}

}  // namespace qv::test
