// The display the main window paints itself: skin background, digits,
// marks, the title or stream line, seek bar, volume slider and animation,
// composed off screen and copied to the window.
#pragma once

#include <windows.h>

#include <memory>
#include <string>

#include "app/display/display_layout.h"
#include "app/display/text_scroll.h"
#include "app/skin/skin.h"

namespace qv {

// What the display shows; the main window fills it for each paint.
struct DisplayModel {
  int status = 0;
  int32_t currentIndex = -1;
  bool hasFormat = false;  // the entry has a sample rate and a channel count
  int32_t channels = 0;
  int32_t bitrateKbps = 0;
  int32_t sampleRate = 0;
  int32_t timeSeconds = 0;
  int blinkPhase = 0;
  int32_t positionMs = 0;
  int32_t lengthMs = 0;
  int repeat = 0;
  bool shuffle = false;
  int32_t volume = 256;
  bool muted = false;
  int animationFrame = display::kAnimationStopped;
  bool stream = false;          // the text line is the stream information line
  std::u16string lineText;      // the title or the stream information
  bool scrollOption = true;
};

enum class TextLineKind { Title, StreamInfo };

class PlayerDisplay {
 public:
  PlayerDisplay();
  ~PlayerDisplay();
  PlayerDisplay(const PlayerDisplay&) = delete;
  PlayerDisplay& operator=(const PlayerDisplay&) = delete;

  // Loads the skin file (empty: the built-in look), makes the font and the
  // off-screen picture, and works out which optional elements the skin has.
  void Build(const wchar_t* skinFile);
  // Frees the pictures, the font and the off-screen picture.
  void Release();

  const display::Slider& VolumeSlider() const { return slider_; }
  const display::ArrowArea& Arrow() const { return arrow_; }
  CSkin& Skin() { return skin_; }

  // Measures a line's text when it changed. True when the period changed:
  // the line's timer stops, and runs again only when Scroll(kind).Wider().
  bool UpdateLine(TextLineKind kind, const std::u16string& text);
  display::TextScroll& Scroll(TextLineKind kind) { return kind == TextLineKind::Title ? title_ : info_; }
  int32_t LineWidth(TextLineKind kind) const { return kind == TextLineKind::Title ? titleWidth_ : infoWidth_; }

  // Paints the update rectangle of the window.
  void Paint(HDC windowDc, const RECT& update, const DisplayModel& model);

 private:
  struct Resources;
  void DrawCell(Gdiplus::Graphics& g, int slot, int cell, int32_t x, int32_t y);
  void DrawTextLine(Gdiplus::Graphics& g, const DisplayModel& model);
  int32_t Measure(const std::u16string& text);

  CSkin skin_;
  std::unique_ptr<Resources> res_;
  display::Slider slider_;
  display::ArrowArea arrow_;
  display::TextScroll title_;
  display::TextScroll info_;
  std::u16string titleText_, infoText_;
  int32_t titleWidth_ = 0, infoWidth_ = 0;
};

}  // namespace qv
