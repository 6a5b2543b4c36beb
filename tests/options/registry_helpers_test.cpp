// The player's registry helpers over the in-memory store.
#include <gtest/gtest.h>

#include <string>

#include "options/memory_settings_store.h"
#include "options/registry_helpers.h"
#include "platform/text/utf16.h"

namespace qv {
namespace {

constexpr char16_t kKey[] = u"Software\\HALVORN\\Helpers";
constexpr SettingsRoot kRoot = SettingsRoot::CurrentUser;

void Put(MemorySettingsStore& store, std::u16string_view name, uint32_t type, const void* data, uint32_t size) {
  std::unique_ptr<SettingsKey> key;
  ASSERT_EQ(store.Create(kRoot, kKey, key), kSettingsOk);
  ASSERT_EQ(key->Set(name, type, data, size), kSettingsOk);
}

TEST(RegistryHelpers, ReadDwordCreatesTheKeyAndFallsBackToTheDefault) {
  MemorySettingsStore store;
  EXPECT_EQ(ReadRegDword(store, kRoot, kKey, u"Pos_left", 77), 77u);
  EXPECT_TRUE(store.KeyExists(kRoot, kKey));
  uint32_t stored = 0xFFFFFFFF;
  Put(store, u"Pos_left", kRegDword, &stored, 4);
  EXPECT_EQ(ReadRegDword(store, kRoot, kKey, u"Pos_left", 77), 0xFFFFFFFFu);
  // A value too large for 4 bytes cannot be read.
  const uint8_t eight[8] = {1, 2, 3, 4, 5, 6, 7, 8};
  Put(store, u"Big", kRegBinary, eight, 8);
  EXPECT_EQ(ReadRegDword(store, kRoot, kKey, u"Big", 5), 5u);
  store.FailOpens(kSettingsAccessDenied);
  EXPECT_EQ(ReadRegDword(store, kRoot, kKey, u"Pos_left", 77), 0u) << "0 when the key cannot be opened";
}

TEST(RegistryHelpers, ReadTextIsAlwaysTerminated) {
  struct Case {
    const char* name;
    const char16_t* stored;  // the first `bytes` bytes are stored
    uint32_t bytes;
    const char16_t* expected;  // read into a 10-character buffer
  };
  const Case cases[] = {
      {"with terminator", u"abc", 8, u"abc"},
      {"without terminator", u"abcd", 8, u"abcd"},
      {"fills the buffer, no terminator", u"abcdefghij", 20, u"abcdefghi"},
      {"larger than the buffer gives the default", u"abcdefghijk", 24, u"dflt"},
      {"odd byte count", u"abc", 5, u"ab"},
      {"empty value", u"", 0, u""},
  };
  for (const Case& c : cases) {
    MemorySettingsStore store;
    Put(store, u"Text", kRegSz, c.stored, c.bytes);
    char16_t out[64];
    for (char16_t& ch : out) ch = u'#';
    ASSERT_EQ(ReadRegText(store, kRoot, kKey, u"Text", u"dflt", out, 20), 1) << c.name;
    EXPECT_EQ(std::u16string(out), c.expected) << c.name;
  }
  MemorySettingsStore empty;
  char16_t out[4];
  ASSERT_EQ(ReadRegText(empty, kRoot, kKey, u"Text", u"a long default", out, sizeof out), 1);
  EXPECT_EQ(std::u16string(out), u"a l") << "the default is cut to the buffer too";
  EXPECT_EQ(ReadRegText(empty, kRoot, kKey, u"Text", u"x", out, 1), 0) << "no room for a terminator";
}

TEST(RegistryHelpers, WritesTextsWithTheirTerminatorAndDeletes) {
  MemorySettingsStore store;
  ASSERT_EQ(WriteRegText(store, kRoot, kKey, u"Location0", u"http://radio/"), 1);
  ASSERT_EQ(WriteRegDword(store, kRoot, kKey, u"FirstTime", 0), 1);
  auto values = store.Values(kRoot, kKey);
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values[0].type, kRegSz);
  EXPECT_EQ(values[0].bytes.size(), (13u + 1) * 2);
  EXPECT_EQ(values[1].type, kRegDword);
  EXPECT_EQ(values[1].bytes.size(), 4u);

  EXPECT_EQ(TestRegKey(store, kRoot, kKey), 0);
  EXPECT_EQ(DeleteRegValue(store, kRoot, kKey, u"FirstTime"), 1);
  EXPECT_EQ(DeleteRegValue(store, kRoot, kKey, u"FirstTime"), 0);
  EXPECT_EQ(DeleteRegKey(store, kRoot, kKey), 1);
  EXPECT_NE(TestRegKey(store, kRoot, kKey), 0);
  EXPECT_EQ(DeleteRegKey(store, kRoot, kKey), 0);
}

}  // namespace
}  // namespace qv
