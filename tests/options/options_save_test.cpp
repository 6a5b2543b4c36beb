// Saving the options: names, order, types and sizes, and the round trip.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/text/utf16.h"
#include "tests/options/options_test_support.h"

namespace qv::test {
namespace {

void SetSamples(CWin32Options& options) {
  for (const DwordOption& d : DwordOptions()) d.field(options) = d.sample;
  U16CopyTruncated(options.LastDir, kOptionTextChars, std::u16string(300, u'L'));
  U16CopyTruncated(options.SkinFile, kOptionTextChars, u"C:\\Skins\\Blue \u00e9t\u00e9.skn");
  U16CopyTruncated(options.StreamingOptions.StreamingProxy, kPathChars, u"proxy.example:8080");
}

TEST(OptionsSave, WritesEveryValueWithItsNameTypeAndSizeInOrder) {
  ScopedEngine engine;
  MemorySettingsStore store;
  CWin32Options options(store);
  SetSamples(options);
  ASSERT_EQ(options.SaveSettings(engine.get()), kSettingsOk);

  auto values = store.Values(SettingsRoot::CurrentUser, kOptionsKey);
  ASSERT_EQ(values.size(), SaveOrder().size());
  for (size_t i = 0; i < values.size(); ++i) EXPECT_EQ(values[i].name, SaveOrder()[i]) << i;

  for (const DwordOption& d : DwordOptions()) {
    bool found = false;
    for (const auto& v : values) {
      if (v.name != d.name) continue;
      found = true;
      EXPECT_EQ(v.type, kRegDword) << ToUtf8(d.name);
      ASSERT_EQ(v.bytes.size(), 4u) << ToUtf8(d.name);
      int32_t stored;
      std::memcpy(&stored, v.bytes.data(), 4);
      EXPECT_EQ(stored, d.sample) << ToUtf8(d.name);
    }
    EXPECT_TRUE(found) << ToUtf8(d.name);
  }
  for (const TextOption& t : TextOptions()) {
    for (const auto& v : values) {
      if (v.name != t.name) continue;
      size_t length = U16Length(t.field(options));
      EXPECT_EQ(v.type, kRegSz) << ToUtf8(t.name);
      ASSERT_EQ(v.bytes.size(), (length + 1) * 2) << ToUtf8(t.name);
      EXPECT_EQ(std::memcmp(v.bytes.data(), t.field(options), v.bytes.size()), 0) << ToUtf8(t.name);
    }
  }
}

TEST(OptionsSave, RoundTripsEveryValue) {
  ScopedEngine engine;
  MemorySettingsStore store;
  CWin32Options saved(store);
  SetSamples(saved);
  ASSERT_EQ(saved.SaveSettings(engine.get()), kSettingsOk);

  CWin32Options loaded(store);
  loaded.LoadSettings(engine.get());
  for (const DwordOption& d : DwordOptions()) EXPECT_EQ(d.field(loaded), d.sample) << ToUtf8(d.name);
  for (const TextOption& t : TextOptions())
    EXPECT_EQ(std::u16string(t.field(loaded)), std::u16string(t.field(saved))) << ToUtf8(t.name);
}

TEST(OptionsSave, RepeatTwoComesBackAndDeletedRepeatComesBackAsNone) {
  ScopedEngine engine;
  MemorySettingsStore store;
  CWin32Options saved(store);
  saved.Repeat = 2;
  ASSERT_EQ(saved.SaveSettings(engine.get()), kSettingsOk);
  CWin32Options loaded(store);
  loaded.LoadSettings(engine.get());
  EXPECT_EQ(loaded.Repeat, 2);

  std::unique_ptr<SettingsKey> key;
  ASSERT_EQ(store.Open(SettingsRoot::CurrentUser, kOptionsKey, KeyAccess::Write, key), kSettingsOk);
  ASSERT_EQ(key->DeleteValue(u"Repeat"), kSettingsOk);
  key.reset();
  loaded.LoadSettings(engine.get());
  EXPECT_EQ(loaded.Repeat, 0);
}

TEST(OptionsSave, KeyThatCannotBeCreatedGivesItsErrorAndWritesNothing) {
  ScopedEngine engine;
  MemorySettingsStore store;
  store.FailOpens(kSettingsAccessDenied);
  CWin32Options options(store);
  EXPECT_EQ(options.SaveSettings(engine.get()), kSettingsAccessDenied);
  store.FailOpens(0);
  EXPECT_FALSE(store.KeyExists(SettingsRoot::CurrentUser, kOptionsKey));
}

TEST(OptionsSave, UnterminatedTextFieldsNeverWritePastTheirEnd) {
  ScopedEngine engine;
  MemorySettingsStore store;
  CWin32Options options(store);
  for (char16_t& c : options.LastDir) c = u'x';
  for (char16_t& c : options.StreamingOptions.StreamingProxy) c = u'y';
  ASSERT_EQ(options.SaveSettings(engine.get()), kSettingsOk);
  for (const auto& v : store.Values(SettingsRoot::CurrentUser, kOptionsKey)) {
    if (v.name == u"LastDir") {
      EXPECT_EQ(v.bytes.size(), kOptionTextChars * 2);
    }
    if (v.name == u"StreamingProxy") {
      EXPECT_EQ(v.bytes.size(), kPathChars * 2);
    }
  }
}

TEST(OptionsSave, BaseOptionsWriteNoWindowAlpha) {
  ScopedEngine engine;
  MemorySettingsStore store;
  COptions options(store);
  ASSERT_EQ(options.SaveSettings(engine.get()), kSettingsOk);
  auto values = store.Values(SettingsRoot::CurrentUser, kOptionsKey);
  EXPECT_EQ(values.size(), SaveOrder().size() - 1);
  EXPECT_NE(values.back().name, u"Window Alpha");
}

}  // namespace
}  // namespace qv::test
