// Fixed places of the painted display in the 261 x 383 window (client
// pixels), and the skin picture slots it draws.
#pragma once

#include <cstdint>

namespace qv::display {

struct Box {
  int32_t left, top, right, bottom;  // right and bottom exclusive
};

// Areas tested against the update rectangle before an element is drawn.
constexpr Box kTrackNumberArea{57, 37, 87, 45};
constexpr Box kTimeArea{94, 37, 142, 45};
constexpr Box kSeekArea{11, 301, 158, 312};
constexpr Box kFormatArea{176, 37, 246, 42};
constexpr Box kStereoArea{183, 25, 214, 30};
constexpr Box kRepeatArea{236, 25, 252, 33};
constexpr Box kMuteArea{154, 293, 161, 300};
constexpr Box kAnimationArea{11, 32, 46, 49};
constexpr Box kShuffleArea{218, 23, 234, 33};

// Title and stream information line.
constexpr int32_t kTextX = 35;
constexpr int32_t kTextY = 6;
constexpr int32_t kTextWidth = 160;
constexpr int32_t kTextHeight = 15;
constexpr int32_t kTextGap = 25;  // between the end of a scrolling text and its repeat

// Seek bar.
constexpr int32_t kSeekX = 11;
constexpr int32_t kSeekY = 291;
constexpr int32_t kSeekWidth = 134;
constexpr int32_t kThumbWidth = 13;
constexpr int32_t kSeekSpan = kSeekWidth - kThumbWidth;  // 121

// Volume slider (its values become 0 when the skin lacks pictures 6 or 7).
struct Slider {
  int32_t x = 163, y = 291, width = 86, height = 8, thumbWidth = 13;
};

// The effect-panel arrow (0 when the skin lacks pictures 24 to 27).
struct ArrowArea {
  int32_t x = 250, y = 120, width = 11, height = 75;
};

// Digit positions.
constexpr int32_t kDigitsY = 37;
constexpr int32_t kTrackDigitX[3] = {57, 66, 75};
constexpr int32_t kTimeDigitX[5] = {94, 103, 115, 124, 133};
constexpr int32_t kTimeSeparatorCell = 10;

// Picture slots of the skin.
namespace slot {
constexpr int kDigits = 0;
constexpr int kRepeat = 5;
constexpr int kVolumeTrack = 6;
constexpr int kThumb = 7;
constexpr int kArrowFirst = 24;
constexpr int kArrowLast = 27;
constexpr int kMuteOn = 37;
constexpr int kMuteOff = 38;
constexpr int kStereo = 43;
constexpr int kMono = 44;
constexpr int kAnimationFrame1 = 145;
constexpr int kAnimationFrame2 = 46;  // frames 2-7 in slots 46-51
constexpr int kSmallDigits = 61;
constexpr int kShuffle = 71;
}  // namespace slot

// The animation's frames: 1-6 while playing, 7 stopped.
constexpr int kAnimationFrames = 6;
constexpr int kAnimationStopped = 7;
inline int AnimationSlot(int frame) { return frame <= 1 ? slot::kAnimationFrame1 : slot::kAnimationFrame2 + frame - 2; }

}  // namespace qv::display
