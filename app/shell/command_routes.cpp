#include "app/shell/command_routes.h"

#include "app/shell/window_ids.h"

namespace qv {

namespace {

bool IsModeCommand(uint32_t c) {
  return (c >= 40080 && c <= 40083) || (c >= 40085 && c <= 40087) || (c >= 40092 && c <= 40094) ||
         c == cmd::kModeFromButton;
}

}  // namespace

RoutedCommand RouteCommand(uint32_t command) {
  using R = CommandRoute;
  if (IsModeCommand(command)) return {R::EnhancementMode, static_cast<int>(command)};
  if (command >= cmd::kPresetAcoustic && command <= cmd::kPresetTechno)
    return {R::Preset, static_cast<int>(command - cmd::kPresetAcoustic + 1)};
  switch (command) {
    case cmd::kVolumeUp: return {R::VolumeUp};
    case cmd::kVolumeDown: return {R::VolumeDown};
    case cmd::kMenuKey: return {R::MenuAtKey};
    case cmd::kAddFile: return {R::AddFile};
    case cmd::kAddFolder: return {R::AddFolder};
    case cmd::kExit: return {R::Exit};
    case cmd::kAbout: return {R::About};
    case cmd::kEffectSettings: return {R::EffectSettings};
    case cmd::kOptions: return {R::Options};
    case cmd::kPlaylistDialog: return {R::PlaylistDialog};
    case cmd::kCycleRepeat: return {R::CycleRepeat};
    case cmd::kShuffle: return {R::Shuffle};
    case cmd::kOpenFile: return {R::OpenFile};
    case cmd::kTopMost: return {R::TopMost};
    case cmd::kSavePlaylist: return {R::SavePlaylist};
    case cmd::kAddUrl: return {R::AddUrl};
    case cmd::kRestore: return {R::Restore};
    case cmd::kRepeatNone: return {R::SetRepeat, 0};
    case cmd::kRepeatAll: return {R::SetRepeat, 1};
    case cmd::kRepeatOne: return {R::SetRepeat, 2};
    case cmd::kPlayPause: return {R::PlayPause};
    case cmd::kMoveUp: return {R::MoveUp};
    case cmd::kMoveDown: return {R::MoveDown};
    case cmd::kSleepTimer: return {R::SleepTimer};
    case cmd::kStop: return {R::Stop};
    case cmd::kPrevious: return {R::Previous};
    case cmd::kNext: return {R::Next};
    case cmd::kDeleteFile: return {R::DeleteSelected};
    case cmd::kRewind: return {R::Rewind};
    case cmd::kFastForward: return {R::FastForward};
    case cmd::kEffectPanel: return {R::EffectPanel};
    case cmd::kLinkMp3: return {R::FileLink, 0};
    case cmd::kLinkOgg: return {R::FileLink, 1};
    case cmd::kLinkWav: return {R::FileLink, 2};
    case cmd::kEraseAll: return {R::EraseAll};
    case cmd::kPresetNone: return {R::Preset, 0};
    case cmd::kInternetRadio: return {R::InternetRadio};
    case cmd::kDrcAndEq: return {R::DrcAndEq};
    default: return {R::Ignore};
  }
}

RoutedButton RouteSkinButton(std::u16string_view name) {
  struct Entry {
    std::u16string_view name;
    RoutedButton routed;
  };
  static const Entry kTable[] = {
      {u"OPENBUTTON", {ButtonRoute::PostCommand, cmd::kOpenFile}},
      {u"PREVTRACK", {ButtonRoute::PostCommand, cmd::kPrevious}},
      {u"PREVSEEK", {ButtonRoute::PostCommand, cmd::kRewind}},
      {u"PLAYBUTTON", {ButtonRoute::PostCommand, cmd::kPlayPause}},
      {u"PAUSEBUTTON", {ButtonRoute::PostCommand, cmd::kPlayPause}},
      {u"STOPBUTTON", {ButtonRoute::PostCommand, cmd::kStop}},
      {u"NEXTSEEK", {ButtonRoute::PostCommand, cmd::kFastForward}},
      {u"NEXTTRACK", {ButtonRoute::PostCommand, cmd::kNext}},
      {u"EQBUTTON", {ButtonRoute::EnhancementMode}},
      {u"COBUTTON", {ButtonRoute::EnhancementMode}},
      {u"QVBUTTON", {ButtonRoute::EnhancementMode}},
      {u"WEBUTTON", {ButtonRoute::EnhancementMode}},
      {u"EFBUTTON", {ButtonRoute::EnhancementMode}},
      {u"EFBUTTON2", {ButtonRoute::EnhancementMode}},
      {u"CPBUTTON", {ButtonRoute::EnhancementMode}},
      {u"EPBUTTON", {ButtonRoute::EnhancementMode}},
      {u"DRCBUTTON", {ButtonRoute::EnhancementMode}},
      {u"SPKBUTTON", {ButtonRoute::EnhancementMode}},
      {u"EARBUTTON", {ButtonRoute::EnhancementMode}},
      {u"ARROWBUTTON", {ButtonRoute::EnhancementMode}},
      {u"MENUBUTTON", {ButtonRoute::Menu}},
      {u"MINIBUTTON", {ButtonRoute::Minimize}},
      {u"CLOSEBUTTON", {ButtonRoute::Close}},
  };
  for (const Entry& e : kTable)
    if (e.name == name) return e.routed;
  return {};
}

}  // namespace qv
