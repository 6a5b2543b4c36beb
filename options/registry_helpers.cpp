#include "options/registry_helpers.h"

#include <cstring>
#include <memory>
#include <vector>

#include "platform/text/utf16.h"

namespace qv {

namespace {

// The helpers create the key when it is missing; a key that cannot be
// created (no right to write there) is still read when it can be opened.
long CreateOrOpen(SettingsStore& store, SettingsRoot root, std::u16string_view subkey,
                  std::unique_ptr<SettingsKey>& key) {
  long rc = store.Create(root, subkey, key);
  if (rc == kSettingsOk) return rc;
  return store.Open(root, subkey, KeyAccess::Read, key) == kSettingsOk ? kSettingsOk : rc;
}

}  // namespace

bool QueryDwordField(SettingsKey& key, std::u16string_view name, int32_t& field) {
  uint8_t bytes[4];
  std::memcpy(bytes, &field, 4);
  uint32_t size = 4;
  if (key.Query(name, nullptr, bytes, &size) != kSettingsOk) return false;
  std::memcpy(&field, bytes, 4);
  return true;
}

bool QueryTextField(SettingsKey& key, std::u16string_view name, char16_t* out, size_t capacity) {
  if (!out || capacity == 0) return false;
  std::vector<char16_t> buffer(capacity);
  uint32_t size = static_cast<uint32_t>(capacity * sizeof(char16_t));
  if (key.Query(name, nullptr, buffer.data(), &size) != kSettingsOk) return false;
  size_t chars = size / sizeof(char16_t);
  // A stored text need not carry its terminator, nor be a text at all.
  buffer[chars < capacity ? chars : capacity - 1] = 0;
  std::memcpy(out, buffer.data(), capacity * sizeof(char16_t));
  return true;
}

long SetDwordValue(SettingsKey& key, std::u16string_view name, uint32_t value) {
  return key.Set(name, kRegDword, &value, 4);
}

long SetTextValue(SettingsKey& key, std::u16string_view name, const char16_t* text) {
  static const char16_t kEmpty[] = u"";
  if (!text) text = kEmpty;
  uint32_t bytes = static_cast<uint32_t>((U16Length(text) + 1) * sizeof(char16_t));
  return key.Set(name, kRegSz, text, bytes);
}

uint32_t ReadRegDword(SettingsStore& store, SettingsRoot root, std::u16string_view subkey,
                      std::u16string_view name, uint32_t def) {
  std::unique_ptr<SettingsKey> key;
  if (CreateOrOpen(store, root, subkey, key) != kSettingsOk) return 0;
  int32_t value = 0;
  return QueryDwordField(*key, name, value) ? static_cast<uint32_t>(value) : def;
}

int ReadRegText(SettingsStore& store, SettingsRoot root, std::u16string_view subkey, std::u16string_view name,
                const char16_t* def, char16_t* out, uint32_t outBytes) {
  size_t capacity = outBytes / sizeof(char16_t);
  if (!out || capacity == 0) return 0;
  std::unique_ptr<SettingsKey> key;
  if (CreateOrOpen(store, root, subkey, key) != kSettingsOk) return 0;
  if (!QueryTextField(*key, name, out, capacity))
    U16CopyTruncated(out, capacity, def ? std::u16string_view(def, U16Length(def)) : std::u16string_view());
  return 1;
}

int WriteRegDword(SettingsStore& store, SettingsRoot root, std::u16string_view subkey, std::u16string_view name,
                  uint32_t value) {
  std::unique_ptr<SettingsKey> key;
  if (store.Create(root, subkey, key) != kSettingsOk) return 0;
  return SetDwordValue(*key, name, value) == kSettingsOk ? 1 : 0;
}

int WriteRegText(SettingsStore& store, SettingsRoot root, std::u16string_view subkey, std::u16string_view name,
                 const char16_t* text) {
  std::unique_ptr<SettingsKey> key;
  if (store.Create(root, subkey, key) != kSettingsOk) return 0;
  return SetTextValue(*key, name, text) == kSettingsOk ? 1 : 0;
}

long TestRegKey(SettingsStore& store, SettingsRoot root, std::u16string_view subkey) {
  std::unique_ptr<SettingsKey> key;
  return store.Open(root, subkey, KeyAccess::Read, key);
}

int DeleteRegKey(SettingsStore& store, SettingsRoot root, std::u16string_view subkey) {
  return store.DeleteKey(root, subkey) == kSettingsOk ? 1 : 0;
}

int DeleteRegValue(SettingsStore& store, SettingsRoot root, std::u16string_view subkey, std::u16string_view name) {
  std::unique_ptr<SettingsKey> key;
  if (store.Open(root, subkey, KeyAccess::Write, key) != kSettingsOk) return 0;
  return key->DeleteValue(name) == kSettingsOk ? 1 : 0;
}

}  // namespace qv
