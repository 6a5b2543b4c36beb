// The filter text of the open dialog: every built-in type, then the types
// the decoder plug-ins add.
#pragma once

#include <string>
#include <vector>

namespace qv {

// An extension a decoder plug-in declares (without the dot) and its
// description (may be empty).
struct PluginExtension {
  std::u16string extension;
  std::u16string description;
};

// The filter as the open dialog takes it: pairs of description and pattern,
// each terminated, the whole ending with an empty text. withAll 1 starts with
// the "All supported types" pair, which also lists the plug-ins' types.
std::u16string BuildOpenFilter(const std::vector<PluginExtension>& plugins, int withAll);

}  // namespace qv
