// The pictures of one control, one per visual state, and the placeholder
// drawn for a state without a picture.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace skinlib {

class ControlPictures {
 public:
  ControlPictures() = default;
  ~ControlPictures() { Clear(); }
  ControlPictures(const ControlPictures&) = delete;
  ControlPictures& operator=(const ControlPictures&) = delete;

  // Loads each named picture; a name without a loadable file leaves a gap.
  void Load(const wchar_t* const* names, int count);
  void Clear();

  HBITMAP At(int index) const;
  SIZE SizeAt(int index) const;
  // Size of the first picture that loaded; fallback when none did.
  SIZE FirstSize(SIZE fallback) const;

 private:
  std::vector<HBITMAP> bitmaps_;
};

enum class Look { Normal, Over, Pushed, Disabled };

// A rounded key with the control's name, in the player's dark colours; the
// accent marks a two-state button that is on.
void DrawPlaceholder(HDC dc, const RECT& rect, const std::wstring& name, Look look, bool on);

// Draws bitmap at the top left of rect.
void DrawPicture(HDC dc, const RECT& rect, HBITMAP bitmap);

}  // namespace skinlib
