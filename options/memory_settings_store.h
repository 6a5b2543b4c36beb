// A settings store held in memory, faithful to the registry where the
// player's code depends on it: a missing key differs from a missing value,
// every value keeps its type and raw bytes, a read into a smaller buffer
// fails with kSettingsMoreData, names compare without regard to ASCII case,
// a key opened for reading refuses writes, and Create makes every missing
// key on the way. Used natively as the system store and by tests.
#pragma once

#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "options/settings_store.h"

namespace qv {

class MemorySettingsStore : public SettingsStore {
 public:
  struct Value {
    std::u16string name;
    uint32_t type = 0;
    std::vector<uint8_t> bytes;
  };

  MemorySettingsStore();
  ~MemorySettingsStore() override;

  long Open(SettingsRoot root, std::u16string_view subkey, KeyAccess access,
            std::unique_ptr<SettingsKey>& out) override;
  long Create(SettingsRoot root, std::u16string_view subkey, std::unique_ptr<SettingsKey>& out) override;
  long DeleteKey(SettingsRoot root, std::u16string_view subkey) override;

  // Makes every later Open or Create fail with the given error (0: normal).
  void FailOpens(long error) { failOpens_ = error; }

  // Inspection for tests: whether the key exists, and its values in the
  // order they were first written (empty when the key is missing).
  bool KeyExists(SettingsRoot root, std::u16string_view subkey) const;
  std::vector<Value> Values(SettingsRoot root, std::u16string_view subkey) const;

  struct Node;

 private:
  std::shared_ptr<Node> Find(SettingsRoot root, std::u16string_view subkey) const;

  std::map<SettingsRoot, std::shared_ptr<Node>> roots_;
  long failOpens_ = 0;
  mutable std::recursive_mutex lock_;
};

}  // namespace qv
