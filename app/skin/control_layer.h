// The control layer of "skin.ini": the numbered entries of the sections
// "MAINBUTTONINFO" (push buttons) and "MAINRADIOINFO" (two-state buttons)
// that the main window creates as skin-library controls.
#pragma once

#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

constexpr char16_t kButtonSection[] = u"MAINBUTTONINFO";
constexpr char16_t kRadioSection[] = u"MAINRADIOINFO";

constexpr size_t kButtonPictureCount = 3;
constexpr size_t kRadioPictureCount = 6;
// The main window keeps the radios of entries 1 to 11 by number; later
// entries have nowhere to go and are not read.
constexpr int kMaxRadioEntries = 11;
// Entry numbers of the speaker and earphone selectors.
constexpr int kSpeakerRadioEntry = 9;
constexpr int kEarphoneRadioEntry = 10;

struct ControlEntry {
  int number = 0;  // entry number, from 1
  std::u16string name;
  int x = 0;
  int y = 0;
  std::vector<std::u16string> pictures;  // always the section's picture count
};

// One entry's value: name, x, y and pictureCount picture names split at
// commas. Missing fields read as empty texts or 0.
ControlEntry ParseControlEntry(std::u16string_view value, size_t pictureCount);

// Reads a value of the control layer; returns the empty text for a missing key.
using ControlValueReader = std::function<std::u16string(std::u16string_view section, std::u16string_view key)>;

struct ControlLayer {
  std::vector<ControlEntry> buttons;
  std::vector<ControlEntry> radios;
};

// Entries 1, 2, ... of both sections until the first missing or empty one.
ControlLayer ReadControlLayer(const ControlValueReader& read);

// The arguments the player hands to SkinButton::CreateEx for the entry's
// pictures A, B and C: A, A, B, C, A.
std::vector<std::u16string> ButtonCreatePictures(const ControlEntry& entry);

}  // namespace qv
