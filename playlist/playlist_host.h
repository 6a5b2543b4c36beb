// What the playlist asks of the window that shows it: repaints, the play
// display and its timers, the wait cursor. Every call does nothing unless
// the window overrides it.
#pragma once

namespace qv {

class PlaylistHost {
 public:
  virtual ~PlaylistHost() = default;

  // The wait cursor around long operations (not nested: the playlist calls
  // it only for the outermost one).
  virtual void ShowWaitCursor(bool /*on*/) {}
  // The playlist view shows the current entry and repaints; the playlist
  // window, when open, is refilled and highlights the current row.
  virtual void Refresh() {}
  virtual void RepaintMain() {}
  virtual void RepaintView() {}
  virtual void ClearViewSelection() {}
  virtual void SelectViewRow(int /*index*/) {}
  // The play display: reset to "nothing playing", or show the entry just
  // opened (stream or file).
  virtual void ResetPlayDisplay() {}
  virtual void ShowPlayDisplay(bool /*stream*/) {}
  // After a stop: discard WM_ENGINE_STATUS messages still queued, stop the
  // play-display timers 7, 9 and 10, repaint.
  virtual void StopPlayDisplay() {}
  // After a successful play: the play animation (timer 9).
  virtual void StartPlayDisplay() {}
  // After pause or resume: the display and its timers.
  virtual void ShowPauseState() {}
  // After a change of the repeat mode or shuffle.
  virtual void ShowPlayModes() {}
};

}  // namespace qv
