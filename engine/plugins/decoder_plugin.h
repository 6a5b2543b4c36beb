// The decoder plug-in contract: a plug-in is a table of 24 entry slots that a
// getter function fills. The engine registers a private copy of each table,
// offers files to the plug-ins that play files, and drives the chosen one
// through OpenFile, Seek, Start, Decode, Stop and Close. Every text the
// entries exchange is UTF-16.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/engine_api.h"
#include "platform/notify/notify_sink.h"

namespace qv {

constexpr int32_t kPluginVersion = 0x0101;
constexpr int32_t kPluginCharWidth = 2;

// GetCapabilities bits.
constexpr uint32_t kPluginPlaysFiles = 1;   // offered files by the engine
constexpr uint32_t kPluginNoHeadroom = 4;   // output not given the headroom gain
constexpr uint32_t kPluginSeeks = 8;        // Seek repositions
constexpr uint32_t kPluginTags = 16;        // GetTag and GetFileTag answer

// Decode results.
constexpr int kPluginDecodeMore = 0;
constexpr int kPluginDecodeLast = 1;
constexpr int kPluginDecodeError = -1;
// Seek result for a failure.
constexpr int32_t kPluginSeekFailed = -1;

// Text buffers handed to GetName and GetExt hold this many units.
constexpr size_t kPluginTextChars = 260;

// Filled by OpenFile: the PCM the plug-in will deliver (8 or 16 bits).
struct PluginFileInfo {
  int32_t Channels;
  int32_t SampleRate;
  int32_t BitsPerSample;
  int32_t BitrateKbps;
  int32_t DurationMs;
};

// The fields of a Windows wave header that Decode uses: it writes
// interleaved PCM from the start of data, at most bufferLength bytes, and
// stores how many bytes it wrote in bytesRecorded.
struct PluginWaveHeader {
  uint8_t* data;
  uint32_t bufferLength;
  uint32_t bytesRecorded;
};

// "context" is what OpenFile stored through its first argument.
struct DecoderPlugin {
  int32_t Version;    // kPluginVersion
  int32_t CharWidth;  // kPluginCharWidth
  void* Reserved;
  void* Context;      // written by OpenFile; cleared by the engine after Close
  void (*Init)();
  void (*Quit)();
  uint32_t (*GetCapabilities)();
  int (*GetName)(char16_t* name);                               // kPluginTextChars
  int (*SetEqualizer)(const void* record);                      // not used by the engine
  int (*ShowConfig)(WindowHandle owner);
  int (*GetExtCount)();
  int (*GetExt)(int index, char16_t* extension, char16_t* description);  // without the dot
  int (*IsValidFile)(const char16_t* path);                     // not used by the engine
  int (*OpenFile)(void** context, const char16_t* path, PluginFileInfo* info);
  int32_t (*Seek)(void* context, int32_t ms);                   // reached ms, or -1
  int (*Start)(void* context);
  int (*Decode)(void* context, PluginWaveHeader* header);       // 0 more, 1 last, -1 error
  void (*Stop)(void* context);
  void (*Close)(void* context);
  int (*GetTag)(void* context, TagInfo* tags);
  int (*GetFileTag)(const char16_t* path, TagInfo* tags);
  // Network streaming entries; the engine never calls them.
  int (*OpenStreaming)(void* first, void* second, void* third);
  int (*DecodeStreaming)(void* first, void* second, void* third, void* fourth);
  void (*CloseStreaming)();
};

// Returns the plug-in's table, filled afresh on every call.
using PluginGetter = DecoderPlugin* (*)();

}  // namespace qv
