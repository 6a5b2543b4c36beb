// The installation folder, from the per-machine application-path entry of
// "QuoviraPlayer.exe", and the control layer file "skin.ini" in it.
#pragma once

#include <string>
#include <string_view>

#include "options/settings_store.h"

namespace qv {

constexpr char16_t kAppPathsKey[] = u"Software\\Microsoft\\Windows\\CurrentVersion\\App Paths\\QuoviraPlayer.exe";
// The value holds at most this many bytes (with its terminator).
constexpr size_t kInstallPathBytes = 520;

struct InstallFolder {
  // False when the value is there but cannot be used (longer than its
  // 520 bytes); then there is no control layer to open.
  bool usable = true;
  // Ends with "\" unless empty (a missing value: the current folder).
  std::u16string folder;
};

// Reads "Path" without creating the key. The text is cut at its first
// terminator; a stored text without one is terminated here.
InstallFolder ReadInstallFolder(SettingsStore& store);

// The folder as stored, made to end with a separator.
std::u16string WithTrailingSeparator(std::u16string_view folder);

// folder + "skin.ini", or empty when there is no usable folder or the path
// would not fit a path buffer (then the file counts as missing).
std::u16string ControlLayerFile(const InstallFolder& install);

}  // namespace qv
