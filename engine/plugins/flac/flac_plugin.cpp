// The FLAC plug-in: files ending in ".flac", decoded by libFLAC; seekable,
// without tags or configuration.
#include "engine/plugins/flac/flac_plugin.h"

#include <memory>
#include <new>
#include <string_view>

#include "engine/plugins/config_box.h"
#include "engine/plugins/flac/flac_file_decoder.h"
#include "platform/text/utf16.h"

namespace qv {

namespace {

constexpr uint32_t kFlacCapabilities = kPluginPlaysFiles | kPluginSeeks;  // 9

FileDecoder* Decoder(void* context) { return static_cast<FileDecoder*>(context); }

bool HasFlacEnding(const char16_t* path) {
  const std::u16string_view p(path);
  return p.size() >= 5 && U16EqualsAsciiNoCase(p.substr(p.size() - 5), u".flac");
}

void Nothing() {}
uint32_t Capabilities() { return kFlacCapabilities; }

int GetName(char16_t* name) {
  U16CopyTruncated(name, kPluginTextChars, u"FLAC Plug-in");
  return 1;
}

int SetEqualizer(const void*) { return 0; }
int GetExtCount() { return 1; }

int GetExt(int index, char16_t* extension, char16_t* description) {
  if (index != 0) return 0;
  return CopyExtension(u"flac", u"FLAC Files (*.flac)", extension, description);
}

int IsValidFile(const char16_t*) { return 1; }

int OpenFile(void** context, const char16_t* path, PluginFileInfo* info) {
  *context = nullptr;
  if (!path || !HasFlacEnding(path)) return 0;
  std::unique_ptr<FileDecoder> decoder(new (std::nothrow) FileDecoder);
  if (!decoder || !decoder->is_valid() || !decoder->Open(path)) return 0;
  *info = decoder->Info();
  *context = decoder.release();
  return 1;
}

int32_t Seek(void* context, int32_t ms) { return context ? Decoder(context)->Seek(ms) : kPluginSeekFailed; }
int Start(void* context) { return context ? 1 : 0; }

int Decode(void* context, PluginWaveHeader* header) {
  return context ? Decoder(context)->Decode(header) : kPluginDecodeError;
}

void Stop(void* context) {
  if (context) Decoder(context)->Rewind();
}

void Close(void* context) { delete Decoder(context); }
int GetTag(void*, TagInfo*) { return 0; }
int GetFileTag(const char16_t*, TagInfo*) { return 0; }
int OpenStreaming(void*, void*, void*) { return 0; }
int DecodeStreaming(void*, void*, void*, void*) { return -1; }

}  // namespace

DecoderPlugin* GetFlacPlugin() {
  static DecoderPlugin table{kPluginVersion, kPluginCharWidth, nullptr, nullptr, Nothing, Nothing, Capabilities,
                             GetName, SetEqualizer, ShowNoConfigurationBox, GetExtCount, GetExt, IsValidFile,
                             OpenFile, Seek, Start, Decode, Stop, Close, GetTag, GetFileTag, OpenStreaming,
                             DecodeStreaming, Nothing};
  return &table;
}

}  // namespace qv
