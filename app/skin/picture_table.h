// The skin's picture table: which key of the skin file fills which slot, the
// cell size of the picture and the built-in bitmap resource that stands in
// when the file does not name a loadable picture.
#pragma once

#include <cstddef>

namespace qv {

struct PictureRow {
  const char16_t* key;
  int slot;
  int cellWidth;
  int cellHeight;
  int resourceId;
};

constexpr size_t kPictureRowCount = 54;
extern const PictureRow kPictureTable[kPictureRowCount];

// Row indexes (0-based) of the version-dependent parts.
constexpr size_t kFirstCommonRows = 6;     // rows 1-6: always read
constexpr size_t kOldButtonRow = 6;        // row 7 ("Button"): versions below 3 only
constexpr size_t kFirstModernRow = 7;      // rows 8-54: version 3 and later
constexpr int kModernSkinVersion = 3;

// Built-in pictures outside the table.
constexpr int kBackgroundResource = 158;   // the window background, 261 x 383
constexpr int kScrollThumbResource = 195;  // the playlist's scroll thumb, 9 x 16

// Slots the painter and the main window use.
namespace slot {
constexpr int kNumber = 0;
constexpr int kPlayOption = 5;
constexpr int kVolumeSlider = 6;
constexpr int kVolumeTrack = 7;
constexpr int kArrowOpen = 24;
constexpr int kArrowCloseOver = 27;
constexpr int kMuteOn = 37;
constexpr int kMuteOff = 38;
constexpr int kStereo = 43;
constexpr int kMono = 44;
constexpr int kAnimationFirst = 145;
constexpr int kAnimationSecond = 46;
constexpr int kAnimationStopped = 51;
constexpr int kSmallNumber = 61;
constexpr int kShuffle = 71;
}  // namespace slot

}  // namespace qv
