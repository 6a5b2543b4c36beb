// Painting the display, and repainting its parts.
#include "app/display/display_layout.h"
#include "app/display/stream_status.h"
#include "app/display/time_value.h"
#include "app/shell/window_ids.h"
#include "app/window/main_wnd.h"
#include "app/window/player_app.h"
#include "app/window/resource_ids.h"
#include "platform/text/utf16.h"
#include "playlist/extensions.h"

namespace qv {

namespace {

constexpr int kPlaying = 1;

std::u16string LoadText(UINT id) {
  const wchar_t* text = nullptr;
  int length = LoadStringW(GetAppInstance(), id, reinterpret_cast<LPWSTR>(&text), 0);
  return length > 0 ? std::u16string(AsU16(text), length) : std::u16string();
}

}  // namespace

std::u16string CMainWnd::LineText(bool stream) {
  if (!stream) {
    char16_t text[kPathChars] = {};
    int index = playlist_->CurrentIndex();
    return index >= 0 && playlist_->GetEntryText(index, text) ? std::u16string(text) : std::u16string();
  }
  StreamingOptions streaming = {};
  Engine_GetStreamingOptions(engine_, &streaming);
  int32_t shown = display::BufferingPercent(Engine_GetStreamBufferPercent(engine_), streaming.StreamingPreBuffer);
  char16_t title[kPathChars] = {};
  Engine_GetStreamTitle(engine_, title);
  title[kPathChars - 1] = 0;
  std::u16string connecting = LoadText(kStrConnecting), buffering = LoadText(kStrBuffering);
  return display::StreamStatusText(Engine_GetStreamState(engine_), shown, {connecting, buffering}, title);
}

DisplayModel CMainWnd::CurrentModel() {
  DisplayModel m;
  m.status = Engine_GetStatus(engine_);
  m.currentIndex = playlist_->CurrentIndex();
  if (const PlaylistEntry* entry = playlist_->GetEntry(m.currentIndex)) {
    m.hasFormat = entry->Track.SampleRate != 0 && entry->Track.Channels != 0;
    m.channels = entry->Track.Channels;
    m.bitrateKbps = entry->Track.BitrateKbps;
    m.sampleRate = entry->Track.SampleRate;
    m.stream = IsStreamUrl(entry->Path) != 0;
  }
  m.lengthMs = Engine_GetLength(engine_);
  m.positionMs = Engine_GetPosition(engine_);
  m.timeSeconds = display::DisplayTimeSeconds(m.status, m.lengthMs, m.positionMs, m.stream, options_->TimeReverse != 0);
  m.blinkPhase = blinkPhase_;
  m.repeat = options_->Repeat;
  m.shuffle = options_->Shuffle != 0;
  m.volume = volume_;
  m.muted = muted_;
  m.animationFrame = animationFrame_;
  m.scrollOption = options_->ScrollTitle != 0;
  return m;
}

void CMainWnd::UpdatePlayPauseButtons(int status) {
  // Only with the skin's full set of mode controls, as the built-in layout has.
  for (const char16_t* name : {u"EQBUTTON", u"COBUTTON", u"QVBUTTON", u"EFBUTTON"})
    if (!controls_.radioByName.count(name)) return;
  if (!controls_.buttonByName.count(u"WEBUTTON")) return;
  auto play = controls_.buttonByName.find(u"PLAYBUTTON");
  auto pause = controls_.buttonByName.find(u"PAUSEBUTTON");
  if (play == controls_.buttonByName.end() || pause == controls_.buttonByName.end()) return;
  if (status == lastStatusShown_) return;
  bool playing = status == kPlaying;
  pause->second->ShowWindow(playing ? SW_SHOW : SW_HIDE);
  play->second->ShowWindow(playing ? SW_HIDE : SW_SHOW);
}

void CMainWnd::OnPaint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  if (ready_ && !closing_) {
    DisplayModel m = CurrentModel();
    UpdatePlayPauseButtons(m.status);
    m.lineText = LineText(m.stream);
    TextLineKind kind = m.stream ? TextLineKind::StreamInfo : TextLineKind::Title;
    if (display_.UpdateLine(kind, m.lineText)) {
      UINT_PTR id = m.stream ? timer::kInfoScroll : timer::kTitleScroll;
      KillTimer(hwnd_, id);
      if (display_.Scroll(kind).Wider()) SetTimer(hwnd_, id, timer::kScrollMs, nullptr);
    }
    LARGE_INTEGER start, end, frequency;
    QueryPerformanceCounter(&start);
    display_.Paint(dc, ps.rcPaint, m);
    QueryPerformanceCounter(&end);
    QueryPerformanceFrequency(&frequency);
    lastPaintMs_ = static_cast<int32_t>((end.QuadPart - start.QuadPart) * 1000 / frequency.QuadPart);
    if (firstPaintQpc_ == 0) firstPaintQpc_ = end.QuadPart;
    lastTimeShown_ = m.timeSeconds;
    lastPositionShown_ = m.positionMs;
    lastStatusShown_ = m.status;
  }
  EndPaint(hwnd_, &ps);
}

void CMainWnd::RepaintBox(int32_t left, int32_t top, int32_t right, int32_t bottom) {
  RECT r = {left, top, right, bottom};
  InvalidateRect(hwnd_, &r, FALSE);
}

void CMainWnd::RepaintTime() {
  RepaintBox(display::kTimeArea.left, display::kTimeArea.top, display::kTimeArea.right, display::kTimeArea.bottom);
}

void CMainWnd::RepaintSeekBar() { RepaintBox(display::kSeekX - 2, display::kSeekY, 158, 312); }

void CMainWnd::RepaintSlider() {
  const display::Slider& s = display_.VolumeSlider();
  RepaintBox(s.x, s.y, s.x + s.width, s.y + 2 + s.height + 4);
  RepaintBox(display::kMuteArea.left, display::kMuteArea.top, display::kMuteArea.right, display::kMuteArea.bottom);
}

void CMainWnd::RepaintTextLine() {
  RepaintBox(display::kTextX, display::kTextY, display::kTextX + display::kTextWidth,
             display::kTextY + display::kTextHeight);
}

}  // namespace qv
