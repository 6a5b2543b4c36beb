#include "tests/options/options_test_support.h"

namespace qv::test {

const std::vector<DwordOption>& DwordOptions() {
  static const std::vector<DwordOption> options = {
      {u"Window Top Most", [](CWin32Options& o) -> int32_t& { return o.TopMost; }, 0, 0, 1},
      {u"Repeat", [](CWin32Options& o) -> int32_t& { return o.Repeat; }, 0, 0, 2},
      {u"Speaker", [](CWin32Options& o) -> int32_t& { return o.Speaker; }, 1, 1, 0},
      {u"Shuffle", [](CWin32Options& o) -> int32_t& { return o.Shuffle; }, 0, 0, 1},
      {u"TimeReverse", [](CWin32Options& o) -> int32_t& { return o.TimeReverse; }, 0, 1, 1},
      {u"SaveDefPlayList", [](CWin32Options& o) -> int32_t& { return o.SaveDefPlayList; }, 1, 1, 0},
      {u"AddExisting", [](CWin32Options& o) -> int32_t& { return o.AddExisting; }, 0, 0, 1},
      {u"Resume", [](CWin32Options& o) -> int32_t& { return o.Resume; }, 0, 0, 1},
      {u"ResumeTrack", [](CWin32Options& o) -> int32_t& { return o.ResumeTrack; }, -1, 0, 17},
      {u"ResumeTime", [](CWin32Options& o) -> int32_t& { return o.ResumeTime; }, 0, 0, 123456},
      {u"PlayOnStart", [](CWin32Options& o) -> int32_t& { return o.PlayOnStart; }, 0, 0, 1},
      {u"TrayIcon", [](CWin32Options& o) -> int32_t& { return o.TrayIcon; }, 0, 0, 1},
      {u"SearchSubFolders", [](CWin32Options& o) -> int32_t& { return o.SearchSubFolders; }, 0, 0, 1},
      {u"ScrollTitle", [](CWin32Options& o) -> int32_t& { return o.ScrollTitle; }, 1, 1, 0},
      {u"SleepMinutes", [](CWin32Options& o) -> int32_t& { return o.SleepMinutes; }, 30, 30, 45},
      {u"SavedPreset", [](CWin32Options& o) -> int32_t& { return o.SavedPreset; }, 0, 0, 6},
      {u"OutputBufferLen", [](CWin32Options& o) -> int32_t& { return o.EngineOptions.OutputBufferLen; }, 500, 500,
       1500},
      {u"OutputPrebuffer", [](CWin32Options& o) -> int32_t& { return o.EngineOptions.OutputPrebuffer; }, 10, 10,
       40},
      {u"OutputFade", [](CWin32Options& o) -> int32_t& { return o.EngineOptions.OutputFade; }, 0, 0, 1},
      {u"ScanCompletely", [](CWin32Options& o) -> int32_t& { return o.EngineOptions.ScanCompletely; }, 0, 0, 1},
      {u"SuppressZeroSamples", [](CWin32Options& o) -> int32_t& { return o.EngineOptions.SuppressZeroSamples; },
       0, 0, 1},
      {u"AlwaysOpenDev", [](CWin32Options& o) -> int32_t& { return o.EngineOptions.AlwaysOpenDev; }, 0, 0, 1},
      {u"StreamingBuffer", [](CWin32Options& o) -> int32_t& { return o.StreamingOptions.StreamingBuffer; }, 32, 32,
       64},
      {u"StreamingPreBuffer", [](CWin32Options& o) -> int32_t& { return o.StreamingOptions.StreamingPreBuffer; },
       100, 16, 24},
      {u"StreamingUseProxy", [](CWin32Options& o) -> int32_t& { return o.StreamingOptions.StreamingUseProxy; }, 0,
       0, 1},
      {u"Window Alpha", [](CWin32Options& o) -> int32_t& { return o.WindowAlpha; }, 255, 255, 128},
  };
  return options;
}

const std::vector<TextOption>& TextOptions() {
  static const std::vector<TextOption> options = {
      {u"LastDir", [](CWin32Options& o) { return o.LastDir; }, kOptionTextChars},
      {u"SkinFile", [](CWin32Options& o) { return o.SkinFile; }, kOptionTextChars},
      {u"StreamingProxy", [](CWin32Options& o) { return o.StreamingOptions.StreamingProxy; }, kPathChars},
  };
  return options;
}

const std::vector<std::u16string>& SaveOrder() {
  static const std::vector<std::u16string> order = {
      u"Window Top Most", u"Repeat",          u"Shuffle",          u"TimeReverse",     u"SaveDefPlayList",
      u"AddExisting",     u"Resume",          u"ResumeTrack",      u"ResumeTime",      u"PlayOnStart",
      u"TrayIcon",        u"SearchSubFolders", u"ScrollTitle",     u"LastDir",         u"SkinFile",
      u"SleepMinutes",    u"Speaker",         u"SavedPreset",      u"OutputBufferLen", u"OutputPrebuffer",
      u"OutputFade",      u"ScanCompletely",  u"SuppressZeroSamples", u"AlwaysOpenDev", u"StreamingBuffer",
      u"StreamingPreBuffer", u"StreamingUseProxy", u"StreamingProxy", u"Window Alpha",
  };
  return order;
}

void PutRaw(MemorySettingsStore& store, std::u16string_view name, uint32_t type, const void* data, uint32_t size) {
  std::unique_ptr<SettingsKey> key;
  store.Create(SettingsRoot::CurrentUser, kOptionsKey, key);
  key->Set(name, type, data, size);
}

void PutDword(MemorySettingsStore& store, std::u16string_view name, uint32_t value) {
  PutRaw(store, name, kRegDword, &value, 4);
}

void MakeOptionsKey(MemorySettingsStore& store) {
  std::unique_ptr<SettingsKey> key;
  store.Create(SettingsRoot::CurrentUser, kOptionsKey, key);
}

}  // namespace qv::test
