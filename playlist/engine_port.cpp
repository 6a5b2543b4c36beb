#include "playlist/engine_port.h"

#include "engine/plugins/decoder_plugin.h"
#include "playlist/path_text.h"

namespace qv {

int EngineHandlePort::OpenFile(const char16_t* path) { return Engine_OpenFile(engine_, path); }
int EngineHandlePort::OpenStream(const char16_t* url) { return Engine_OpenStream(engine_, url); }
int EngineHandlePort::CloseFile() { return Engine_CloseFile(engine_); }
int EngineHandlePort::Play() { return Engine_Play(engine_); }
int EngineHandlePort::Pause() { return Engine_Pause(engine_); }
int EngineHandlePort::Stop() { return Engine_Stop(engine_); }
int EngineHandlePort::Seek(int32_t ms) { return Engine_Seek(engine_, ms); }
int EngineHandlePort::CloseDevice() { return Engine_CloseDevice(engine_); }
int EngineHandlePort::GetStatus() { return Engine_GetStatus(engine_); }
int32_t EngineHandlePort::GetPosition() { return Engine_GetPosition(engine_); }
int EngineHandlePort::GetTrackInfo(TrackInfo* info) { return Engine_GetTrackInfo(engine_, info); }
int EngineHandlePort::GetTags(TagInfo* tags) { return Engine_GetTags(engine_, tags); }
int EngineHandlePort::GetFileTags(const char16_t* path, TagInfo* tags) {
  return Engine_GetFileTags(engine_, path, tags);
}
int EngineHandlePort::SetOptions(const EngineOptions* options) { return Engine_SetOptions(engine_, options); }
int EngineHandlePort::SetStreamingOptions(const StreamingOptions* options) {
  return Engine_SetStreamingOptions(engine_, options);
}
int EngineHandlePort::GetStreamState() { return Engine_GetStreamState(engine_); }
int EngineHandlePort::GetStreamInfo(char16_t* title, char16_t* author, char16_t* url) {
  return Engine_GetStreamInfo(engine_, title, author, url);
}

std::vector<PluginExtension> EngineHandlePort::PluginExtensions() {
  // A plug-in declares its extensions one by one; texts are cut to their buffers.
  constexpr int kMostExtensions = 64;
  std::vector<PluginExtension> extensions;
  for (int i = 0; i < Engine_GetPluginCount(engine_); ++i) {
    const DecoderPlugin* plugin = Engine_GetPlugin(engine_, i);
    if (!plugin || !plugin->GetExtCount || !plugin->GetExt) continue;
    int count = plugin->GetExtCount();
    for (int k = 0; k < count && k < kMostExtensions; ++k) {
      char16_t extension[kPluginTextChars] = {};
      char16_t description[kPluginTextChars] = {};
      if (!plugin->GetExt(k, extension, description)) continue;
      extensions.push_back({std::u16string(FieldView(extension, kPluginTextChars)),
                            std::u16string(FieldView(description, kPluginTextChars))});
    }
  }
  return extensions;
}

}  // namespace qv
