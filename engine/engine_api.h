// The engine's call interface: one PlayerEngine behind an opaque handle and
// free functions named Engine_ plus a verb. The UI calls these from its own
// thread; the engine reports from its threads only by posting
// WM_ENGINE_STATUS and WM_ENGINE_BLOCK to the registered window.
//
// Every function accepts a null handle: it then does nothing and returns 0
// (null for pointer results). Operations report success as 1, failure as 0.
// Text is UTF-16 (char16_t) in both builds.
#pragma once

#include <cstddef>
#include <cstdint>

#include "dsp/effect_records.h"
#include "platform/notify/notify_sink.h"

namespace qv {

class PlayerEngine;
using EngineHandle = PlayerEngine*;

enum class PlayerStatus : int32_t { Stopped = 0, Playing = 1, Paused = 2, Opening = 3 };

enum class SourceKind : int32_t {
  None = 0,
  MpegAudio = 1,
  OggVorbis = 2,
  Wave = 3,
  CdAudio = 4,
  Plugin = 5,
  NetworkStream = 6,
};

// Reported by Engine_GetStreamState.
enum class StreamState : int32_t { NoStream = 0, Idle = 1, Connecting = 2, Connected = 3, Playing = 4 };

// Seven 32-bit fields in this order; the UI persists fields 2-7 under the
// registry values of the same names.
struct EngineOptions {
  int32_t ThreadPriority;       // playback thread priority once the prebuffer is full
  int32_t OutputBufferLen;      // ring length in ms, at least 10
  int32_t OutputPrebuffer;      // percent of the ring filled before the device starts
  int32_t ScanCompletely;       // MPEG audio: measure the length by walking every frame
  int32_t OutputFade;           // 750 ms fade-in after each output reset
  int32_t SuppressZeroSamples;  // cut near-silence at the start and in the last 10 s
  int32_t AlwaysOpenDev;        // keep the device open between tracks
};

constexpr size_t kPathChars = 260;

struct StreamingOptions {
  int32_t StreamingBuffer;
  int32_t StreamingPreBuffer;
  int32_t StreamingUseProxy;
  char16_t StreamingProxy[kPathChars];
};

constexpr size_t kTimeTextChars = 12;

struct TrackInfo {
  int32_t MpegVersion;  // 1, 2, 3 (MPEG-2.5); 0 for other kinds
  int32_t MpegLayer;    // 1-3; 0 for other kinds
  int32_t Channels;
  int32_t SampleRate;
  int32_t BitrateKbps;
  int32_t DurationMs;
  char16_t TimeText[kTimeTextChars];  // written only when empty on entry
};

constexpr size_t kTagChars = 255;  // with the terminator

struct TagInfo {
  char16_t Title[kTagChars];
  char16_t Artist[kTagChars];
  char16_t Album[kTagChars];
  char16_t Comment[kTagChars];
  char16_t Genre[kTagChars];
  int32_t Year;
  int32_t Track;
};

static_assert(sizeof(EngineOptions) == 28, "EngineOptions layout");
static_assert(sizeof(StreamingOptions) == 12 + 2 * kPathChars, "StreamingOptions layout");
static_assert(offsetof(StreamingOptions, StreamingProxy) == 12, "StreamingOptions layout");
static_assert(sizeof(TrackInfo) == 48, "TrackInfo layout");
static_assert(offsetof(TrackInfo, TimeText) == 24, "TrackInfo layout");
static_assert(offsetof(TagInfo, Artist) == 510, "TagInfo layout");
static_assert(offsetof(TagInfo, Genre) == 2040, "TagInfo layout");
static_assert(offsetof(TagInfo, Year) == 2552, "TagInfo layout");
static_assert(sizeof(TagInfo) == 2560, "TagInfo layout");

// A decoder plug-in's entry table; defined with the plug-in contract.
struct DecoderPlugin;

// Lifetime and source.
EngineHandle Engine_Create();
int Engine_Destroy(EngineHandle engine);
int Engine_OpenFile(EngineHandle engine, const char16_t* path);
int Engine_OpenStream(EngineHandle engine, const char16_t* url);
int Engine_CloseFile(EngineHandle engine);

// Transport.
int Engine_Play(EngineHandle engine);
int Engine_Pause(EngineHandle engine);
int Engine_Stop(EngineHandle engine);
int Engine_Seek(EngineHandle engine, int32_t ms);
int Engine_SetVolume(EngineHandle engine, int32_t volume);
int Engine_CloseDevice(EngineHandle engine);

// Queries.
int Engine_GetStatus(EngineHandle engine);
int Engine_GetSourceKind(EngineHandle engine);
int32_t Engine_GetLength(EngineHandle engine);
int32_t Engine_GetPosition(EngineHandle engine);
int Engine_GetTrackInfo(EngineHandle engine, TrackInfo* info);
int Engine_GetTags(EngineHandle engine, TagInfo* tags);
int Engine_GetFileTags(EngineHandle engine, const char16_t* path, TagInfo* tags);
int Engine_GetOptions(EngineHandle engine, EngineOptions* options);
int Engine_SetOptions(EngineHandle engine, const EngineOptions* options);
int Engine_GetBufferInfo(EngineHandle engine, uint32_t* totalBytes, uint32_t* queuedBytes);

// Network streams. Each text output of Engine_GetStreamInfo may be null and
// otherwise holds kPathChars characters.
int Engine_GetStreamState(EngineHandle engine);
int Engine_GetStreamBufferPercent(EngineHandle engine);
int Engine_GetStreamInfo(EngineHandle engine, char16_t* title, char16_t* author, char16_t* url);
int Engine_GetStreamTitle(EngineHandle engine, char16_t* text);
int Engine_SetStreamingOptions(EngineHandle engine, const StreamingOptions* options);
int Engine_GetStreamingOptions(EngineHandle engine, StreamingOptions* options);

// Decoder plug-ins.
int Engine_GetPluginCount(EngineHandle engine);
DecoderPlugin* Engine_GetPlugin(EngineHandle engine, int index);

// Effects and spectrum: the engine keeps and forwards these records.
int Engine_SetEffectParams(EngineHandle engine, const EffectParams* params);
int Engine_GetEffectParams(EngineHandle engine, EffectParams* params);
int Engine_SetSurroundParams(EngineHandle engine, const QbsParams* params);
int Engine_GetSurroundParams(EngineHandle engine, QbsParams* params);
int Engine_SetEffectByType(EngineHandle engine, int type, const SmallEffectParams* params);
int Engine_GetEffectByType(EngineHandle engine, int type, SmallEffectParams* params);
int Engine_EnableSpectrum(EngineHandle engine, int on);
int Engine_SetSpectrumMode(EngineHandle engine, int mode);
int Engine_GetSpectrum(EngineHandle engine, SpectrumBands* out);

// Registration.
int Engine_SetNotifyWindow(EngineHandle engine, WindowHandle window);

// The duration as "mm:ss", or "hh:mm:ss" from one hour on; kTimeTextChars
// units with the terminator.
void FormatTimeText(int32_t durationMs, char16_t out[kTimeTextChars]);

}  // namespace qv
