// What a skinned control keeps beside its window.
#pragma once

#include <windows.h>

#include <string>

#include "app/skinlib/control_pictures.h"

struct SkinControlState {
  std::wstring name;  // the library's own copy, reported on clicks
  bool twoState = false;
  bool checked = false;
  bool disabled = false;
  bool hover = false;
  bool pressed = false;
  skinlib::ControlPictures pictures;
};

namespace skinlib {

// Picture indexes. Push buttons: normal, focused, over, pushed, disabled.
// Two-state buttons: off, off over, off pushed, on, on over, on pushed.
enum ButtonPicture { kButtonNormal = 0, kButtonOver = 2, kButtonPushed = 3, kButtonDisabled = 4 };
constexpr int kButtonPictures = 5;
constexpr int kRadioPictures = 6;
constexpr int kRadioOnOffset = 3;

// Size of a control whose pictures are all missing.
constexpr SIZE kButtonFallbackSize = {32, 31};
constexpr SIZE kRadioFallbackSize = {25, 21};

// The picture to show in the control's state, or null for the placeholder.
HBITMAP PictureForState(const SkinControlState& state, Look look);
Look LookOf(const SkinControlState& state);

}  // namespace skinlib
