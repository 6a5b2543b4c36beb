// Loading the options: first run, an empty key, stored values, damaged and
// out-of-range values, and what the engine receives.
#include <gtest/gtest.h>

#include <cstring>
#include <string>

#include "platform/text/utf16.h"
#include "tests/options/options_test_support.h"

namespace qv::test {
namespace {

class OptionsLoad : public ::testing::Test {
 protected:
  ScopedEngine engine;
  MemorySettingsStore store;
};

TEST_F(OptionsLoad, MissingKeyGivesTheFirstRunValues) {
  CWin32Options options(store);
  options.LastDir[0] = u'x';
  options.LoadSettings(engine.get());
  for (const DwordOption& d : DwordOptions())
    EXPECT_EQ(d.field(options), d.firstRun) << ToUtf8(d.name);
  for (const TextOption& t : TextOptions()) EXPECT_EQ(t.field(options)[0], 0) << ToUtf8(t.name);
  EXPECT_FALSE(store.KeyExists(SettingsRoot::CurrentUser, kOptionsKey)) << "loading creates nothing";
}

TEST_F(OptionsLoad, EmptyKeyGivesTheWhenMissingValues) {
  MakeOptionsKey(store);
  CWin32Options options(store);
  options.LoadSettings(engine.get());
  for (const DwordOption& d : DwordOptions())
    EXPECT_EQ(d.field(options), d.whenMissing) << ToUtf8(d.name);
}

TEST_F(OptionsLoad, StoredValuesAreReadAndHandedToTheEngine) {
  for (const DwordOption& d : DwordOptions()) PutDword(store, d.name, static_cast<uint32_t>(d.sample));
  const char16_t dir[] = u"C:\\Music\\Jazz";
  PutRaw(store, u"LastDir", kRegSz, dir, sizeof dir);
  CWin32Options options(store);
  options.LoadSettings(engine.get());
  for (const DwordOption& d : DwordOptions()) EXPECT_EQ(d.field(options), d.sample) << ToUtf8(d.name);
  EXPECT_EQ(std::u16string(options.LastDir), dir);

  EngineOptions live{};
  Engine_GetOptions(engine.get(), &live);
  EXPECT_EQ(live.OutputBufferLen, 1500);
  EXPECT_EQ(live.OutputPrebuffer, 40);
  EXPECT_EQ(live.OutputFade, 1);
  EXPECT_EQ(live.ScanCompletely, 1);
  EXPECT_EQ(live.SuppressZeroSamples, 1);
  EXPECT_EQ(live.AlwaysOpenDev, 1);
  EXPECT_EQ(live.ThreadPriority, 1) << "not persisted: the engine's own";
}

TEST_F(OptionsLoad, UnreadableRepeatAndTextsAreReset) {
  // A value larger than the 4-byte buffer cannot be read.
  const uint8_t eight[8] = {2, 0, 0, 0, 0, 0, 0, 0};
  PutRaw(store, u"Repeat", kRegBinary, eight, 8);
  PutRaw(store, u"Shuffle", kRegBinary, eight, 8);
  CWin32Options options(store);
  options.Repeat = 2;
  options.Shuffle = 1;
  U16CopyTruncated(options.SkinFile, kOptionTextChars, u"old.skn");
  U16CopyTruncated(options.StreamingOptions.StreamingProxy, kPathChars, u"proxy:80");
  options.LoadSettings(engine.get());
  EXPECT_EQ(options.Repeat, 0) << "an unreadable Repeat becomes 0";
  EXPECT_EQ(options.Shuffle, 1) << "other unreadable values keep the field";
  EXPECT_EQ(options.SkinFile[0], 0);
  EXPECT_EQ(options.StreamingOptions.StreamingProxy[0], 0);
}

TEST_F(OptionsLoad, OutOfRangeValuesComeBackUsable) {
  struct Case {
    const char16_t* name;
    int32_t stored;
    int32_t loaded;
  };
  const Case cases[] = {
      {u"Window Alpha", 0, 255},          {u"Window Alpha", 256, 255},       {u"Window Alpha", -5, 255},
      {u"Window Alpha", 1, 1},            {u"OutputBufferLen", 5, 20},       {u"OutputBufferLen", 9, 20},
      {u"OutputBufferLen", 20, 20},       {u"OutputBufferLen", 5000, 5000},  {u"OutputBufferLen", 70000, 5000},
      {u"OutputPrebuffer", -3, 0},        {u"OutputPrebuffer", 101, 100},    {u"OutputPrebuffer", 0, 0},
      {u"SleepMinutes", 0, 30},           {u"SleepMinutes", -1, 30},         {u"SleepMinutes", 1000, 30},
      {u"SleepMinutes", 1, 1},            {u"SleepMinutes", 999, 999},
  };
  for (const Case& c : cases) {
    MemorySettingsStore s;
    PutDword(s, c.name, static_cast<uint32_t>(c.stored));
    CWin32Options options(s);
    options.LoadSettings(engine.get());
    for (const DwordOption& d : DwordOptions()) {
      if (std::u16string_view(d.name) == c.name) {
        EXPECT_EQ(d.field(options), c.loaded) << ToUtf8(c.name) << " stored " << c.stored;
      }
    }
    EngineOptions live{};
    Engine_GetOptions(engine.get(), &live);
    EXPECT_EQ(live.OutputBufferLen, options.EngineOptions.OutputBufferLen) << "the engine takes what was loaded";
    EXPECT_EQ(live.OutputPrebuffer, options.EngineOptions.OutputPrebuffer);
  }
}

// Whatever number another program left in a value: the engine takes what
// was loaded (a refused set would keep its defaults for every option), the
// ranges the player relies on hold, and saving writes back what was loaded.
TEST_F(OptionsLoad, EveryNumberAtItsExtremesLoadsUsable) {
  for (const DwordOption& d : DwordOptions()) {
    for (uint32_t stored : {0x80000000u, 0xFFFFFFFFu, 0x7FFFFFFFu}) {
      MemorySettingsStore s;
      PutDword(s, d.name, stored);
      CWin32Options options(s);
      options.LoadSettings(engine.get());
      const std::string label = ToUtf8(d.name) + " stored " + std::to_string(static_cast<int32_t>(stored));
      EngineOptions live{};
      Engine_GetOptions(engine.get(), &live);
      EXPECT_EQ(live.OutputBufferLen, options.EngineOptions.OutputBufferLen) << label;
      EXPECT_EQ(live.OutputPrebuffer, options.EngineOptions.OutputPrebuffer) << label;
      EXPECT_EQ(live.OutputFade, options.EngineOptions.OutputFade) << label;
      EXPECT_EQ(live.ScanCompletely, options.EngineOptions.ScanCompletely) << label;
      EXPECT_EQ(live.SuppressZeroSamples, options.EngineOptions.SuppressZeroSamples) << label;
      EXPECT_EQ(live.AlwaysOpenDev, options.EngineOptions.AlwaysOpenDev) << label;
      EXPECT_GE(options.EngineOptions.OutputBufferLen, kMinOutputBufferLen) << label;
      EXPECT_LE(options.EngineOptions.OutputBufferLen, kMaxOutputBufferLen) << label;
      EXPECT_GE(options.EngineOptions.OutputPrebuffer, 0) << label;
      EXPECT_LE(options.EngineOptions.OutputPrebuffer, 100) << label;
      EXPECT_GE(options.SleepMinutes, kMinSleepMinutes) << label;
      EXPECT_LE(options.SleepMinutes, kMaxSleepMinutes) << label;
      EXPECT_GE(options.WindowAlpha, 1) << label;
      EXPECT_LE(options.WindowAlpha, 255) << label;

      const int32_t loaded = d.field(options);
      ASSERT_EQ(options.SaveSettings(engine.get()), kSettingsOk) << label;
      CWin32Options reloaded(s);
      reloaded.LoadSettings(engine.get());
      EXPECT_EQ(d.field(reloaded), loaded) << label << ": saved and loaded again";
    }
  }
}

TEST_F(OptionsLoad, WrongTypesAreReadAsRawBytes) {
  const char16_t five[] = u"5";  // 4 bytes with its terminator
  PutRaw(store, u"Repeat", kRegSz, five, sizeof five);
  const uint8_t two[2] = {0x34, 0x12};
  PutRaw(store, u"ResumeTime", kRegBinary, two, 2);
  uint32_t dword = 0x00420041;  // "AB" as UTF-16, no terminator
  PutRaw(store, u"LastDir", kRegDword, &dword, 4);
  CWin32Options options(store);
  options.ResumeTime = 0x7FFF0000;
  options.LoadSettings(engine.get());
  EXPECT_EQ(options.Repeat, 0x35);
  EXPECT_EQ(options.ResumeTime, 0x7FFF1234) << "a short value replaces only its bytes";
  EXPECT_EQ(std::u16string(options.LastDir), u"AB") << "terminated after the raw characters";
}

TEST_F(OptionsLoad, TextValuesAreAlwaysTerminated) {
  std::u16string full(kOptionTextChars, u'd');  // 4096 bytes, no terminator
  PutRaw(store, u"LastDir", kRegSz, full.data(), static_cast<uint32_t>(full.size() * 2));
  std::u16string proxy(kPathChars, u'p');  // 520 bytes, no terminator
  PutRaw(store, u"StreamingProxy", kRegSz, proxy.data(), static_cast<uint32_t>(proxy.size() * 2));
  std::u16string skin(300, u's');  // longer than a path, fits the field
  skin += u'\0';
  PutRaw(store, u"SkinFile", kRegSz, skin.data(), static_cast<uint32_t>(skin.size() * 2));
  CWin32Options options(store);
  options.LoadSettings(engine.get());
  EXPECT_EQ(U16Length(options.LastDir), kOptionTextChars - 1);
  EXPECT_EQ(U16Length(options.StreamingOptions.StreamingProxy), kPathChars - 1);
  EXPECT_EQ(U16Length(options.SkinFile), 300u) << "a long text is kept whole";
}

TEST_F(OptionsLoad, WithoutAnEngineTheBufferOptionsStillLoadUsable) {
  MakeOptionsKey(store);
  COptions options(store);
  options.LoadSettings(nullptr);
  EXPECT_EQ(options.EngineOptions.OutputBufferLen, kMinOutputBufferLen);
  EXPECT_EQ(options.ResumeTrack, -1);
}

}  // namespace
}  // namespace qv::test
