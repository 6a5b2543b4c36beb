#include "app/skin/skin_path.h"

namespace qv {

std::u16string_view SkinFolderOf(std::u16string_view path) {
  size_t cut = path.find_last_of(u"\\/");
  if (cut == std::u16string_view::npos) return {};
  return path.substr(0, cut + 1);
}

std::u16string JoinSkinPath(std::u16string_view folder, std::u16string_view name) {
  if (name.empty()) return {};
  if (folder.size() + name.size() >= kSkinPathCapacity) return {};
  std::u16string path(folder);
  path += name;
  return path;
}

}  // namespace qv
