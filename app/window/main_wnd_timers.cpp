// The window's timers.
#include "app/display/time_value.h"
#include "app/shell/window_ids.h"
#include "app/window/main_wnd.h"

namespace qv {

namespace {
constexpr int kOpening = 3;
}

void CMainWnd::OnTimer(UINT_PTR id) {
  switch (id) {
    case timer::kRefresh: {
      // The time digits when their value changed or while they blink, the
      // seek bar when the position moved (streams have none).
      DisplayModel m = CurrentModel();
      if (m.timeSeconds != lastTimeShown_ || blinkPhase_ != 0 || m.status != lastStatusShown_) RepaintTime();
      if (!m.stream && m.positionMs != lastPositionShown_) RepaintSeekBar();
      break;
    }
    case timer::kSeekSettle:
      KillTimer(hwnd_, timer::kSeekSettle);
      fade_.OnSettled();
      SetTimer(hwnd_, timer::kFadeIn, timer::kFadeInMs, nullptr);
      break;
    case timer::kFadeIn: {
      display::SeekFade::Step step = fade_.OnTick(volume_, muted_);
      GiveEngineVolume(step.engineVolume);
      if (step.finished) KillTimer(hwnd_, timer::kFadeIn);
      break;
    }
    case timer::kTitleScroll:
    case timer::kInfoScroll: {
      TextLineKind kind = id == timer::kTitleScroll ? TextLineKind::Title : TextLineKind::StreamInfo;
      if (display_.Scroll(kind).OnTick(options_->ScrollTitle != 0)) RepaintTextLine();
      break;
    }
    case timer::kStreamBuffering:
      RepaintTextLine();
      if (Engine_GetStatus(engine_) != kOpening) KillTimer(hwnd_, timer::kStreamBuffering);
      break;
    case timer::kSleep: {
      DWORD now = GetTickCount();
      options_->SleepState += static_cast<int32_t>(now - options_->SleepStart);
      options_->SleepStart = now;
      if (options_->SleepState > options_->SleepMinutes * 60000) {
        options_->SleepState = -1;
        KillTimer(hwnd_, timer::kSleep);
        playlist_->CommandStop();
      }
      break;
    }
    case timer::kAnimation:
      animationFrame_ = animationFrame_ >= display::kAnimationFrames ? 1 : animationFrame_ + 1;
      RepaintBox(display::kAnimationArea.left, display::kAnimationArea.top, display::kAnimationArea.right,
                 display::kAnimationArea.bottom);
      break;
    case timer::kBlink:
      blinkPhase_ = blinkPhase_ == 1 ? 2 : 1;
      RepaintTime();
      break;
    case timer::kViewDrag:
      view_.ReplayLastPoint();
      break;
    case timer::kBanner:
      banner_.Tick();
      break;
  }
}

}  // namespace qv
