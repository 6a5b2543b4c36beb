#include "app/shell/placement.h"

#include <cstdlib>

namespace qv {

IntSize FrameCorrectedSize(IntSize created, IntSize client) {
  return {2 * created.width - client.width, 2 * created.height - client.height};
}

StoredPlacement PlacementToStore(int32_t normalLeft, int32_t normalTop, uint32_t showCmd) {
  StoredPlacement p;
  p.showCmd = showCmd;
  p.left = normalLeft;
  p.top = normalTop;
  p.right = normalLeft + kMainWindowWidth;
  p.bottom = normalTop + kMainWindowHeight;
  return p;
}

RestoredPlacement PlacementToRestore(const StoredPlacement& stored, IntSize size, const IntRect& screen) {
  RestoredPlacement r;
  r.showCmd = stored.showCmd == kShowNormal ? kShowNormal : kShowRestore;
  if (size.width <= 0) size.width = kMainWindowWidth;
  if (size.height <= 0) size.height = kMainWindowHeight;
  int64_t left = stored.left, top = stored.top;
  bool offScreen = left >= screen.right || top >= screen.bottom || left + size.width <= screen.left ||
                   top + size.height <= screen.top;
  if (offScreen) {
    left = screen.left;
    top = screen.top;
  }
  r.rect = {static_cast<int32_t>(left), static_cast<int32_t>(top), static_cast<int32_t>(left + size.width),
            static_cast<int32_t>(top + size.height)};
  return r;
}

IntPoint SnapToWorkArea(const IntRect& window, const IntRect& workArea) {
  IntPoint p{window.left, window.top};
  if (std::abs(window.left - workArea.left) < kSnapDistance)
    p.x = workArea.left;
  else if (std::abs(window.right - workArea.right) < kSnapDistance)
    p.x = workArea.right - window.Width();
  if (std::abs(window.top - workArea.top) < kSnapDistance)
    p.y = workArea.top;
  else if (std::abs(window.bottom - workArea.bottom) < kSnapDistance)
    p.y = workArea.bottom - window.Height();
  return p;
}

int32_t VolumeFromStored(bool present, uint32_t stored) {
  if (!present) return 256;
  return stored > 256 ? 256 : static_cast<int32_t>(stored);
}

}  // namespace qv
