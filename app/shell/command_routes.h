// The main window's command table and skin button table as data: which
// operation (and which owner) each command number and button name reaches.
#pragma once

#include <cstdint>
#include <string_view>

namespace qv {

enum class CommandRoute {
  Ignore,
  VolumeUp,
  VolumeDown,
  MenuAtKey,
  AddFile,
  AddFolder,
  Exit,
  About,
  EffectSettings,
  Options,
  PlaylistDialog,
  CycleRepeat,
  Shuffle,
  OpenFile,
  TopMost,
  SavePlaylist,
  AddUrl,
  Restore,
  SetRepeat,       // arg: 0 none, 1 all, 2 one
  PlayPause,
  MoveUp,
  MoveDown,
  SleepTimer,
  Stop,
  Previous,
  Next,
  DeleteSelected,
  Rewind,
  FastForward,
  EnhancementMode,  // arg: the command
  EffectPanel,
  FileLink,         // arg: 0 MP3, 1 OGG, 2 WAV
  EraseAll,
  Preset,           // arg: 1-7, or 0 for none
  InternetRadio,
  DrcAndEq,
};

struct RoutedCommand {
  CommandRoute route = CommandRoute::Ignore;
  int arg = 0;
};

RoutedCommand RouteCommand(uint32_t command);

enum class ButtonRoute { None, PostCommand, EnhancementMode, Menu, Minimize, Close };

struct RoutedButton {
  ButtonRoute route = ButtonRoute::None;
  uint16_t command = 0;  // for PostCommand
};

// Button names are compared exactly (case-sensitive).
RoutedButton RouteSkinButton(std::u16string_view name);

}  // namespace qv
