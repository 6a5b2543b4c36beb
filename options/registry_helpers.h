// The player's registry helpers over a settings store, and the field readers
// and writers the options use on an open key.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "options/settings_store.h"

namespace qv {

// Whole-key helpers; each opens its key and closes it again on every path.

// The DWORD, or def when the value cannot be read; 0 when the key can be
// neither created nor opened. The key is created when it does not exist.
uint32_t ReadRegDword(SettingsStore& store, SettingsRoot root, std::u16string_view subkey,
                      std::u16string_view name, uint32_t def);
// 1 with out holding the value (or def when the value cannot be read), always
// terminated within outBytes; 0 when the key can be neither created nor
// opened, or out cannot hold a terminator.
int ReadRegText(SettingsStore& store, SettingsRoot root, std::u16string_view subkey, std::u16string_view name,
                const char16_t* def, char16_t* out, uint32_t outBytes);
// 1 or 0; texts are stored as REG_SZ with their terminator.
int WriteRegDword(SettingsStore& store, SettingsRoot root, std::u16string_view subkey, std::u16string_view name,
                  uint32_t value);
int WriteRegText(SettingsStore& store, SettingsRoot root, std::u16string_view subkey, std::u16string_view name,
                 const char16_t* text);
// 0 when the key exists, otherwise the error.
long TestRegKey(SettingsStore& store, SettingsRoot root, std::u16string_view subkey);
// 1 on success.
int DeleteRegKey(SettingsStore& store, SettingsRoot root, std::u16string_view subkey);
int DeleteRegValue(SettingsStore& store, SettingsRoot root, std::u16string_view subkey, std::u16string_view name);

// On an open key.

// Reads up to 4 bytes of any type into the field's bytes; true when read.
// A value larger than 4 bytes cannot be read and leaves the field as it was.
bool QueryDwordField(SettingsKey& key, std::u16string_view name, int32_t& field);
// Reads a text of at most capacity - 1 characters plus terminator (the
// buffer given to the registry is capacity * 2 bytes). The result is always
// terminated; false (and out unchanged) when the value cannot be read.
bool QueryTextField(SettingsKey& key, std::u16string_view name, char16_t* out, size_t capacity);
long SetDwordValue(SettingsKey& key, std::u16string_view name, uint32_t value);
// REG_SZ of (length + 1) * 2 bytes.
long SetTextValue(SettingsKey& key, std::u16string_view name, const char16_t* text);

}  // namespace qv
