// Paths of the files a skin names, relative to the skin file's folder.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qv {

// Path buffers hold this many characters, the terminator included.
constexpr size_t kSkinPathCapacity = 260;

// The folder of a path, up to and including its last "\" or "/"; empty when
// the path has no folder part.
std::u16string_view SkinFolderOf(std::u16string_view path);

// folder + name when a name is given and the result fits a path buffer;
// otherwise empty, which means "no file" (the built-in picture is used).
std::u16string JoinSkinPath(std::u16string_view folder, std::u16string_view name);

}  // namespace qv
