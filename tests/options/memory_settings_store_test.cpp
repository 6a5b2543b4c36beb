// The in-memory store behaves like the registry where the options depend on it.
#include <gtest/gtest.h>

#include <cstring>

#include "options/memory_settings_store.h"

namespace qv {
namespace {

constexpr char16_t kKey[] = u"Software\\Test\\Deep";

TEST(MemorySettingsStore, TellsAMissingKeyFromAMissingValue) {
  MemorySettingsStore store;
  std::unique_ptr<SettingsKey> key;
  EXPECT_EQ(store.Open(SettingsRoot::CurrentUser, kKey, KeyAccess::Read, key), kSettingsNotFound);
  EXPECT_EQ(key, nullptr);

  ASSERT_EQ(store.Create(SettingsRoot::CurrentUser, kKey, key), kSettingsOk);
  // Every key on the way was made.
  EXPECT_TRUE(store.KeyExists(SettingsRoot::CurrentUser, u"Software"));
  EXPECT_TRUE(store.KeyExists(SettingsRoot::CurrentUser, u"Software\\Test"));
  EXPECT_FALSE(store.KeyExists(SettingsRoot::LocalMachine, kKey));

  uint32_t size = 4;
  uint8_t data[4];
  EXPECT_EQ(key->Query(u"Missing", nullptr, data, &size), kSettingsNotFound);
}

TEST(MemorySettingsStore, KeepsTypeAndRawBytesAndRefusesSmallBuffers) {
  MemorySettingsStore store;
  std::unique_ptr<SettingsKey> key;
  ASSERT_EQ(store.Create(SettingsRoot::CurrentUser, kKey, key), kSettingsOk);
  const uint8_t bytes[6] = {1, 2, 3, 4, 5, 6};
  ASSERT_EQ(key->Set(u"Odd Value", kRegBinary, bytes, 6), kSettingsOk);

  uint32_t type = 0;
  uint32_t size = 4;
  uint8_t small[4] = {9, 9, 9, 9};
  EXPECT_EQ(key->Query(u"Odd Value", &type, small, &size), kSettingsMoreData);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(small[0], 9) << "nothing is copied into a buffer that is too small";

  uint8_t big[8] = {};
  size = 8;
  ASSERT_EQ(key->Query(u"odd value", &type, big, &size), kSettingsOk) << "names ignore ASCII case";
  EXPECT_EQ(type, kRegBinary);
  EXPECT_EQ(size, 6u);
  EXPECT_EQ(std::memcmp(big, bytes, 6), 0);

  // A size query without a buffer.
  size = 0;
  EXPECT_EQ(key->Query(u"Odd Value", nullptr, nullptr, &size), kSettingsOk);
  EXPECT_EQ(size, 6u);
}

TEST(MemorySettingsStore, KeyOpenedForReadingRefusesWrites) {
  MemorySettingsStore store;
  std::unique_ptr<SettingsKey> key;
  ASSERT_EQ(store.Create(SettingsRoot::CurrentUser, kKey, key), kSettingsOk);
  ASSERT_EQ(store.Open(SettingsRoot::CurrentUser, u"software\\TEST\\deep", KeyAccess::Read, key), kSettingsOk);
  uint32_t v = 1;
  EXPECT_EQ(key->Set(u"A", kRegDword, &v, 4), kSettingsAccessDenied);
  EXPECT_EQ(key->DeleteValue(u"A"), kSettingsAccessDenied);
  EXPECT_TRUE(store.Values(SettingsRoot::CurrentUser, kKey).empty());
}

TEST(MemorySettingsStore, DeletesOnlyKeysWithoutSubkeys) {
  MemorySettingsStore store;
  std::unique_ptr<SettingsKey> key;
  ASSERT_EQ(store.Create(SettingsRoot::CurrentUser, kKey, key), kSettingsOk);
  EXPECT_EQ(store.DeleteKey(SettingsRoot::CurrentUser, u"Software\\Test"), kSettingsAccessDenied);
  EXPECT_EQ(store.DeleteKey(SettingsRoot::CurrentUser, kKey), kSettingsOk);
  EXPECT_FALSE(store.KeyExists(SettingsRoot::CurrentUser, kKey));
  // The handle still open on the deleted key fails instead of writing nowhere.
  uint32_t v = 1;
  EXPECT_EQ(key->Set(u"A", kRegDword, &v, 4), kSettingsKeyDeleted);
  EXPECT_EQ(store.DeleteKey(SettingsRoot::CurrentUser, kKey), kSettingsNotFound);
}

TEST(MemorySettingsStore, ValuesKeepTheOrderOfTheirFirstWrite) {
  MemorySettingsStore store;
  std::unique_ptr<SettingsKey> key;
  ASSERT_EQ(store.Create(SettingsRoot::CurrentUser, kKey, key), kSettingsOk);
  uint32_t v = 1;
  key->Set(u"B", kRegDword, &v, 4);
  key->Set(u"A", kRegDword, &v, 4);
  v = 2;
  key->Set(u"b", kRegDword, &v, 4);
  auto values = store.Values(SettingsRoot::CurrentUser, kKey);
  ASSERT_EQ(values.size(), 2u);
  EXPECT_EQ(values[0].name, u"B");
  EXPECT_EQ(values[0].bytes[0], 2);
  EXPECT_EQ(values[1].name, u"A");
}

}  // namespace
}  // namespace qv
