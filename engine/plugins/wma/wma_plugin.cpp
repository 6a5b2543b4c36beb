// The WMA plug-in: Windows Media Audio in ASF files, read by the plug-in
// itself and decoded by a decoder media object; seekable, with tags from the
// ASF header.
#include "engine/plugins/wma/wma_plugin.h"

#include <mutex>

#include "engine/plugins/config_box.h"
#include "engine/plugins/wma/asf_file.h"
#include "engine/plugins/wma/wma_stream.h"
#include "platform/dialog/message_box.h"
#include "platform/media/com_apartment.h"
#include "platform/text/utf16.h"

namespace qv {

namespace {

constexpr uint32_t kWmaCapabilities = kPluginPlaysFiles | kPluginSeeks | kPluginTags;  // 25

WmaStream* Stream(void* context) { return static_cast<WmaStream*>(context); }

// Seek and Decode of every open file take this lock. It lives as long as
// the process, so that an engine unregistering the plug-in cannot take it
// away from another engine that still uses it.
std::mutex& PluginLock() {
  static std::mutex* lock = new std::mutex;
  return *lock;
}

void Init() {
  EnterComApartment();
  PluginLock();
}

void Quit() { LeaveComApartment(); }

uint32_t Capabilities() { return kWmaCapabilities; }

int GetName(char16_t* name) {
  U16CopyTruncated(name, kPluginTextChars, u"WMA Plug-in");
  return 0;
}

int SetEqualizer(const void*) { return 0; }

int ShowConfig(WindowHandle owner) {
  return ShowMessageBox(owner, u"WMA Plug-in\nVersion 1.01", u"About", MessageBoxIcon::Information);
}

int GetExtCount() { return 1; }

int GetExt(int index, char16_t* extension, char16_t* description) {
  switch (index) {
    case 0: return CopyExtension(u"wma", u"Windows Media Audio Files (*.wma)", extension, description);
    case 1: return CopyExtension(u"wmv", u"Windows Media Video Files (*.wmv)", extension, description);
    case 2: return CopyExtension(u"asf", u"Advanced Systems Format Files (*.asf)", extension, description);
    default: return 0;
  }
}

int IsValidFile(const char16_t* path) {
  WideFile file;
  return path && file.Open(path, FileMode::Read) && StartsWithAsfHeader(file) ? 1 : 0;
}

int OpenFile(void** context, const char16_t* path, PluginFileInfo* info) {
  *context = nullptr;
  std::unique_ptr<WmaStream> stream = WmaStream::Open(path);
  if (!stream) return 0;
  *info = stream->Info();
  *context = stream.release();
  return 1;
}

int32_t Seek(void* context, int32_t ms) {
  std::lock_guard<std::mutex> lock(PluginLock());
  return context ? Stream(context)->Seek(ms) : kPluginSeekFailed;
}

// Start and Stop take the lock too: a seek from the caller's thread may
// come at any time.
int Start(void* context) {
  if (!context) return 0;
  std::lock_guard<std::mutex> lock(PluginLock());
  Stream(context)->Start();
  return 1;
}

int Decode(void* context, PluginWaveHeader* header) {
  std::lock_guard<std::mutex> lock(PluginLock());
  return context ? Stream(context)->Decode(header) : kPluginDecodeError;
}

void Stop(void* context) {
  if (!context) return;
  std::lock_guard<std::mutex> lock(PluginLock());
  Stream(context)->Stop();
}

void Close(void* context) { delete Stream(context); }

int GetTag(void* context, TagInfo* tags) {
  if (!context) return 0;
  *tags = Stream(context)->Tags();
  return 1;
}

// Only the header is read: no decoder object is made for tags.
int GetFileTag(const char16_t* path, TagInfo* tags) {
  *tags = TagInfo{};
  WideFile file;
  if (!path || !file.Open(path, FileMode::Read)) return 0;
  AsfHeader header;
  uint64_t headerSize = 0;
  if (!ReadAsfHeader(file, &header, &headerSize) || header.durationMs == 0 || !header.hasAudio) return 0;
  *tags = header.tags;
  return 1;
}

int OpenStreaming(void*, void*, void*) { return 0; }
int DecodeStreaming(void*, void*, void*, void*) { return -1; }
void CloseStreaming() {}

}  // namespace

DecoderPlugin* GetWmaPlugin() {
  static DecoderPlugin table{kPluginVersion, kPluginCharWidth, nullptr, nullptr, Init, Quit, Capabilities, GetName,
                        SetEqualizer, ShowConfig, GetExtCount, GetExt, IsValidFile, OpenFile, Seek, Start, Decode,
                        Stop, Close, GetTag, GetFileTag, OpenStreaming, DecodeStreaming, CloseStreaming};
  return &table;
}

}  // namespace qv
