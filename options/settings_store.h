// The settings store: the per-user and per-machine registry as the options
// and the other persisted settings reach it. Results are Windows error codes
// (0 success) so that the Win32 store can pass the registry's own through.
#pragma once

#include <cstdint>
#include <memory>
#include <string_view>

namespace qv {

enum class SettingsRoot { CurrentUser, LocalMachine, ClassesRoot };

// Value types as the registry stores them.
constexpr uint32_t kRegSz = 1;
constexpr uint32_t kRegBinary = 3;
constexpr uint32_t kRegDword = 4;

// Results.
constexpr long kSettingsOk = 0;
constexpr long kSettingsNotFound = 2;       // ERROR_FILE_NOT_FOUND
constexpr long kSettingsAccessDenied = 5;   // ERROR_ACCESS_DENIED
constexpr long kSettingsInvalidParameter = 87;  // ERROR_INVALID_PARAMETER
constexpr long kSettingsMoreData = 234;     // ERROR_MORE_DATA
constexpr long kSettingsKeyDeleted = 1018;  // ERROR_KEY_DELETED

// An open key; closed when destroyed.
class SettingsKey {
 public:
  virtual ~SettingsKey() = default;

  // As RegQueryValueEx: on entry *size is the capacity of data (data may be
  // null to ask for the size). On success *size is the value's size and
  // *type its type. A value larger than the capacity gives kSettingsMoreData
  // with *size set to the value's size and nothing copied.
  virtual long Query(std::u16string_view name, uint32_t* type, void* data, uint32_t* size) = 0;
  // Stores the bytes as given, with their type. Needs a key opened for writing.
  virtual long Set(std::u16string_view name, uint32_t type, const void* data, uint32_t size) = 0;
  virtual long DeleteValue(std::u16string_view name) = 0;
};

enum class KeyAccess { Read, Write };

class SettingsStore {
 public:
  virtual ~SettingsStore() = default;

  // Opens an existing key; kSettingsNotFound when it does not exist.
  virtual long Open(SettingsRoot root, std::u16string_view subkey, KeyAccess access,
                    std::unique_ptr<SettingsKey>& out) = 0;
  // Opens a key for reading and writing, creating it and every missing key
  // above it.
  virtual long Create(SettingsRoot root, std::u16string_view subkey, std::unique_ptr<SettingsKey>& out) = 0;
  // Deletes a key that has no subkeys.
  virtual long DeleteKey(SettingsRoot root, std::u16string_view subkey) = 0;
};

// The process's store: the registry (32-bit view) on Windows, a process-wide
// in-memory store elsewhere.
SettingsStore& SystemSettingsStore();

}  // namespace qv
