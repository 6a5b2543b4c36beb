// The enhancement-mode buttons and the built-in presets. Not built yet: the
// mode flags stay off and the buttons, presets and mode commands change
// nothing (the effect settings the options load still reach the engine).
#pragma once

#include <windows.h>

#include "engine/engine_api.h"

namespace qv {

struct SkinControls;

class CEnhancementModes {
 public:
  // After the options were loaded: flags and radios from the engine's records.
  void ReadFromEngine(EngineHandle /*engine*/, SkinControls& /*controls*/) {}
  void OnButton(const wchar_t* /*name*/) {}
  void ApplyCommand(int /*command*/) {}
  void ApplyPreset(int /*preset*/) {}
  void SetDrcAndEq() {}
  void ToggleEffectPanel() {}
  // On WM_ENGINE_STATUS 1: the mode again for the new track (kind 4).
  void ReapplyForTrack() {}
  // From the effect host: the EQ and CO flags.
  void SetEqFromHost(LPARAM /*on*/) {}
  void SetCrossoverFromHost(LPARAM /*on*/) {}
};

}  // namespace qv
