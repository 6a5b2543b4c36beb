// The options and the registry helpers against the real registry (wine's):
// every value with its exact name, type and size, and the round trip.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "options/registry_helpers.h"
#include "platform/text/utf16.h"
#include "tests/options/options_test_support.h"

namespace qv::test {
namespace {

struct RawValue {
  LONG rc = ERROR_FILE_NOT_FOUND;
  DWORD type = 0;
  std::vector<uint8_t> bytes;
};

RawValue QueryRaw(const char16_t* name) {
  RawValue v;
  HKEY key;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, AsWide(kOptionsKey), 0, KEY_READ | KEY_WOW64_32KEY, &key) != ERROR_SUCCESS)
    return v;
  DWORD size = 0;
  v.rc = RegQueryValueExW(key, AsWide(name), nullptr, &v.type, nullptr, &size);
  if (v.rc == ERROR_SUCCESS) {
    v.bytes.resize(size);
    v.rc = RegQueryValueExW(key, AsWide(name), nullptr, &v.type, v.bytes.data(), &size);
  }
  RegCloseKey(key);
  return v;
}

// Each test starts without the options key.
class RegistryOptions : public ::testing::Test {
 protected:
  void SetUp() override { RegDeleteTreeW(HKEY_CURRENT_USER, AsWide(kOptionsKey)); }
  void TearDown() override { RegDeleteTreeW(HKEY_CURRENT_USER, AsWide(kOptionsKey)); }
  ScopedEngine engine;
};

void SetSamples(CWin32Options& options) {
  for (const DwordOption& d : DwordOptions()) d.field(options) = d.sample;
  U16CopyTruncated(options.LastDir, kOptionTextChars, u"C:\\" + std::u16string(400, u'L'));
  U16CopyTruncated(options.SkinFile, kOptionTextChars, u"C:\\Skins\\\u00e9t\u00e9.skn");
  U16CopyTruncated(options.StreamingOptions.StreamingProxy, kPathChars, u"proxy.example:8080");
}

TEST_F(RegistryOptions, EveryValueIsStoredWithItsNameTypeAndSize) {
  CWin32Options options;
  SetSamples(options);
  ASSERT_EQ(options.SaveSettings(engine.get()), ERROR_SUCCESS);
  for (const DwordOption& d : DwordOptions()) {
    RawValue v = QueryRaw(d.name);
    ASSERT_EQ(v.rc, ERROR_SUCCESS) << ToUtf8(d.name);
    EXPECT_EQ(v.type, static_cast<DWORD>(REG_DWORD)) << ToUtf8(d.name);
    ASSERT_EQ(v.bytes.size(), 4u) << ToUtf8(d.name);
    int32_t stored;
    std::memcpy(&stored, v.bytes.data(), 4);
    EXPECT_EQ(stored, d.sample) << ToUtf8(d.name);
  }
  for (const TextOption& t : TextOptions()) {
    RawValue v = QueryRaw(t.name);
    ASSERT_EQ(v.rc, ERROR_SUCCESS) << ToUtf8(t.name);
    EXPECT_EQ(v.type, static_cast<DWORD>(REG_SZ)) << ToUtf8(t.name);
    size_t length = U16Length(t.field(options));
    ASSERT_EQ(v.bytes.size(), (length + 1) * 2) << ToUtf8(t.name);
    EXPECT_EQ(std::memcmp(v.bytes.data(), t.field(options), v.bytes.size()), 0) << ToUtf8(t.name);
  }
}

TEST_F(RegistryOptions, EveryValueRoundTrips) {
  CWin32Options saved;
  SetSamples(saved);
  ASSERT_EQ(saved.SaveSettings(engine.get()), ERROR_SUCCESS);
  CWin32Options loaded;
  loaded.LoadSettings(engine.get());
  for (const DwordOption& d : DwordOptions()) EXPECT_EQ(d.field(loaded), d.sample) << ToUtf8(d.name);
  for (const TextOption& t : TextOptions())
    EXPECT_EQ(std::u16string(t.field(loaded)), std::u16string(t.field(saved))) << ToUtf8(t.name);
  EngineOptions live{};
  Engine_GetOptions(engine.get(), &live);
  EXPECT_EQ(live.OutputBufferLen, 1500);
  EXPECT_EQ(live.OutputPrebuffer, 40);
}

TEST_F(RegistryOptions, MissingKeyAndEmptyKey) {
  CWin32Options first;
  first.LoadSettings(engine.get());
  for (const DwordOption& d : DwordOptions()) EXPECT_EQ(d.field(first), d.firstRun) << ToUtf8(d.name);

  // What the main window's own reads of the placement leave behind.
  EXPECT_EQ(ReadRegDword(SystemSettingsStore(), SettingsRoot::CurrentUser, kOptionsKey, u"Pos_left", 0), 0u);
  CWin32Options empty;
  empty.LoadSettings(engine.get());
  for (const DwordOption& d : DwordOptions()) EXPECT_EQ(d.field(empty), d.whenMissing) << ToUtf8(d.name);
}

TEST_F(RegistryOptions, UnusableStoredValuesLoadUsable) {
  SettingsStore& store = SystemSettingsStore();
  WriteRegDword(store, SettingsRoot::CurrentUser, kOptionsKey, u"Window Alpha", 0);
  WriteRegDword(store, SettingsRoot::CurrentUser, kOptionsKey, u"OutputBufferLen", 5);
  WriteRegDword(store, SettingsRoot::CurrentUser, kOptionsKey, u"OutputPrebuffer", 300);
  WriteRegDword(store, SettingsRoot::CurrentUser, kOptionsKey, u"SleepMinutes", 0);
  HKEY key;
  ASSERT_EQ(RegOpenKeyExW(HKEY_CURRENT_USER, AsWide(kOptionsKey), 0, KEY_WRITE | KEY_WOW64_32KEY, &key),
            ERROR_SUCCESS);
  // 4096 bytes without a terminator. (The character after them is not a NUL
  // either, or the registry would count it in.)
  std::u16string full(kOptionTextChars + 1, u'd');
  RegSetValueExW(key, L"LastDir", 0, REG_SZ, reinterpret_cast<const BYTE*>(full.data()),
                 static_cast<DWORD>(kOptionTextChars * 2));
  RegCloseKey(key);

  CWin32Options options;
  options.LoadSettings(engine.get());
  EXPECT_EQ(options.WindowAlpha, 255);
  EXPECT_EQ(options.EngineOptions.OutputBufferLen, 20);
  EXPECT_EQ(options.EngineOptions.OutputPrebuffer, 100);
  EXPECT_EQ(options.SleepMinutes, 30);
  EXPECT_EQ(U16Length(options.LastDir), kOptionTextChars - 1);
  EngineOptions live{};
  Engine_GetOptions(engine.get(), &live);
  EXPECT_EQ(live.OutputBufferLen, 20) << "the engine accepted what was loaded";
}

TEST(RegistryHelpersWin32, CreateReadWriteAndDelete) {
  SettingsStore& store = SystemSettingsStore();
  const char16_t* key = u"Software\\QuoviraTests\\Helpers";
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QuoviraTests");
  EXPECT_NE(TestRegKey(store, SettingsRoot::CurrentUser, key), 0);
  EXPECT_EQ(ReadRegDword(store, SettingsRoot::CurrentUser, key, u"Missing", 9), 9u);
  EXPECT_EQ(TestRegKey(store, SettingsRoot::CurrentUser, key), 0) << "reading created the key";
  ASSERT_EQ(WriteRegText(store, SettingsRoot::CurrentUser, key, u"Location0", u"http://radio/"), 1);
  char16_t out[8];
  ASSERT_EQ(ReadRegText(store, SettingsRoot::CurrentUser, key, u"Location0", u"", out, sizeof out), 1);
  EXPECT_EQ(std::u16string(out), u"") << "too long for the buffer: the default";
  char16_t big[64];
  ASSERT_EQ(ReadRegText(store, SettingsRoot::CurrentUser, key, u"Location0", u"", big, sizeof big), 1);
  EXPECT_EQ(std::u16string(big), u"http://radio/");
  EXPECT_EQ(DeleteRegValue(store, SettingsRoot::CurrentUser, key, u"Location0"), 1);
  EXPECT_EQ(DeleteRegKey(store, SettingsRoot::CurrentUser, key), 1);
  EXPECT_NE(TestRegKey(store, SettingsRoot::CurrentUser, key), 0);
  RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\QuoviraTests");
}

}  // namespace
}  // namespace qv::test
