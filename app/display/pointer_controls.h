// The seek bar and the volume slider: where their thumbs are drawn, and what
// a pointer position on them means.
#pragma once

#include <cstdint>

#include "app/display/display_layout.h"

namespace qv::display {

constexpr int32_t kMaxVolume = 256;
constexpr int32_t kVolumeKeyStep = 10;

struct SeekThumb {
  bool atStart;  // position 0: only the thumb, at the bar's start
  int32_t x;     // 0 to kSeekSpan: the thumb's offset and the length of the filled line
};

// Computed in 64 bits: span x position overflows 32 bits after about five
// hours. A length of 0 counts as 1; the offset stays within the bar.
SeekThumb SeekThumbAt(int32_t positionMs, int32_t lengthMs);

// The position (ms) a pointer at client x on the seek bar asks for, kept
// within the track.
int32_t SeekPositionFromX(int32_t x, int32_t lengthMs);

// The volume a pointer at client x on the slider sets: 0-256.
int32_t VolumeFromX(int32_t x, const Slider& slider);

// Length in pixels of the slider's level line for a volume.
int32_t VolumeLevelPixels(int32_t volume, const Slider& slider);

// The Up and Down keys: +-10, kept within 0-256.
int32_t SteppedVolume(int32_t volume, int32_t delta);

// What the engine gets: nothing while muted.
inline int32_t EngineVolume(int32_t volume, bool muted) { return muted ? 0 : volume; }

}  // namespace qv::display
