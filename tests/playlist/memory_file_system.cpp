#include "tests/playlist/memory_file_system.h"

#include <algorithm>

#include "playlist/case_fold.h"

namespace qv::test {

std::u16string MemoryFileSystem::Key(std::u16string_view path) {
  std::u16string key(path);
  for (char16_t& c : key) c = FoldCase(c);
  while (!key.empty() && key.back() == u'\\') key.pop_back();
  return key;
}

void MemoryFileSystem::AddFolder(const std::u16string& path, bool reparsePoint) {
  size_t slash = path.rfind(u'\\');
  if (slash != std::u16string::npos && slash > 0) {
    std::u16string parent = path.substr(0, slash);
    if (!nodes_.count(Key(parent))) AddFolder(parent);
  }
  Node& n = nodes_[Key(path)];
  if (n.path.empty()) n.order = made_++;
  n.path = path;
  n.folder = true;
  n.reparsePoint = reparsePoint;
}

void MemoryFileSystem::AddFile(const std::u16string& path, const std::vector<uint8_t>& bytes) {
  size_t slash = path.rfind(u'\\');
  if (slash != std::u16string::npos) {
    std::u16string parent = path.substr(0, slash);
    if (!nodes_.count(Key(parent))) AddFolder(parent);
  }
  Node& n = nodes_[Key(path)];
  if (n.path.empty()) n.order = made_++;
  n.path = path;
  n.folder = false;
  n.bytes = bytes;
}

void MemoryFileSystem::AddFile(const std::u16string& path, const std::string& bytes) {
  AddFile(path, std::vector<uint8_t>(bytes.begin(), bytes.end()));
}

bool MemoryFileSystem::Exists(const std::u16string& path) const { return nodes_.count(Key(path)) != 0; }

std::vector<uint8_t> MemoryFileSystem::Bytes(const std::u16string& path) const {
  auto it = nodes_.find(Key(path));
  return it == nodes_.end() ? std::vector<uint8_t>{} : it->second.bytes;
}

PathKind MemoryFileSystem::Inspect(std::u16string_view path) {
  if (path.empty()) return PathKind::Missing;
  auto it = nodes_.find(Key(path));
  if (it == nodes_.end()) return PathKind::Missing;
  return it->second.folder ? PathKind::Folder : PathKind::File;
}

bool MemoryFileSystem::List(std::u16string_view folder, std::vector<FolderItem>& out) {
  ++listCalls;
  out.clear();
  std::u16string key = Key(folder);
  auto it = nodes_.find(key);
  if (it == nodes_.end() || !it->second.folder) return false;
  out.push_back({u".", true, false});
  out.push_back({u"..", true, false});
  std::vector<const Node*> children;
  for (const auto& [k, node] : nodes_) {
    if (k.size() > key.size() + 1 && k.compare(0, key.size(), key) == 0 && k[key.size()] == u'\\' &&
        k.find(u'\\', key.size() + 1) == std::u16string::npos)
      children.push_back(&node);
  }
  std::sort(children.begin(), children.end(), [](const Node* a, const Node* b) { return a->order < b->order; });
  for (const Node* n : children) {
    FolderItem item;
    item.name = n->path.substr(n->path.rfind(u'\\') + 1);
    item.folder = n->folder;
    item.reparsePoint = n->reparsePoint;
    out.push_back(item);
  }
  return true;
}

bool MemoryFileSystem::ReadFile(std::u16string_view path, size_t maxBytes, std::vector<uint8_t>& out) {
  out.clear();
  auto it = nodes_.find(Key(path));
  if (it == nodes_.end() || it->second.folder || it->second.bytes.size() > maxBytes) return false;
  out = it->second.bytes;
  return true;
}

bool MemoryFileSystem::ReplaceFile(std::u16string_view path, const std::vector<uint8_t>& bytes) {
  if (failWrites) return false;
  auto it = nodes_.find(Key(path));
  if (it != nodes_.end() && it->second.folder) return false;
  size_t slash = path.rfind(u'\\');
  if (slash != std::u16string_view::npos && Inspect(path.substr(0, slash)) != PathKind::Folder) return false;
  AddFile(std::u16string(path), bytes);
  return true;
}

bool MemoryFileSystem::RemoveFile(std::u16string_view path) {
  auto it = nodes_.find(Key(path));
  if (it == nodes_.end()) return true;
  if (it->second.folder || failWrites) return false;
  nodes_.erase(it);
  return true;
}

}  // namespace qv::test
