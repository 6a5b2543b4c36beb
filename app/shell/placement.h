// Where the main window goes: its saved and restored placement, the frame
// correction, and snapping to the edges of the work area.
#pragma once

#include <cstdint>

namespace qv {

constexpr int32_t kMainWindowWidth = 261;
constexpr int32_t kMainWindowHeight = 383;
// Edges closer than this to the work area's edges snap to them.
constexpr int32_t kSnapDistance = 8;

// Show commands as the platform numbers them.
constexpr uint32_t kShowNormal = 1;
constexpr uint32_t kShowMinimized = 2;
constexpr uint32_t kShowRestore = 9;

struct IntRect {
  int32_t left = 0, top = 0, right = 0, bottom = 0;
  int32_t Width() const { return right - left; }
  int32_t Height() const { return bottom - top; }
  bool operator==(const IntRect& o) const {
    return left == o.left && top == o.top && right == o.right && bottom == o.bottom;
  }
};

struct IntSize {
  int32_t width = 0, height = 0;
};

// The window size that gives the created size as the client area:
// 2 x created - client, per axis.
IntSize FrameCorrectedSize(IntSize created, IntSize client);

// The values stored under "Pos_*" at exit.
struct StoredPlacement {
  uint32_t showCmd = kShowNormal;
  int32_t left = 0, top = 0, right = 0, bottom = 0;
};

// What is stored when the window closes: the normal position's corner and the
// window's fixed size. The close sequence shrinks the window before this
// runs, so its current size is never the one to keep.
StoredPlacement PlacementToStore(int32_t normalLeft, int32_t normalTop, uint32_t showCmd);

struct RestoredPlacement {
  uint32_t showCmd = kShowNormal;
  IntRect rect;
};

// The placement to restore: at the stored corner (default (0, 0)) in the
// window's size, whatever size was stored; shown normally unless the stored
// state is an ordinary shown one (a minimized, hidden or maximized state
// would start the player out of sight or out of shape). A rectangle that
// lies entirely off the screen moves to the screen's corner.
RestoredPlacement PlacementToRestore(const StoredPlacement& stored, IntSize size, const IntRect& screen);

// The window's new top-left corner after snapping to the work area: each
// axis independently, the near edge first, then the far edge.
struct IntPoint {
  int32_t x = 0, y = 0;
};
IntPoint SnapToWorkArea(const IntRect& window, const IntRect& workArea);

// The volume stored under "Volume": a missing value means full volume (256);
// values above 256 are cut to 256.
int32_t VolumeFromStored(bool present, uint32_t stored);

}  // namespace qv
