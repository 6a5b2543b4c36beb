// The operating-system services an engine uses, injected at creation so that
// tests and tools can run the real engine against doubles. Engine_Create uses
// the system's: on Win32 the wave mapper, PostMessageW, msacm32 and the CD
// device controls; natively a virtual device paced in real time, a sink that
// drops messages, the PCM and G.711 compression manager and a CD device that
// opens nothing.
#pragma once

#include <functional>
#include <memory>

#include "engine/engine_api.h"
#include "platform/acm/compression.h"
#include "platform/audio/wave_out.h"
#include "platform/cd/cd_device.h"
#include "platform/notify/notify_sink.h"

namespace qv {

struct EngineServices {
  // Makes the engine's wave-out driver once, at creation; the engine owns it.
  std::function<std::unique_ptr<WaveOutDriver>()> createWaveOut;
  // Borrowed; must outlive the engine. Null: the system sink, owned by the engine.
  NotifySink* notify = nullptr;
  // Borrowed; must outlive the engine. Null: the system manager.
  AudioCompressionManager* compression = nullptr;
  // Makes a CD device for each CD open.
  std::function<std::unique_ptr<CdDevice>()> createCdDevice;
};

// Services left empty are taken from the system, as Engine_Create does.
EngineHandle Engine_CreateWithServices(const EngineServices& services);

}  // namespace qv
