// Numbers the main window answers to: commands, messages and timers.
#pragma once

#include <cstdint>

namespace qv {

// WM_COMMAND identifiers (the low word of wParam).
namespace cmd {
constexpr uint16_t kVolumeUp = 105;
constexpr uint16_t kVolumeDown = 106;
constexpr uint16_t kMenuKey = 110;
constexpr uint16_t kAddFile = 40002;
constexpr uint16_t kAddFolder = 40003;
constexpr uint16_t kExit = 40004;
constexpr uint16_t kAbout = 40008;
constexpr uint16_t kEffectSettings = 40009;
constexpr uint16_t kOptions = 40010;
constexpr uint16_t kPlaylistDialog = 40015;
constexpr uint16_t kCycleRepeat = 40016;
constexpr uint16_t kShuffle = 40017;
constexpr uint16_t kOpenFile = 40018;
constexpr uint16_t kTopMost = 40020;
constexpr uint16_t kSavePlaylist = 40021;
constexpr uint16_t kAddUrl = 40022;
constexpr uint16_t kRestore = 40023;
constexpr uint16_t kRepeatNone = 40024;
constexpr uint16_t kRepeatAll = 40025;
constexpr uint16_t kRepeatOne = 40026;
constexpr uint16_t kPlayPause = 40027;
constexpr uint16_t kMoveUp = 40029;
constexpr uint16_t kMoveDown = 40030;
constexpr uint16_t kSleepTimer = 40033;
constexpr uint16_t kStop = 40036;
constexpr uint16_t kPrevious = 40037;
constexpr uint16_t kNext = 40038;
constexpr uint16_t kDeleteFile = 40042;
constexpr uint16_t kRewind = 40074;
constexpr uint16_t kFastForward = 40075;
constexpr uint16_t kEffectPanel = 40084;
constexpr uint16_t kLinkMp3 = 40088;
constexpr uint16_t kLinkOgg = 40089;
constexpr uint16_t kLinkWav = 40090;
constexpr uint16_t kEraseAll = 40091;
constexpr uint16_t kPresetAcoustic = 50008;  // to 50014 "&Techno"
constexpr uint16_t kPresetTechno = 50014;
constexpr uint16_t kPresetNone = 50015;
constexpr uint16_t kInternetRadio = 50051;
constexpr uint16_t kModeFromButton = 50070;
constexpr uint16_t kDrcAndEq = 50071;
}  // namespace cmd

// Window messages besides the system's.
namespace msg {
constexpr uint32_t kSkinButtonClick = 1027;  // lParam: the button's name
constexpr uint32_t kHostSetEq = 1125;
constexpr uint32_t kHostSetCrossover = 1126;
constexpr uint32_t kTrayCallback = 2024;
constexpr uint32_t kHostPresent = 2026;
constexpr uint32_t kEngineStatus = 11025;
constexpr uint32_t kStreamInfoRepaint = 21025;
// Private to the program and its driver tool (WM_APP range).
constexpr uint32_t kPendingNames = 0x8000 + 1;  // command lines handed over, waiting in the window
constexpr uint32_t kReportState = 0x8000 + 100;  // wParam 0, lParam: window that receives the report
}  // namespace msg

// WM_COPYDATA codes (dwData) the main window accepts.
namespace copydata {
// A second start's command line: the names, each terminated, then an empty one.
constexpr uint32_t kCommandLine = 0x51504C43;
// The state report sent back to whoever asked with msg::kReportState.
constexpr uint32_t kStateReport = 0x51505352;
}  // namespace copydata

// Timer identifiers and periods (ms).
namespace timer {
constexpr uintptr_t kRefresh = 1;
constexpr uintptr_t kSeekSettle = 3;
constexpr uintptr_t kFadeIn = 4;
constexpr uintptr_t kTitleScroll = 5;
constexpr uintptr_t kInfoScroll = 6;
constexpr uintptr_t kStreamBuffering = 7;
constexpr uintptr_t kSleep = 8;
constexpr uintptr_t kAnimation = 9;
constexpr uintptr_t kBlink = 10;
constexpr uintptr_t kViewDrag = 11;
constexpr uintptr_t kBanner = 2009;

constexpr uint32_t kRefreshMs = 333;
constexpr uint32_t kSeekSettleMs = 200;
constexpr uint32_t kFadeInMs = 100;
constexpr uint32_t kScrollMs = 500;
constexpr uint32_t kStreamBufferingMs = 250;
constexpr uint32_t kSleepMs = 5000;
constexpr uint32_t kAnimationMs = 500;
constexpr uint32_t kBlinkMs = 500;
constexpr uint32_t kViewDragMs = 100;
}  // namespace timer

// Tray icon callback events (lParam of msg::kTrayCallback).
namespace tray {
constexpr uint32_t kLeftDown = 513;
constexpr uint32_t kLeftDoubleClick = 515;
constexpr uint32_t kRightDown = 516;
}  // namespace tray

}  // namespace qv
