#include "options/options.h"

#include <memory>
#include <string>

#include "options/registry_helpers.h"
#include "platform/text/utf16.h"

namespace qv {

const char16_t kOptionsKey[] = u"Software\\HALVORN\\QuoviraPlayer\\MP3";

namespace {

constexpr int32_t kFirstRunStreamingBuffer = 32;
constexpr int32_t kFirstRunStreamingPreBuffer = 16;

struct DwordField {
  const char16_t* name;
  int32_t* field;
};

int32_t Clamp(int32_t v, int32_t lo, int32_t hi) { return v < lo ? lo : (v > hi ? hi : v); }

// The text of a fixed field, never past its last character even when a
// writer left it unterminated.
std::u16string FieldText(const char16_t* field, size_t capacity) {
  size_t n = 0;
  while (n + 1 < capacity && field[n]) ++n;
  return std::u16string(field, n);
}

}  // namespace

COptions::COptions(SettingsStore& store) : store_(store) {}

COptions::~COptions() = default;

void COptions::SetFirstRunValues() {
  TopMost = 0;
  Repeat = 0;
  Speaker = 1;
  Shuffle = 0;
  TimeReverse = 1;
  SaveDefPlayList = 1;
  AddExisting = 0;
  Resume = 0;
  ResumeTrack = 0;
  ResumeTime = 0;
  PlayOnStart = 0;
  TrayIcon = 0;
  SearchSubFolders = 0;
  ScrollTitle = 1;
  SleepMinutes = 30;
  SavedPreset = 0;
  EngineOptions.OutputBufferLen = 500;
  EngineOptions.OutputPrebuffer = 10;
  EngineOptions.OutputFade = 0;
  EngineOptions.ScanCompletely = 0;
  EngineOptions.SuppressZeroSamples = 0;
  EngineOptions.AlwaysOpenDev = 0;
  LastDir[0] = 0;
  SkinFile[0] = 0;
  StreamingOptions.StreamingBuffer = kFirstRunStreamingBuffer;
  StreamingOptions.StreamingPreBuffer = kFirstRunStreamingPreBuffer;
  StreamingOptions.StreamingUseProxy = 0;
  StreamingOptions.StreamingProxy[0] = 0;
}

void COptions::ReadValues(SettingsKey& key) {
  const DwordField dwords[] = {
      {u"Window Top Most", &TopMost},
      {u"Repeat", &Repeat},
      {u"Speaker", &Speaker},
      {u"Shuffle", &Shuffle},
      {u"TimeReverse", &TimeReverse},
      {u"SaveDefPlayList", &SaveDefPlayList},
      {u"AddExisting", &AddExisting},
      {u"Resume", &Resume},
      {u"ResumeTrack", &ResumeTrack},
      {u"ResumeTime", &ResumeTime},
      {u"PlayOnStart", &PlayOnStart},
      {u"TrayIcon", &TrayIcon},
      {u"SearchSubFolders", &SearchSubFolders},
      {u"ScrollTitle", &ScrollTitle},
      {u"SleepMinutes", &SleepMinutes},
      {u"SavedPreset", &SavedPreset},
      {u"OutputBufferLen", &EngineOptions.OutputBufferLen},
      {u"OutputPrebuffer", &EngineOptions.OutputPrebuffer},
      {u"OutputFade", &EngineOptions.OutputFade},
      {u"ScanCompletely", &EngineOptions.ScanCompletely},
      {u"SuppressZeroSamples", &EngineOptions.SuppressZeroSamples},
      {u"AlwaysOpenDev", &EngineOptions.AlwaysOpenDev},
  };
  for (const DwordField& d : dwords) {
    if (!QueryDwordField(key, d.name, *d.field) && d.field == &Repeat) Repeat = 0;
  }
  if (!QueryTextField(key, u"LastDir", LastDir, kOptionTextChars)) LastDir[0] = 0;
  if (!QueryTextField(key, u"SkinFile", SkinFile, kOptionTextChars)) SkinFile[0] = 0;

  // The engine gives no starting values for these two; a key without them
  // gets what a first run would.
  StreamingOptions.StreamingBuffer = kFirstRunStreamingBuffer;
  StreamingOptions.StreamingUseProxy = 0;
  QueryDwordField(key, u"StreamingBuffer", StreamingOptions.StreamingBuffer);
  QueryDwordField(key, u"StreamingPreBuffer", StreamingOptions.StreamingPreBuffer);
  QueryDwordField(key, u"StreamingUseProxy", StreamingOptions.StreamingUseProxy);
  if (!QueryTextField(key, u"StreamingProxy", StreamingOptions.StreamingProxy, kPathChars))
    StreamingOptions.StreamingProxy[0] = 0;

  // Values the dialogs could never have stored: the engine would refuse the
  // buffer options for good, and the sleep timer would never or always fire.
  EngineOptions.OutputBufferLen = Clamp(EngineOptions.OutputBufferLen, kMinOutputBufferLen, kMaxOutputBufferLen);
  EngineOptions.OutputPrebuffer = Clamp(EngineOptions.OutputPrebuffer, 0, 100);
  if (SleepMinutes < kMinSleepMinutes || SleepMinutes > kMaxSleepMinutes) SleepMinutes = 30;
}

void COptions::LoadSettings(EngineHandle engine) {
  Engine_GetOptions(engine, &EngineOptions);
  Engine_GetStreamingOptions(engine, &StreamingOptions);

  std::unique_ptr<SettingsKey> key;
  if (store_.Open(SettingsRoot::CurrentUser, kOptionsKey, KeyAccess::Read, key) != kSettingsOk) {
    SetFirstRunValues();
    SetFirstRunEffects(engine);
  } else {
    LoadEffectValues(*key, engine);
    ReadValues(*key);
    key.reset();
    LoadOtherEffectKeys(engine);
  }
  ApplyEffectsToEngine(engine);
  Engine_SetOptions(engine, &EngineOptions);
  Engine_SetStreamingOptions(engine, &StreamingOptions);
}

long COptions::WriteValues(SettingsKey& key) {
  long first = kSettingsOk;
  auto keep = [&first](long rc) {
    if (first == kSettingsOk) first = rc;
  };
  const DwordField before[] = {
      {u"Window Top Most", &TopMost},   {u"Repeat", &Repeat},
      {u"Shuffle", &Shuffle},           {u"TimeReverse", &TimeReverse},
      {u"SaveDefPlayList", &SaveDefPlayList}, {u"AddExisting", &AddExisting},
      {u"Resume", &Resume},             {u"ResumeTrack", &ResumeTrack},
      {u"ResumeTime", &ResumeTime},     {u"PlayOnStart", &PlayOnStart},
      {u"TrayIcon", &TrayIcon},         {u"SearchSubFolders", &SearchSubFolders},
      {u"ScrollTitle", &ScrollTitle},
  };
  for (const DwordField& d : before) keep(SetDwordValue(key, d.name, static_cast<uint32_t>(*d.field)));
  keep(SetTextValue(key, u"LastDir", FieldText(LastDir, kOptionTextChars).c_str()));
  keep(SetTextValue(key, u"SkinFile", FieldText(SkinFile, kOptionTextChars).c_str()));
  const DwordField after[] = {
      {u"SleepMinutes", &SleepMinutes},
      {u"Speaker", &Speaker},
      {u"SavedPreset", &SavedPreset},
      {u"OutputBufferLen", &EngineOptions.OutputBufferLen},
      {u"OutputPrebuffer", &EngineOptions.OutputPrebuffer},
      {u"OutputFade", &EngineOptions.OutputFade},
      {u"ScanCompletely", &EngineOptions.ScanCompletely},
      {u"SuppressZeroSamples", &EngineOptions.SuppressZeroSamples},
      {u"AlwaysOpenDev", &EngineOptions.AlwaysOpenDev},
      {u"StreamingBuffer", &StreamingOptions.StreamingBuffer},
      {u"StreamingPreBuffer", &StreamingOptions.StreamingPreBuffer},
      {u"StreamingUseProxy", &StreamingOptions.StreamingUseProxy},
  };
  for (const DwordField& d : after) keep(SetDwordValue(key, d.name, static_cast<uint32_t>(*d.field)));
  keep(SetTextValue(key, u"StreamingProxy", FieldText(StreamingOptions.StreamingProxy, kPathChars).c_str()));
  return first;
}

long COptions::SaveSettings(EngineHandle engine) {
  std::unique_ptr<SettingsKey> key;
  long rc = store_.Create(SettingsRoot::CurrentUser, kOptionsKey, key);
  if (rc != kSettingsOk) return rc;
  long effects = SaveEffectValues(*key, engine);
  long values = WriteValues(*key);
  return effects != kSettingsOk ? effects : values;
}

}  // namespace qv
