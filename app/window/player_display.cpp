#include "app/window/player_display.h"

#include <cmath>
#include <vector>

#include "app/display/digit_cells.h"
#include "app/display/pointer_controls.h"
#include "app/window/gdiplus_include.h"
#include "platform/text/utf16.h"

namespace qv {

using namespace display;

namespace {

constexpr COLORREF kKeyColour = RGB(255, 0, 255);
constexpr int kTitleColour = 2;
constexpr int kSeekColour = 3;

Gdiplus::Color Opaque(COLORREF c) { return Gdiplus::Color(255, GetRValue(c), GetGValue(c), GetBValue(c)); }

bool Meets(const Box& b, const RECT& r) {
  return b.left < r.right && r.left < b.right && b.top < r.bottom && r.top < b.bottom;
}

// The display's face: Dotum where it is installed, else a plain sans serif,
// else whatever the system has. Null when there is no font at all.
std::unique_ptr<Gdiplus::FontFamily> DisplayFontFamily() {
  for (const wchar_t* name : {L"\uB3CB\uC6C0", L"Tahoma", L"DejaVu Sans", L"Arial", L"Liberation Sans"}) {
    auto family = std::make_unique<Gdiplus::FontFamily>(name);
    if (family->IsAvailable()) return family;
  }
  Gdiplus::InstalledFontCollection installed;
  INT count = installed.GetFamilyCount();
  if (count <= 0) return nullptr;
  std::vector<Gdiplus::FontFamily> families(count);
  INT found = 0;
  installed.GetFamilies(count, families.data(), &found);
  for (INT i = 0; i < found; ++i) {
    if (!families[i].IsAvailable()) continue;
    wchar_t name[LF_FACESIZE] = {};
    families[i].GetFamilyName(name);
    return std::make_unique<Gdiplus::FontFamily>(name);
  }
  return nullptr;
}

}  // namespace

struct PlayerDisplay::Resources {
  std::unique_ptr<Gdiplus::FontFamily> family;
  std::unique_ptr<Gdiplus::Font> font;
  std::unique_ptr<Gdiplus::StringFormat> format;
  Gdiplus::ImageAttributes keyed;
  HDC memDc = nullptr;
  HBITMAP picture = nullptr;
  HGDIOBJ previous = nullptr;

  Resources() {
    keyed.SetColorKey(Gdiplus::Color(255, 255, 0, 255), Gdiplus::Color(255, 255, 0, 255));
    family = DisplayFontFamily();
    if (family)
      font = std::make_unique<Gdiplus::Font>(family.get(), 11.0f, Gdiplus::FontStyleRegular, Gdiplus::UnitPixel);
    format.reset(Gdiplus::StringFormat::GenericTypographic()->Clone());
    format->SetFormatFlags(format->GetFormatFlags() | Gdiplus::StringFormatFlagsNoWrap |
                           Gdiplus::StringFormatFlagsMeasureTrailingSpaces);
    format->SetLineAlignment(Gdiplus::StringAlignmentCenter);
    // The off-screen picture: 32-bit, the window's size.
    BITMAPINFO info = {};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = 261;
    info.bmiHeader.biHeight = -383;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HDC screen = GetDC(nullptr);
    memDc = CreateCompatibleDC(screen);
    picture = CreateDIBSection(screen, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    ReleaseDC(nullptr, screen);
    if (memDc && picture) previous = SelectObject(memDc, picture);
  }

  ~Resources() {
    if (memDc && previous) SelectObject(memDc, previous);
    if (picture) DeleteObject(picture);
    if (memDc) DeleteDC(memDc);
  }

  bool Ready() const { return memDc && picture && previous; }
};

PlayerDisplay::PlayerDisplay() = default;

PlayerDisplay::~PlayerDisplay() { Release(); }

void PlayerDisplay::Build(const wchar_t* skinFile) {
  Release();
  skin_.Load(skinFile ? skinFile : L"");
  res_ = std::make_unique<Resources>();
  slider_ = Slider{};
  if (!skin_.HasPicture(slot::kVolumeTrack) || !skin_.HasPicture(slot::kThumb)) slider_ = Slider{0, 0, 0, 0, 0};
  arrow_ = ArrowArea{};
  for (int s = slot::kArrowFirst; s <= slot::kArrowLast; ++s)
    if (!skin_.HasPicture(s)) arrow_ = ArrowArea{0, 0, 0, 0};
  // A new font measures differently: every line is measured again.
  titleText_.clear();
  infoText_.clear();
  title_ = TextScroll();
  info_ = TextScroll();
  titleWidth_ = infoWidth_ = 0;
}

void PlayerDisplay::Release() {
  res_.reset();
  skin_.Clear();
}

int32_t PlayerDisplay::Measure(const std::u16string& text) {
  if (!res_ || !res_->Ready() || !res_->font || text.empty()) return 0;
  Gdiplus::Graphics g(res_->memDc);
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
  Gdiplus::RectF box;
  g.MeasureString(AsWide(text.c_str()), static_cast<INT>(text.size()), res_->font.get(), Gdiplus::PointF(0, 0),
                  res_->format.get(), &box);
  return static_cast<int32_t>(std::ceil(box.Width));
}

bool PlayerDisplay::UpdateLine(TextLineKind kind, const std::u16string& text) {
  std::u16string& last = kind == TextLineKind::Title ? titleText_ : infoText_;
  int32_t& width = kind == TextLineKind::Title ? titleWidth_ : infoWidth_;
  if (text == last && width > 0) return false;
  last = text;
  width = Measure(text);
  return Scroll(kind).SetTextWidth(width);
}

void PlayerDisplay::DrawCell(Gdiplus::Graphics& g, int slot, int cell, int32_t x, int32_t y) {
  tagBMPS p = skin_.GetPicture(slot);
  if (!p.image || p.cellWidth <= 0 || p.cellHeight <= 0 || cell < 0) return;
  // A cell beyond the strip (a skin with a short picture) is left out.
  if (static_cast<int64_t>(cell + 1) * p.cellWidth > static_cast<int64_t>(p.image->GetWidth())) return;
  g.DrawImage(p.image, Gdiplus::Rect(x, y, p.cellWidth, p.cellHeight), cell * p.cellWidth, 0, p.cellWidth,
              p.cellHeight, Gdiplus::UnitPixel, &res_->keyed);
}

void PlayerDisplay::DrawTextLine(Gdiplus::Graphics& g, const DisplayModel& m) {
  if (m.lineText.empty() || !res_->font) return;
  TextScroll& scroll = m.stream ? info_ : title_;
  Gdiplus::SolidBrush brush(Opaque(skin_.GetColour(kTitleColour)));
  Gdiplus::GraphicsState state = g.Save();
  g.IntersectClip(Gdiplus::Rect(kTextX, kTextY, kTextWidth, kTextHeight));
  g.SetTextRenderingHint(Gdiplus::TextRenderingHintAntiAliasGridFit);
  auto drawAt = [&](int32_t x) {
    g.DrawString(AsWide(m.lineText.c_str()), static_cast<INT>(m.lineText.size()), res_->font.get(),
                 Gdiplus::RectF(static_cast<Gdiplus::REAL>(x), kTextY, 4096.0f, kTextHeight), res_->format.get(),
                 &brush);
  };
  if (scroll.DrawnStill(m.scrollOption)) {
    drawAt(kTextX);
  } else {
    scroll.Normalize();
    for (int32_t x : scroll.StripPositions(kTextX)) drawAt(x);
  }
  g.Restore(state);
}

void PlayerDisplay::Paint(HDC windowDc, const RECT& update, const DisplayModel& m) {
  if (!res_ || !res_->Ready()) return;
  Gdiplus::Graphics g(res_->memDc);
  g.SetInterpolationMode(Gdiplus::InterpolationModeNearestNeighbor);
  g.SetPixelOffsetMode(Gdiplus::PixelOffsetModeHalf);
  g.SetClip(Gdiplus::Rect(update.left, update.top, update.right - update.left, update.bottom - update.top));
  g.Clear(Gdiplus::Color(255, 255, 0, 255));

  if (Gdiplus::Bitmap* background = skin_.GetBackground()) {
    INT w = static_cast<INT>(background->GetWidth()), h = static_cast<INT>(background->GetHeight());
    g.DrawImage(background, Gdiplus::Rect(0, 0, w, h), 0, 0, w, h, Gdiplus::UnitPixel, &res_->keyed);
  }

  if (Meets(kTrackNumberArea, update)) {
    std::array<int, 3> cells = TrackNumberCells(m.currentIndex);
    for (int i = 0; i < 3; ++i) DrawCell(g, slot::kDigits, cells[i], kTrackDigitX[i], kDigitsY);
  }
  if (Meets(kTimeArea, update) && m.blinkPhase != 1) {
    std::array<int, 5> cells = TimeCells(m.timeSeconds);
    for (int i = 0; i < 5; ++i) DrawCell(g, slot::kDigits, cells[i], kTimeDigitX[i], kDigitsY);
  }
  if (Meets(kSeekArea, update)) {
    SeekThumb thumb = SeekThumbAt(m.positionMs, m.lengthMs);
    if (thumb.atStart) {
      DrawCell(g, slot::kThumb, 0, kSeekX - 2, kSeekY + 1);
    } else {
      Gdiplus::SolidBrush seek(Opaque(skin_.GetColour(kSeekColour)));
      g.FillRectangle(&seek, kSeekX, 295, thumb.x, 2);
      DrawCell(g, slot::kThumb, 0, thumb.x + kSeekX - 2, kSeekY + 1);
    }
  }
  if (m.hasFormat && Meets(kFormatArea, update))
    for (const CellAt& c : FormatCells(m.bitrateKbps, m.sampleRate)) DrawCell(g, slot::kSmallDigits, c.cell, c.x, kDigitsY);
  if (m.hasFormat && Meets(kStereoArea, update))
    DrawCell(g, m.channels == 2 ? slot::kStereo : slot::kMono, 0, kStereoArea.left, kStereoArea.top);
  if (Meets(kRepeatArea, update))
    DrawCell(g, slot::kRepeat, m.repeat >= 0 && m.repeat <= 2 ? m.repeat : 0, kRepeatArea.left, kRepeatArea.top);
  if (Meets(Box{kTextX, kTextY, kTextX + kTextWidth, kTextY + kTextHeight}, update)) DrawTextLine(g, m);
  if (slider_.width > 0 &&
      Meets(Box{slider_.x, slider_.y, slider_.x + slider_.width, slider_.y + slider_.height + 4}, update)) {
    DrawCell(g, slot::kVolumeTrack, 0, slider_.x, slider_.y);
    int32_t level = VolumeLevelPixels(m.volume, slider_);
    Gdiplus::SolidBrush seek(Opaque(skin_.GetColour(kSeekColour)));
    g.FillRectangle(&seek, slider_.x, slider_.y + 5, level, 2);
    DrawCell(g, slot::kThumb, 0, slider_.x + level, slider_.y + 2);
  }
  if (Meets(kMuteArea, update)) DrawCell(g, m.muted ? slot::kMuteOn : slot::kMuteOff, 0, kMuteArea.left, kMuteArea.top);
  if (Meets(kAnimationArea, update))
    DrawCell(g, AnimationSlot(m.animationFrame), 0, kAnimationArea.left, kAnimationArea.top);
  if (Meets(kShuffleArea, update)) DrawCell(g, slot::kShuffle, m.shuffle ? 0 : 1, kShuffleArea.left, kShuffleArea.top);
  g.Flush(Gdiplus::FlushIntentionSync);

  int w = update.right - update.left, h = update.bottom - update.top;
  if (w > 0 && h > 0)
    GdiTransparentBlt(windowDc, update.left, update.top, w, h, res_->memDc, update.left, update.top, w, h, kKeyColour);
}

}  // namespace qv
