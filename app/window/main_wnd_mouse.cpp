// The display's mouse regions: remaining time, seek bar, mute, volume,
// repeat and shuffle; the rest goes to the playlist view and the banner.
#include "app/display/mouse_regions.h"
#include "app/display/pointer_controls.h"
#include "app/shell/window_ids.h"
#include "app/window/main_wnd.h"

namespace qv {

using display::Region;

void CMainWnd::GiveEngineVolume(int32_t volume) {
  engineVolume_ = volume;
  Engine_SetVolume(engine_, volume);
}

void CMainWnd::OnButtonDown(int32_t x, int32_t y) {
  Region region = display::RegionAt(x, y, display_.VolumeSlider());
  switch (region) {
    case Region::TimeToggle:
      options_->TimeReverse = options_->TimeReverse ? 0 : 1;
      RepaintTime();
      break;
    case Region::Seek:
      seekDrag_ = true;
      SeekToX(x);
      break;
    case Region::Mute:
      ToggleMute();
      break;
    case Region::Volume:
      volumeDrag_ = true;
      SetVolumeFromX(x);
      break;
    case Region::Repeat:
      SendMessageW(hwnd_, WM_COMMAND, cmd::kCycleRepeat, 0);
      break;
    case Region::Shuffle:
      SendMessageW(hwnd_, WM_COMMAND, cmd::kShuffle, 0);
      break;
    case Region::None:
      break;
  }
  if (display::EndsPress(region)) return;
  view_.OnButtonDown(x, y);
  banner_.OnButtonDown(x, y);
}

void CMainWnd::OnMouseMove(int32_t x, int32_t y, WPARAM keys) {
  view_.OnMouseMove(x, y, keys);
  banner_.OnMouseMove(x, y);
  bool overArrow = display::InArrow(x, y, display_.Arrow());
  if (overArrow != arrowHover_) {
    arrowHover_ = overArrow;
    const display::ArrowArea& a = display_.Arrow();
    RepaintBox(a.x, a.y, a.x + a.width, a.y + a.height);
  }
  if (!(keys & MK_LBUTTON)) return;
  if (volumeDrag_) SetVolumeFromX(x);
  if (seekDrag_) {
    SeekToX(x);
    // A continuous drag stays silent; the sound fades in after the last move.
    if (fade_.OnDragMove()) {
      KillTimer(hwnd_, timer::kFadeIn);
      GiveEngineVolume(0);
    }
    SetTimer(hwnd_, timer::kSeekSettle, timer::kSeekSettleMs, nullptr);
  }
}

void CMainWnd::OnButtonUp(int32_t x, int32_t y) {
  if (GetCapture() == hwnd_) ReleaseCapture();
  seekDrag_ = false;
  volumeDrag_ = false;
  view_.OnButtonUp(x, y);
}

void CMainWnd::SeekToX(int32_t x) {
  playlist_->SeekTo(display::SeekPositionFromX(x, Engine_GetLength(engine_)));
  SetCapture(hwnd_);
  RepaintSeekBar();
}

void CMainWnd::SetVolumeFromX(int32_t x) {
  volume_ = display::VolumeFromX(x, display_.VolumeSlider());
  GiveEngineVolume(display::EngineVolume(volume_, muted_));
  SetCapture(hwnd_);
  RepaintSlider();
}

void CMainWnd::ToggleMute() {
  GiveEngineVolume(muted_ ? volume_ : 0);
  muted_ = !muted_;
  RepaintSlider();
}

void CMainWnd::StepVolume(int32_t delta) {
  if (!muted_) {
    volume_ = display::SteppedVolume(volume_, delta);
    GiveEngineVolume(volume_);
  }
  RepaintSlider();
}

}  // namespace qv
