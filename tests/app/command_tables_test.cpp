// The command table, the skin button table, the accelerators and the popup
// menus' check marks.
#include <gtest/gtest.h>

#include <map>
#include <set>
#include <string>

#include "app/shell/accelerator_table.h"
#include "app/shell/command_routes.h"
#include "app/shell/menu_checks.h"
#include "app/shell/window_ids.h"

namespace qv {
namespace {

using R = CommandRoute;

TEST(CommandTable, EveryCommandReachesItsOperation) {
  const std::map<uint32_t, RoutedCommand> expected = {
      {105, {R::VolumeUp}},        {106, {R::VolumeDown}},     {110, {R::MenuAtKey}},
      {40002, {R::AddFile}},       {40003, {R::AddFolder}},    {40004, {R::Exit}},
      {40008, {R::About}},         {40009, {R::EffectSettings}}, {40010, {R::Options}},
      {40015, {R::PlaylistDialog}}, {40016, {R::CycleRepeat}}, {40017, {R::Shuffle}},
      {40018, {R::OpenFile}},      {40020, {R::TopMost}},      {40021, {R::SavePlaylist}},
      {40022, {R::AddUrl}},        {40023, {R::Restore}},      {40024, {R::SetRepeat, 0}},
      {40025, {R::SetRepeat, 1}},  {40026, {R::SetRepeat, 2}}, {40027, {R::PlayPause}},
      {40029, {R::MoveUp}},        {40030, {R::MoveDown}},     {40033, {R::SleepTimer}},
      {40036, {R::Stop}},          {40037, {R::Previous}},     {40038, {R::Next}},
      {40042, {R::DeleteSelected}}, {40074, {R::Rewind}},      {40075, {R::FastForward}},
      {40084, {R::EffectPanel}},   {40088, {R::FileLink, 0}},  {40089, {R::FileLink, 1}},
      {40090, {R::FileLink, 2}},   {40091, {R::EraseAll}},     {50008, {R::Preset, 1}},
      {50011, {R::Preset, 4}},     {50014, {R::Preset, 7}},    {50015, {R::Preset, 0}},
      {50051, {R::InternetRadio}}, {50071, {R::DrcAndEq}},
  };
  for (const auto& [command, routed] : expected) {
    RoutedCommand got = RouteCommand(command);
    EXPECT_EQ(got.route, routed.route) << command;
    EXPECT_EQ(got.arg, routed.arg) << command;
  }
  for (uint32_t mode : {40080u, 40081u, 40082u, 40083u, 40085u, 40086u, 40087u, 40092u, 40093u, 40094u, 50070u}) {
    EXPECT_EQ(RouteCommand(mode).route, R::EnhancementMode) << mode;
    EXPECT_EQ(RouteCommand(mode).arg, static_cast<int>(mode)) << mode;
  }
  for (uint32_t other : {0u, 104u, 40001u, 40019u, 40028u, 40084u + 1000u, 40095u, 50007u, 50016u, 50069u, 65535u})
    EXPECT_EQ(RouteCommand(other).route, R::Ignore) << other;
}

TEST(SkinButtonTable, NamesPostTheirCommandsExactly) {
  const std::map<std::u16string, uint16_t> posts = {
      {u"OPENBUTTON", 40018}, {u"PREVTRACK", 40037}, {u"PREVSEEK", 40074}, {u"PLAYBUTTON", 40027},
      {u"PAUSEBUTTON", 40027}, {u"STOPBUTTON", 40036}, {u"NEXTSEEK", 40075}, {u"NEXTTRACK", 40038}};
  for (const auto& [name, command] : posts) {
    RoutedButton b = RouteSkinButton(name);
    EXPECT_EQ(b.route, ButtonRoute::PostCommand);
    EXPECT_EQ(b.command, command);
  }
  for (const char16_t* mode : {u"EQBUTTON", u"COBUTTON", u"QVBUTTON", u"WEBUTTON", u"EFBUTTON", u"EFBUTTON2",
                               u"CPBUTTON", u"EPBUTTON", u"DRCBUTTON", u"SPKBUTTON", u"EARBUTTON", u"ARROWBUTTON"})
    EXPECT_EQ(RouteSkinButton(mode).route, ButtonRoute::EnhancementMode);
  EXPECT_EQ(RouteSkinButton(u"MENUBUTTON").route, ButtonRoute::Menu);
  EXPECT_EQ(RouteSkinButton(u"MINIBUTTON").route, ButtonRoute::Minimize);
  EXPECT_EQ(RouteSkinButton(u"CLOSEBUTTON").route, ButtonRoute::Close);
  for (const char16_t* unknown : {u"", u"playbutton", u"PLAYBUTTON ", u"CLOSE", u"EFBUTTON3"})
    EXPECT_EQ(RouteSkinButton(unknown).route, ButtonRoute::None);
}

TEST(Accelerators, ThirtyFourKeysWithTheirCommands) {
  std::map<std::pair<uint16_t, bool>, uint16_t> table;
  for (const AcceleratorEntry& a : kAccelerators) {
    EXPECT_TRUE(table.emplace(std::make_pair(a.key, a.control), a.command).second) << "duplicate key " << a.key;
    EXPECT_NE(RouteCommand(a.command).route, R::Ignore) << a.command;
  }
  ASSERT_EQ(table.size(), 34u);
  auto command = [&](uint16_t key, bool control = false) { return table.at({key, control}); };
  EXPECT_EQ(command('Z'), 40027);
  EXPECT_EQ(command(0x0D), 40027);  // Enter
  EXPECT_EQ(command(0x20), 40036);  // Space
  EXPECT_EQ(command(0x25), 40037);  // Left
  EXPECT_EQ(command(0x27), 40038);  // Right
  EXPECT_EQ(command(0x21), 40074);  // Page Up
  EXPECT_EQ(command(0x22), 40075);  // Page Down
  EXPECT_EQ(command(0x2E), 40042);  // Delete
  EXPECT_EQ(command(0x6B), 40029);  // numeric +
  EXPECT_EQ(command(0xBD), 40030);  // main-keyboard -
  EXPECT_EQ(command(0x26), 105);
  EXPECT_EQ(command(0x28), 106);
  EXPECT_EQ(command('M'), 110);
  EXPECT_EQ(command(0x1B), 40023);
  EXPECT_EQ(command('Q', true), 40004);
  EXPECT_EQ(table.count({'Q', false}), 0u);
  EXPECT_EQ(command('P'), 40009);
  EXPECT_EQ(command('I'), 50051);
}

struct ChecksCase {
  int repeat, preset;
  bool shuffle, topMost;
  std::set<uint16_t> checked;
};

class MenuChecksTest : public ::testing::TestWithParam<ChecksCase> {};

TEST_P(MenuChecksTest, CheckExactlyTheCurrentStates) {
  const ChecksCase& c = GetParam();
  std::set<uint16_t> checked, all;
  for (const MenuCheck& m : PopupMenuChecks(c.repeat, c.preset, c.shuffle, c.topMost)) {
    all.insert(m.command);
    if (m.checked) checked.insert(m.command);
  }
  EXPECT_EQ(all.size(), 13u);
  EXPECT_EQ(checked, c.checked);
}

INSTANTIATE_TEST_SUITE_P(States, MenuChecksTest,
                         ::testing::Values(ChecksCase{0, 0, false, false, {40024, 50015}},
                                           ChecksCase{1, 1, true, false, {40025, 50008, 40017}},
                                           ChecksCase{2, 7, false, true, {40026, 50014, 40020}},
                                           ChecksCase{5, 8, true, true, {40024, 50015, 40017, 40020}},
                                           ChecksCase{-1, -3, false, false, {40024, 50015}}));

}  // namespace
}  // namespace qv
