// Registration: what a table must hold to be accepted, what the engine does
// with an accepted one, and the built-ins every engine registers.
#include <gtest/gtest.h>

#include <ostream>

#include <cstddef>
#include <functional>

#include "engine/player_engine.h"
#include "engine/plugins/ape/ape_plugin.h"
#include "engine/plugins/flac/flac_plugin.h"
#include "engine/plugins/plugin_registry.h"
#include "engine/plugins/wma/wma_plugin.h"
#include "tests/plugins/fake_plugin.h"

namespace qv::test {
namespace {

// The fake table with one change applied by the test.
std::function<void(DecoderPlugin&)>& Change() {
  static std::function<void(DecoderPlugin&)> change;
  return change;
}

DecoderPlugin* ChangedGetter() {
  DecoderPlugin* table = GetFakePlugin();
  if (Change()) Change()(*table);
  return table;
}

DecoderPlugin* NullGetter() { return nullptr; }

class RegistryTest : public ::testing::Test {
 protected:
  void SetUp() override { ResetFake(); }
  void TearDown() override { Change() = nullptr; }
};

struct Refusal {
  const char* name;
  std::function<void(DecoderPlugin&)> change;
};

void PrintTo(const Refusal& c, std::ostream* os) { *os << c.name; }

class RegistryRefusalTest : public RegistryTest, public ::testing::WithParamInterface<Refusal> {};

TEST_P(RegistryRefusalTest, IsSkippedWithoutInit) {
  PluginRegistry registry;
  Change() = GetParam().change;
  EXPECT_FALSE(registry.Register(&ChangedGetter));
  EXPECT_EQ(registry.Count(), 0);
  EXPECT_EQ(Log().init, 0);
  EXPECT_EQ(Log().capabilities, 0);
  // The registry still takes the next, valid table.
  Change() = nullptr;
  EXPECT_TRUE(registry.Register(&ChangedGetter));
  EXPECT_EQ(registry.Count(), 1);
}

template <class Slot>
Refusal Missing(const char* name, Slot DecoderPlugin::*slot) {
  return {name, [slot](DecoderPlugin& p) { p.*slot = nullptr; }};
}

INSTANTIATE_TEST_SUITE_P(
    Tables, RegistryRefusalTest,
    ::testing::Values(Refusal{"Version256", [](DecoderPlugin& p) { p.Version = 0x0100; }},
                      Refusal{"Version0", [](DecoderPlugin& p) { p.Version = 0; }},
                      Refusal{"CharWidth1", [](DecoderPlugin& p) { p.CharWidth = 1; }},
                      Refusal{"CharWidth4", [](DecoderPlugin& p) { p.CharWidth = 4; }},
                      Missing("Init", &DecoderPlugin::Init), Missing("Quit", &DecoderPlugin::Quit),
                      Missing("GetName", &DecoderPlugin::GetName),
                      Missing("SetEqualizer", &DecoderPlugin::SetEqualizer),
                      Missing("ShowConfig", &DecoderPlugin::ShowConfig),
                      Missing("GetExtCount", &DecoderPlugin::GetExtCount), Missing("GetExt", &DecoderPlugin::GetExt),
                      Missing("IsValidFile", &DecoderPlugin::IsValidFile),
                      Missing("OpenFile", &DecoderPlugin::OpenFile), Missing("Seek", &DecoderPlugin::Seek),
                      Missing("Start", &DecoderPlugin::Start), Missing("Decode", &DecoderPlugin::Decode),
                      Missing("Stop", &DecoderPlugin::Stop), Missing("Close", &DecoderPlugin::Close),
                      Missing("GetTag", &DecoderPlugin::GetTag), Missing("GetFileTag", &DecoderPlugin::GetFileTag),
                      Missing("OpenStreaming", &DecoderPlugin::OpenStreaming),
                      Missing("DecodeStreaming", &DecoderPlugin::DecodeStreaming),
                      Missing("CloseStreaming", &DecoderPlugin::CloseStreaming)),
    [](const ::testing::TestParamInfo<Refusal>& info) { return std::string(info.param.name); });

TEST_F(RegistryTest, NullTableOrGetterIsRefused) {
  PluginRegistry registry;
  EXPECT_FALSE(registry.Register(&NullGetter));
  EXPECT_FALSE(registry.Register(nullptr));
  EXPECT_EQ(registry.Count(), 0);
}

TEST_F(RegistryTest, AcceptedTableIsCopiedInitialisedAndAskedForCapabilitiesOnce) {
  PluginRegistry registry;
  Script().capabilities = 25;
  ASSERT_TRUE(registry.Register(&GetFakePlugin));
  EXPECT_EQ(Log().init, 1);
  EXPECT_EQ(Log().capabilities, 1);
  PluginEntry* entry = registry.Entry(0);
  ASSERT_NE(entry, nullptr);
  EXPECT_EQ(entry->capabilities, 25u);
  DecoderPlugin* copy = registry.Table(0);
  EXPECT_NE(copy, GetFakePlugin());
  EXPECT_EQ(copy->Decode, GetFakePlugin()->Decode);
  EXPECT_EQ(copy->Context, nullptr);
  // The context slot belongs to the copy.
  copy->Context = copy;
  EXPECT_EQ(GetFakePlugin()->Context, nullptr);
  EXPECT_EQ(registry.Table(1), nullptr);
  EXPECT_EQ(registry.Table(-1), nullptr);
}

TEST_F(RegistryTest, TableWithoutCapabilitiesEntryHasNone) {
  PluginRegistry registry;
  Change() = [](DecoderPlugin& p) { p.GetCapabilities = nullptr; };
  ASSERT_TRUE(registry.Register(&ChangedGetter));
  EXPECT_EQ(registry.Entry(0)->capabilities, 0u);
  EXPECT_EQ(Log().init, 1);
}

TEST_F(RegistryTest, UnregisteringCallsQuitOncePerEntry) {
  {
    PluginRegistry registry;
    registry.Register(&GetFakePlugin);
    registry.Register(&GetFakePlugin);
    registry.UnregisterAll();
    EXPECT_EQ(Log().quit, 2);
    EXPECT_EQ(registry.Count(), 0);
    registry.Register(&GetFakePlugin);
  }
  // The last one at destruction.
  EXPECT_EQ(Log().quit, 3);
}

TEST_F(RegistryTest, EngineRegistersWmaFlacApeAndHandsOutItsCopies) {
  TestEngine engine;
  EngineHandle h = engine.handle();
  ASSERT_EQ(Engine_GetPluginCount(h), 3);
  const PluginGetter getters[] = {&GetWmaPlugin, &GetFlacPlugin, &GetApePlugin};
  const uint32_t capabilities[] = {25, 9, 9};
  for (int i = 0; i < 3; ++i) {
    DecoderPlugin* table = Engine_GetPlugin(h, i);
    ASSERT_NE(table, nullptr) << i;
    EXPECT_NE(table, getters[i]()) << "the engine's copy, not the plug-in's table";
    EXPECT_EQ(table->OpenFile, getters[i]()->OpenFile) << i;
    EXPECT_EQ(table->Version, kPluginVersion);
    EXPECT_EQ(table->CharWidth, kPluginCharWidth);
    EXPECT_EQ(h->Plugins().Entry(i)->capabilities, capabilities[i]) << i;
  }
  EXPECT_EQ(Engine_GetPlugin(h, 3), nullptr);
  EXPECT_EQ(Engine_GetPlugin(h, -1), nullptr);
  TestEngine other;
  EXPECT_NE(Engine_GetPlugin(other.handle(), 1), Engine_GetPlugin(h, 1)) << "each engine has its own copies";
}

TEST_F(RegistryTest, EngineCallsQuitAtDestruction) {
  {
    TestEngine engine;
    ASSERT_TRUE(engine.handle()->Plugins().Register(&GetFakePlugin));
    EXPECT_EQ(Log().init, 1);
    EXPECT_EQ(Log().quit, 0);
  }
  EXPECT_EQ(Log().quit, 1);
}

}  // namespace
}  // namespace qv::test
