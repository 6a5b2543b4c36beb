// The messages exchanged with the effect host ("QUOVIRA") and the effect
// panel windows.
#pragma once

#include <cstdint>

namespace qv::effecthost {

constexpr char16_t kHostClass[] = u"QUOVIRA";
constexpr char16_t kEqualizerClass[] = u"Equalizer";
constexpr char16_t kCrossoverClass[] = u"Crossover";
constexpr char16_t kCompressorClass[] = u"Compressor";
constexpr char16_t kEffectorClass[] = u"Effector";

// WM_COMMAND identifiers the player sends the host.
namespace cmd {
constexpr uint32_t kModeKind0 = 1530;
constexpr uint32_t kModeKind1 = 1626;      // also first of a preset or preset file
constexpr uint32_t kModeKind4To5 = 2024;
constexpr uint32_t kModeKind6 = 2025;
constexpr uint32_t kModeKind7 = 2026;
constexpr uint32_t kQbs = 1535;            // lParam 0, 1536, 1537, 1538 or 1539
constexpr uint32_t kPresetApplied = 1538;  // lParam: the preset
constexpr uint32_t kMinimized = 1531;
constexpr uint32_t kRestored = 1534;
constexpr uint32_t kTopMost = 1927;        // lParam 0 or 1
}  // namespace cmd

// lParam values of cmd::kQbs.
constexpr intptr_t kQbsKind13 = 1536;
constexpr intptr_t kQbsKind14 = 1537;
constexpr intptr_t kQbsKind15 = 1538;
constexpr intptr_t kQbsAfterPresetFile = 1539;

// Presets announced when the effect panel opens.
constexpr intptr_t kPresetQv = 8;
constexpr intptr_t kPresetWe = 9;
constexpr intptr_t kPresetEq = 10;

// Plain messages to the host.
constexpr uint32_t kPanelOpened = 1924;
constexpr uint32_t kPanelClosed = 1925;  // also sent to "Equalizer" when the spectrum feed is off
constexpr uint32_t kMainWindowMoved = 1926;

// WM_COPYDATA codes (dwData) between the effect panels and the player.
namespace copydata {
constexpr uint32_t kSetEffectParams = 1528;    // EffectParams, 1240 bytes
constexpr uint32_t kEffectParams = 1529;       // request, and the answer with EffectParams
constexpr uint32_t kRefocus = 1532;
constexpr uint32_t kSpectrum = 1533;           // request, and the answer with SpectrumBands
constexpr uint32_t kRereadModes = 1536;
constexpr uint32_t kSetSmallEffect = 1726;     // TypedSmallEffectParams, 16 bytes
constexpr uint32_t kSmallEffect = 1727;        // request with the type, and the answer
constexpr uint32_t kQbsParams = 1728;          // request, and the answer with QbsParams
constexpr uint32_t kSetQbsParams = 1729;       // QbsParams, 40 bytes
constexpr uint32_t kFirst = 1528;
constexpr uint32_t kLast = 1729;
}  // namespace copydata

// Messages the host sends the main window.
constexpr uint32_t kHostSetEq = 1125;        // lParam: EQ flag
constexpr uint32_t kHostSetCrossover = 1126; // lParam: CO flag
constexpr uint32_t kHostPresent = 2026;

// Messages the host sends the effect panel dialog.
constexpr uint32_t kDialogStepPreset = 1538;    // wParam -1 or 1
constexpr uint32_t kDialogSpectrumMode = 1539;  // wParam: mode

}  // namespace qv::effecthost
