// A file system in memory with Windows rules: paths compare without regard
// to case, folders list "." and ".." first and then their items in the order
// they were made. Writes can be made to fail.
#pragma once

#include <map>
#include <string>
#include <vector>

#include "playlist/file_system.h"

namespace qv::test {

class MemoryFileSystem : public PlaylistFileSystem {
 public:
  // Adds a file (and the folders above it).
  void AddFile(const std::u16string& path, const std::vector<uint8_t>& bytes = {});
  void AddFile(const std::u16string& path, const std::string& bytes);
  void AddFolder(const std::u16string& path, bool reparsePoint = false);
  bool Exists(const std::u16string& path) const;
  std::vector<uint8_t> Bytes(const std::u16string& path) const;

  bool failWrites = false;
  int listCalls = 0;

  PathKind Inspect(std::u16string_view path) override;
  bool List(std::u16string_view folder, std::vector<FolderItem>& out) override;
  bool ReadFile(std::u16string_view path, size_t maxBytes, std::vector<uint8_t>& out) override;
  bool ReplaceFile(std::u16string_view path, const std::vector<uint8_t>& bytes) override;
  bool RemoveFile(std::u16string_view path) override;

 private:
  struct Node {
    std::u16string path;  // as made
    bool folder = false;
    bool reparsePoint = false;
    std::vector<uint8_t> bytes;
    size_t order = 0;
  };
  static std::u16string Key(std::u16string_view path);
  std::map<std::u16string, Node> nodes_;
  size_t made_ = 0;
};

}  // namespace qv::test
