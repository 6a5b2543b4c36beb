// Shared pieces of the options tests: an engine, and the table of every
// option value with a way to reach its field.
#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "engine/engine_api.h"
#include "options/memory_settings_store.h"
#include "options/win32_options.h"

namespace qv::test {

class ScopedEngine {
 public:
  ScopedEngine() : engine_(Engine_Create()) {}
  ~ScopedEngine() { Engine_Destroy(engine_); }
  ScopedEngine(const ScopedEngine&) = delete;
  ScopedEngine& operator=(const ScopedEngine&) = delete;
  EngineHandle get() const { return engine_; }

 private:
  EngineHandle engine_;
};

struct DwordOption {
  const char16_t* name;
  std::function<int32_t&(CWin32Options&)> field;
  int32_t whenMissing;  // with the engine's defaults
  int32_t firstRun;
  int32_t sample;  // a value inside the dialogs' ranges, unlike both columns
};

struct TextOption {
  const char16_t* name;
  std::function<char16_t*(CWin32Options&)> field;
  size_t capacity;
};

const std::vector<DwordOption>& DwordOptions();
const std::vector<TextOption>& TextOptions();

// The value names in the order SaveSettings writes them.
const std::vector<std::u16string>& SaveOrder();

void PutDword(MemorySettingsStore& store, std::u16string_view name, uint32_t value);
void PutRaw(MemorySettingsStore& store, std::u16string_view name, uint32_t type, const void* data, uint32_t size);
void MakeOptionsKey(MemorySettingsStore& store);

}  // namespace qv::test
