// The native build has no system wave-out device; the engine uses the
// virtual one there.
#include "platform/audio/wave_out.h"

namespace qv {

std::unique_ptr<WaveOutDriver> CreateSystemWaveOut() { return nullptr; }

}  // namespace qv
