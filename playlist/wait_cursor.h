// Shows the host's wait cursor for the outermost of nested operations.
#pragma once

#include "playlist/playlist_controller.h"

namespace qv {

class PlaylistController::WaitCursor {
 public:
  explicit WaitCursor(PlaylistController& owner) : owner_(owner) {
    if (owner_.waitDepth_++ == 0) owner_.Host().ShowWaitCursor(true);
  }
  ~WaitCursor() {
    if (--owner_.waitDepth_ == 0) owner_.Host().ShowWaitCursor(false);
  }
  WaitCursor(const WaitCursor&) = delete;
  WaitCursor& operator=(const WaitCursor&) = delete;

 private:
  PlaylistController& owner_;
};

}  // namespace qv
