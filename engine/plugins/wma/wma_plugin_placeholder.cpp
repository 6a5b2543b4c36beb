// Placeholder for the WMA plug-in: its table has the contract's shape and
// the plug-in's capabilities, so it is registered in its place, but no file
// is accepted yet: OpenFile, IsValidFile and GetFileTag refuse everything,
// and the per-file entries answer as for a plug-in with no file open.
#include "engine/plugins/wma/wma_plugin.h"

namespace qv {

namespace {

constexpr uint32_t kWmaCapabilities = kPluginPlaysFiles | kPluginSeeks | kPluginTags;  // 25

void Nothing() {}
uint32_t Capabilities() { return kWmaCapabilities; }
int GetName(char16_t* name) {
  name[0] = 0;
  return 0;
}
int SetEqualizer(const void*) { return 0; }
int ShowConfig(WindowHandle) { return 0; }
int GetExtCount() { return 0; }
int GetExt(int, char16_t*, char16_t*) { return 0; }
int IsValidFile(const char16_t*) { return 0; }
int OpenFile(void** context, const char16_t*, PluginFileInfo*) {
  *context = nullptr;
  return 0;
}
int32_t Seek(void*, int32_t) { return kPluginSeekFailed; }
int Start(void*) { return 0; }
int Decode(void*, PluginWaveHeader*) { return kPluginDecodeError; }
void PerFile(void*) {}
int GetTag(void*, TagInfo*) { return 0; }
int GetFileTag(const char16_t*, TagInfo*) { return 0; }
int OpenStreaming(void*, void*, void*) { return 0; }
int DecodeStreaming(void*, void*, void*, void*) { return -1; }

}  // namespace

DecoderPlugin* GetWmaPlugin() {
  static DecoderPlugin table{kPluginVersion, kPluginCharWidth, nullptr, nullptr,
                        Nothing, Nothing, Capabilities, GetName, SetEqualizer, ShowConfig, GetExtCount, GetExt,
                        IsValidFile, OpenFile, Seek, Start, Decode, PerFile, PerFile, GetTag, GetFileTag,
                        OpenStreaming, DecodeStreaming, Nothing};
  return &table;
}

}  // namespace qv
