#include "playlist/path_text.h"

namespace qv {

std::u16string_view FieldView(const char16_t* field, size_t capacity) {
  size_t n = 0;
  while (n + 1 < capacity && field[n]) ++n;
  return std::u16string_view(field, n);
}

std::u16string_view FileNameOf(std::u16string_view path) {
  size_t slash = path.rfind(u'\\');
  return slash == std::u16string_view::npos ? path : path.substr(slash + 1);
}

std::u16string_view FolderOf(std::u16string_view path) {
  size_t slash = path.rfind(u'\\');
  return slash == std::u16string_view::npos ? path : path.substr(0, slash);
}

std::u16string_view FolderPrefixOf(std::u16string_view path) {
  size_t slash = path.rfind(u'\\');
  return slash == std::u16string_view::npos ? path : path.substr(0, slash + 1);
}

bool JoinPath(std::u16string_view folder, std::u16string_view name, std::u16string& out) {
  out.clear();
  if (folder.size() + 1 + name.size() >= kPathChars) return false;
  out.reserve(folder.size() + 1 + name.size());
  out.append(folder);
  out += u'\\';
  out.append(name);
  return true;
}

}  // namespace qv
