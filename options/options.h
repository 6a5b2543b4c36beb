// COptions: the player's general settings, loaded from and saved to the
// per-user options key. The effect settings pass through the same two
// operations, at the hooks below.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/engine_api.h"
#include "options/settings_store.h"

namespace qv {

// HKEY_CURRENT_USER key of the options, the window placement and the effects.
extern const char16_t kOptionsKey[];
// Characters of the LastDir and SkinFile fields (4096 bytes).
constexpr size_t kOptionTextChars = 2048;

// Ranges the option dialogs allow; loading brings stored values into them.
constexpr int32_t kMinOutputBufferLen = 20;
constexpr int32_t kMaxOutputBufferLen = 5000;
constexpr int32_t kMinSleepMinutes = 1;
constexpr int32_t kMaxSleepMinutes = 999;

class COptions {
 public:
  explicit COptions(SettingsStore& store = SystemSettingsStore());
  virtual ~COptions();
  COptions(const COptions&) = delete;
  COptions& operator=(const COptions&) = delete;

  // Writes every option (and the effect settings) to the options key. 0, or
  // the error of the key that could not be created (then nothing is written)
  // or of the first value that could not be written.
  virtual long SaveSettings(EngineHandle engine);
  // Reads the options key (first-run values when it cannot be opened) and
  // hands the engine options to the engine.
  virtual void LoadSettings(EngineHandle engine);

  // The values, in the order the object has always kept them.
  qv::EngineOptions EngineOptions{};
  qv::StreamingOptions StreamingOptions{};
  int32_t TopMost = 0;
  char16_t LastDir[kOptionTextChars] = {};
  char16_t SkinFile[kOptionTextChars] = {};
  int32_t Shuffle = 0;
  int32_t Repeat = 0;  // 0 none, 1 all, 2 one
  int32_t SavedPreset = 0;
  int32_t Resume = 0;
  int32_t PlayOnStart = 0;
  int32_t TimeReverse = 0;
  int32_t SaveDefPlayList = 1;
  int32_t AddExisting = 0;
  int32_t TrayIcon = 0;
  int32_t SearchSubFolders = 0;
  int32_t ScrollTitle = 1;
  int32_t SleepMinutes = 30;
  int32_t ResumeTrack = -1;
  int32_t ResumeTime = 0;
  int32_t Speaker = 1;
  // Kept while the options sheet or the location dialog is open; not stored.
  EngineHandle SheetEngine = nullptr;
  char16_t* LocationBuffer = nullptr;
  // Sleep timer bookkeeping of the main window: -1 when off.
  int32_t SleepState = -1;
  uint32_t SleepStart = 0;

 protected:
  SettingsStore& Store() { return store_; }

  // The effect settings' part of loading and saving, at the points where it
  // belongs in the sequence. The options key is open in each call.
  virtual void LoadEffectValues(SettingsKey& /*optionsKey*/, EngineHandle /*engine*/) {}
  virtual void SetFirstRunEffects(EngineHandle /*engine*/) {}
  virtual void LoadOtherEffectKeys(EngineHandle /*engine*/) {}
  virtual void ApplyEffectsToEngine(EngineHandle /*engine*/) {}
  virtual long SaveEffectValues(SettingsKey& /*optionsKey*/, EngineHandle /*engine*/) { return kSettingsOk; }

 private:
  void SetFirstRunValues();
  void ReadValues(SettingsKey& key);
  long WriteValues(SettingsKey& key);

  SettingsStore& store_;
};

}  // namespace qv
