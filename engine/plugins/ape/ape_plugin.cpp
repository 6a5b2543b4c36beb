// The APE plug-in: Monkey's Audio files through the decompressor; seekable,
// without tags or configuration. It does not look at the file's extension:
// whatever the decompressor accepts is played.
#include "engine/plugins/ape/ape_plugin.h"

#include <algorithm>
#include <limits>

#include "engine/plugins/ape/ape_decompressor.h"
#include "engine/plugins/config_box.h"
#include "engine/plugins/pcm_reduce.h"
#include "platform/text/utf16.h"

namespace qv {

namespace {

constexpr uint32_t kApeCapabilities = kPluginPlaysFiles | kPluginSeeks;  // 9

ApeDecompressor* Decompressor(void* context) { return static_cast<ApeDecompressor*>(context); }

int32_t ToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, 0, std::numeric_limits<int32_t>::max()));
}

void Nothing() {}
uint32_t Capabilities() { return kApeCapabilities; }

int GetName(char16_t* name) {
  U16CopyTruncated(name, kPluginTextChars, u"APE Plug-in");
  return 1;
}

int SetEqualizer(const void*) { return 0; }
int GetExtCount() { return 3; }

int GetExt(int index, char16_t* extension, char16_t* description) {
  switch (index) {
    case 0: return CopyExtension(u"ape", u"APE Files (*.ape)", extension, description);
    case 1: return CopyExtension(u"apl", u"APE Link Files (*.apl)", extension, description);
    case 2: return CopyExtension(u"mac", u"MAC Files (*.mac)", extension, description);
    default: return 0;
  }
}

int IsValidFile(const char16_t*) { return 1; }

int OpenFile(void** context, const char16_t* path, PluginFileInfo* info) {
  *context = nullptr;
  std::unique_ptr<ApeDecompressor> d = ApeDecompressor::Create(path);
  if (!d || !d->Seek(0)) return 0;
  info->Channels = ToInt32(d->GetInfo(ApeInfo::Channels));
  info->SampleRate = ToInt32(d->GetInfo(ApeInfo::SampleRate));
  info->BitsPerSample = DeliveredBits(static_cast<int>(d->GetInfo(ApeInfo::BitsPerSample)));
  info->BitrateKbps = ToInt32(d->GetInfo(ApeInfo::AverageBitrate));
  info->DurationMs = ToInt32(d->GetInfo(ApeInfo::LengthMs));
  *context = d.release();
  return 1;
}

int32_t Seek(void* context, int32_t ms) {
  if (!context) return 0;
  ApeDecompressor* d = Decompressor(context);
  if (ms <= 0) return d->Seek(0) ? 0 : kPluginSeekFailed;
  // Whole blocks per millisecond: 44100 Hz seeks in steps of 44 blocks.
  const int64_t perMs = d->GetInfo(ApeInfo::SampleRate) / 1000;
  if (!d->Seek(perMs > 0 ? int64_t(ms) * perMs : 0)) return kPluginSeekFailed;
  return ToInt32(d->GetInfo(ApeInfo::CurrentMs));
}

int Start(void* context) { return context ? 1 : 0; }

// Blocks are read at the file's width straight into the header and, for
// 24-bit files, reduced to 16 bits in place.
int Decode(void* context, PluginWaveHeader* header) {
  header->bytesRecorded = 0;
  if (!context) return kPluginDecodeError;
  ApeDecompressor* d = Decompressor(context);
  const int bits = static_cast<int>(d->GetInfo(ApeInfo::BitsPerSample));
  const int64_t channels = d->GetInfo(ApeInfo::Channels);
  const int64_t blockAlign = d->GetInfo(ApeInfo::BlockAlign);
  const int64_t blocks = header->bufferLength / blockAlign;
  if (blocks == 0) return kPluginDecodeError;
  int64_t retrieved = 0;
  if (!d->GetData(header->data, blocks, &retrieved)) return kPluginDecodeError;
  ReducePacked(header->data, static_cast<size_t>(retrieved * channels), bits, header->data);
  header->bytesRecorded = static_cast<uint32_t>(retrieved * channels * (DeliveredBits(bits) / 8));
  return retrieved == 0 ? kPluginDecodeLast : kPluginDecodeMore;
}

void Stop(void*) {}
void Close(void* context) { delete Decompressor(context); }
int GetTag(void*, TagInfo*) { return 0; }
int GetFileTag(const char16_t*, TagInfo*) { return 0; }
int OpenStreaming(void*, void*, void*) { return 0; }
int DecodeStreaming(void*, void*, void*, void*) { return -1; }

}  // namespace

DecoderPlugin* GetApePlugin() {
  static DecoderPlugin table{kPluginVersion, kPluginCharWidth, nullptr, nullptr, Nothing, Nothing, Capabilities,
                             GetName, SetEqualizer, ShowNoConfigurationBox, GetExtCount, GetExt, IsValidFile,
                             OpenFile, Seek, Start, Decode, Stop, Close, GetTag, GetFileTag, OpenStreaming,
                             DecodeStreaming, Nothing};
  return &table;
}

}  // namespace qv
