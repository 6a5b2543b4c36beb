// The state report: what the window holds and shows, as "key=value" lines,
// sent back by WM_COPYDATA to the window that asked (the driver tool).
#include <string>

#include "app/display/time_value.h"
#include "app/effecthost/effect_host_link.h"
#include "app/shell/window_ids.h"
#include "app/window/main_wnd.h"
#include "platform/text/utf16.h"

namespace qv {

namespace {

void Line(std::u16string& out, const char* key, const std::u16string& value) {
  for (const char* k = key; *k; ++k) out += static_cast<char16_t>(*k);
  out += u'=';
  for (char16_t c : value) out += (c == u'\n' || c == u'\r') ? u' ' : c;
  out += u'\n';
}

void Line(std::u16string& out, const char* key, long long value) {
  std::string digits = std::to_string(value);
  Line(out, key, std::u16string(digits.begin(), digits.end()));
}

}  // namespace

void CMainWnd::ReportState(HWND to) {
  if (!to || !IsWindow(to)) return;
  DisplayModel m = CurrentModel();
  std::u16string r;
  // Start-up may still be opening its items when an early report is asked for.
  Line(r, "started", started_ ? 1 : 0);
  Line(r, "status", m.status);
  Line(r, "current", m.currentIndex);
  Line(r, "count", playlist_->GetEntryCount());
  for (int i = 0; i < playlist_->GetEntryCount(); ++i) {
    std::string key = "entry." + std::to_string(i);
    Line(r, key.c_str(), std::u16string(playlist_->GetEntry(i)->Path));
  }
  Line(r, "position", m.positionMs);
  Line(r, "length", m.lengthMs);
  Line(r, "time", m.timeSeconds);
  Line(r, "title", LineText(m.stream));
  Line(r, "titleWidth", display_.LineWidth(m.stream ? TextLineKind::StreamInfo : TextLineKind::Title));
  Line(r, "channels", m.channels);
  Line(r, "sampleRate", m.sampleRate);
  Line(r, "bitrate", m.bitrateKbps);
  Line(r, "volume", volume_);
  Line(r, "muted", muted_ ? 1 : 0);
  Line(r, "engineVolume", engineVolume_);
  Line(r, "repeat", options_->Repeat);
  Line(r, "shuffle", options_->Shuffle);
  Line(r, "timeReverse", options_->TimeReverse);
  Line(r, "topMost", options_->TopMost);
  Line(r, "blink", blinkPhase_);
  Line(r, "animation", animationFrame_);
  Line(r, "visible", IsWindowVisible(hwnd_) ? 1 : 0);
  Line(r, "iconic", IsIconic(hwnd_) ? 1 : 0);
  Line(r, "tray", trayShown_ ? 1 : 0);
  Line(r, "menuOpen", openMenu_ ? 1 : 0);
  Line(r, "paintMs", lastPaintMs_);
  Line(r, "firstPaintQpc", firstPaintQpc_);
  // The effects the engine runs on every block, as the options left them.
  EffectParams effects = {};
  QbsParams qbs = {};
  SpectrumBands bands = {};
  Engine_GetEffectParams(engine_, &effects);
  Engine_GetSurroundParams(engine_, &qbs);
  Line(r, "fx.qvEq", effects.qvEqOn);
  Line(r, "fx.lastEq", effects.lastEqOn);
  Line(r, "fx.myEq", effects.myEqOn);
  Line(r, "fx.crossover", effects.crossoverOn);
  Line(r, "fx.compressor", effects.compressorOn);
  Line(r, "fx.expander", effects.expanderOn);
  Line(r, "fx.wide", qbs.wideOn);
  Line(r, "fx.reverb", qbs.reverbOn);
  Line(r, "fx.spectrum", Engine_GetSpectrum(engine_, &bands));
  RECT w = {};
  GetWindowRect(hwnd_, &w);
  Line(r, "left", w.left);
  Line(r, "top", w.top);
  Line(r, "width", w.right - w.left);
  Line(r, "height", w.bottom - w.top);
  effecthost::SendCopyData(to, hwnd_, copydata::kStateReport, r.data(),
                           static_cast<uint32_t>(r.size() * sizeof(char16_t)));
}

}  // namespace qv
