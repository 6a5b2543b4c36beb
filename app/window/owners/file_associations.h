// File associations and shell verbs. Not built yet: the start-up step
// succeeds without registering anything, no type counts as linked, and the
// first-menu registration and the File Link commands change nothing.
#pragma once

#include <windows.h>

namespace qv {

class CFileAssociations {
 public:
  // The shell integration step of start-up (argument 0); 0 fails start-up.
  int Integrate(int /*argument*/) { return 1; }
  // The first right click after installation.
  void OnFirstMenu(HWND /*owner*/) {}
  // type: 0 MP3, 1 OGG, 2 WAV.
  bool IsLinked(int /*type*/) const { return false; }
  void ToggleLink(int /*type*/) {}
};

}  // namespace qv
