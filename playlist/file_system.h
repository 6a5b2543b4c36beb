// The file system as the playlist uses it: path tests, folder listings,
// reading playlist files and replacing them safely. Paths are "\"-separated.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

enum class PathKind { Missing, File, Folder };

struct FolderItem {
  std::u16string name;
  bool folder = false;
  bool reparsePoint = false;  // a link or junction; never followed by scans
};

class PlaylistFileSystem {
 public:
  virtual ~PlaylistFileSystem() = default;

  virtual PathKind Inspect(std::u16string_view path) = 0;
  // The items of a folder in the order the system lists them (which may
  // include "." and ".."); false when the folder cannot be listed.
  virtual bool List(std::u16string_view folder, std::vector<FolderItem>& out) = 0;
  // False when the file cannot be opened or is larger than maxBytes.
  virtual bool ReadFile(std::u16string_view path, size_t maxBytes, std::vector<uint8_t>& out) = 0;
  // Writes the bytes to a new file in the same folder and puts it in place of
  // the path only after it was written and closed cleanly. False when any
  // step fails; the file at the path is then as it was.
  virtual bool ReplaceFile(std::u16string_view path, const std::vector<uint8_t>& bytes) = 0;
  // True when no file is left at the path (also when there was none).
  virtual bool RemoveFile(std::u16string_view path) = 0;
};

// The system's file system: Win32 on Windows; POSIX natively, where "\" in a
// path stands for "/".
PlaylistFileSystem& SystemPlaylistFileSystem();

}  // namespace qv
