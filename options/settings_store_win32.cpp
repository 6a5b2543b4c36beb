// The settings store over the Windows registry, always in its 32-bit view.
#include <windows.h>

#include <string>

#include "options/settings_store.h"
#include "platform/text/utf16.h"

namespace qv {

namespace {

HKEY RootKey(SettingsRoot root) {
  switch (root) {
    case SettingsRoot::CurrentUser: return HKEY_CURRENT_USER;
    case SettingsRoot::LocalMachine: return HKEY_LOCAL_MACHINE;
    case SettingsRoot::ClassesRoot: return HKEY_CLASSES_ROOT;
  }
  return HKEY_CURRENT_USER;
}

// Registry names are terminated texts.
std::wstring Terminated(std::u16string_view text) {
  return std::wstring(reinterpret_cast<const wchar_t*>(text.data()), text.size());
}

class RegistryKey : public SettingsKey {
 public:
  explicit RegistryKey(HKEY key) : key_(key) {}
  ~RegistryKey() override { RegCloseKey(key_); }

  long Query(std::u16string_view name, uint32_t* type, void* data, uint32_t* size) override {
    DWORD t = 0;
    DWORD n = size ? *size : 0;
    LONG rc = RegQueryValueExW(key_, Terminated(name).c_str(), nullptr, &t, static_cast<BYTE*>(data),
                               size ? &n : nullptr);
    if (type) *type = t;
    if (size) *size = n;
    return rc;
  }

  long Set(std::u16string_view name, uint32_t type, const void* data, uint32_t size) override {
    return RegSetValueExW(key_, Terminated(name).c_str(), 0, type, static_cast<const BYTE*>(data), size);
  }

  long DeleteValue(std::u16string_view name) override {
    return RegDeleteValueW(key_, Terminated(name).c_str());
  }

 private:
  HKEY key_;
};

class RegistryStore : public SettingsStore {
 public:
  long Open(SettingsRoot root, std::u16string_view subkey, KeyAccess access,
            std::unique_ptr<SettingsKey>& out) override {
    out.reset();
    REGSAM sam = (access == KeyAccess::Write ? KEY_READ | KEY_WRITE : KEY_READ) | KEY_WOW64_32KEY;
    HKEY key = nullptr;
    LONG rc = RegOpenKeyExW(RootKey(root), Terminated(subkey).c_str(), 0, sam, &key);
    if (rc == ERROR_SUCCESS) out = std::make_unique<RegistryKey>(key);
    return rc;
  }

  long Create(SettingsRoot root, std::u16string_view subkey, std::unique_ptr<SettingsKey>& out) override {
    out.reset();
    HKEY key = nullptr;
    LONG rc = RegCreateKeyExW(RootKey(root), Terminated(subkey).c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                              KEY_READ | KEY_WRITE | KEY_WOW64_32KEY, nullptr, &key, nullptr);
    if (rc == ERROR_SUCCESS) out = std::make_unique<RegistryKey>(key);
    return rc;
  }

  long DeleteKey(SettingsRoot root, std::u16string_view subkey) override {
    // A 32-bit process sees the 32-bit view by default.
    return RegDeleteKeyW(RootKey(root), Terminated(subkey).c_str());
  }
};

}  // namespace

SettingsStore& SystemSettingsStore() {
  static RegistryStore store;
  return store;
}

}  // namespace qv
