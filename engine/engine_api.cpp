// The flat call interface: each function forwards to one PlayerEngine
// operation. A null handle does nothing and returns 0.
#include <new>

#include "engine/engine_api.h"
#include "engine/engine_services.h"
#include "engine/player_engine.h"
#include "engine/plugins/plugin_registry.h"

namespace qv {

EngineHandle Engine_CreateWithServices(const EngineServices& services) {
  try {
    return new PlayerEngine(services);
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
}

EngineHandle Engine_Create() { return Engine_CreateWithServices(EngineServices{}); }

int Engine_Destroy(EngineHandle engine) {
  if (!engine) return 0;
  delete engine;
  return 1;
}

int Engine_OpenFile(EngineHandle engine, const char16_t* path) { return engine && engine->OpenFile(path) ? 1 : 0; }

int Engine_OpenStream(EngineHandle engine, const char16_t* url) { return engine && engine->OpenStream(url) ? 1 : 0; }

int Engine_CloseFile(EngineHandle engine) {
  if (engine) engine->CloseFile();
  return 0;
}

int Engine_Play(EngineHandle engine) { return engine && engine->Play() ? 1 : 0; }
int Engine_Pause(EngineHandle engine) { return engine && engine->Pause() ? 1 : 0; }
int Engine_Stop(EngineHandle engine) { return engine && engine->Stop() ? 1 : 0; }
int Engine_Seek(EngineHandle engine, int32_t ms) { return engine && engine->Seek(ms) ? 1 : 0; }
int Engine_SetVolume(EngineHandle engine, int32_t volume) { return engine ? engine->SetVolume(volume) : 0; }

int Engine_CloseDevice(EngineHandle engine) {
  if (!engine) return 0;
  engine->CloseDevice();
  return 1;
}

int Engine_GetStatus(EngineHandle engine) { return engine ? static_cast<int>(engine->Status()) : 0; }
int Engine_GetSourceKind(EngineHandle engine) { return engine ? static_cast<int>(engine->Kind()) : 0; }
int32_t Engine_GetLength(EngineHandle engine) { return engine ? engine->LengthMs() : 0; }
int32_t Engine_GetPosition(EngineHandle engine) { return engine ? engine->PositionMs() : 0; }

int Engine_GetTrackInfo(EngineHandle engine, TrackInfo* info) {
  return engine && info && engine->GetTrackInfo(info) ? 1 : 0;
}

int Engine_GetTags(EngineHandle engine, TagInfo* tags) { return engine && tags && engine->GetTags(tags) ? 1 : 0; }

int Engine_GetFileTags(EngineHandle engine, const char16_t* path, TagInfo* tags) {
  return engine && path && tags && engine->GetFileTags(path, tags) ? 1 : 0;
}

int Engine_GetOptions(EngineHandle engine, EngineOptions* options) {
  if (!engine || !options) return 0;
  *options = engine->Options();
  return 1;
}

int Engine_SetOptions(EngineHandle engine, const EngineOptions* options) {
  return engine && options && engine->SetOptions(*options) ? 1 : 0;
}

int Engine_GetBufferInfo(EngineHandle engine, uint32_t* totalBytes, uint32_t* queuedBytes) {
  if (!engine) return 0;
  engine->GetBufferInfo(totalBytes, queuedBytes);
  return 1;
}

int Engine_GetStreamState(EngineHandle engine) {
  return engine ? static_cast<int>(engine->GetStreamState()) : 0;
}

// No stream reader runs, so there is never buffered stream data.
int Engine_GetStreamBufferPercent(EngineHandle /*engine*/) { return 0; }

int Engine_GetStreamInfo(EngineHandle engine, char16_t* title, char16_t* author, char16_t* url) {
  if (!engine) return 0;
  for (char16_t* text : {title, author, url})
    if (text) text[0] = 0;
  return 0;
}

// The engine keeps no in-stream title.
int Engine_GetStreamTitle(EngineHandle /*engine*/, char16_t* /*text*/) { return 0; }

// The engine does not use the streaming options.
int Engine_SetStreamingOptions(EngineHandle /*engine*/, const StreamingOptions* /*options*/) { return 0; }

int Engine_GetStreamingOptions(EngineHandle engine, StreamingOptions* options) {
  if (!engine || !options) return 0;
  options->StreamingPreBuffer = 100;
  return 1;
}

int Engine_GetPluginCount(EngineHandle engine) { return engine ? engine->PluginCount() : 0; }

DecoderPlugin* Engine_GetPlugin(EngineHandle engine, int index) {
  return engine ? engine->Plugins().Table(index) : nullptr;
}

int Engine_SetEffectParams(EngineHandle engine, const EffectParams* params) {
  if (!engine || !params) return 0;
  engine->Effects().SetEffectParams(*params);
  return 1;
}

int Engine_GetEffectParams(EngineHandle engine, EffectParams* params) {
  if (!engine || !params) return 0;
  *params = engine->Effects().GetEffectParams();
  return 1;
}

int Engine_SetSurroundParams(EngineHandle engine, const QbsParams* params) {
  if (!engine || !params) return 0;
  engine->Effects().SetSurroundParams(*params);
  return 1;
}

int Engine_GetSurroundParams(EngineHandle engine, QbsParams* params) {
  if (!engine || !params) return 0;
  *params = engine->Effects().GetSurroundParams();
  return 1;
}

int Engine_SetEffectByType(EngineHandle engine, int type, const SmallEffectParams* params) {
  return engine && params && engine->Effects().SetByType(type, *params) ? 1 : 0;
}

int Engine_GetEffectByType(EngineHandle engine, int type, SmallEffectParams* params) {
  return engine && params && engine->Effects().GetByType(type, params) ? 1 : 0;
}

int Engine_EnableSpectrum(EngineHandle engine, int on) {
  if (!engine) return 0;
  engine->Effects().EnableSpectrum(on != 0);
  return 1;
}

int Engine_SetSpectrumMode(EngineHandle engine, int mode) {
  if (!engine) return 0;
  engine->Effects().SetSpectrumMode(mode);
  return 1;
}

int Engine_GetSpectrum(EngineHandle engine, SpectrumBands* out) {
  if (!engine || !out) return 0;
  return engine->Effects().GetSpectrum(out) ? 1 : 0;
}

int Engine_SetNotifyWindow(EngineHandle engine, WindowHandle window) {
  if (!engine) return 0;
  engine->SetNotifyWindow(window);
  return 1;
}

}  // namespace qv
