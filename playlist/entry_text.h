// The display text of a file entry made from its tags.
#pragma once

#include <string>

#include "engine/engine_api.h"

namespace qv {

// "artist - title", or the title alone when there is no artist; empty when
// the tags have no title. Cut to fit a path field (kPathChars - 1).
std::u16string TagDisplayText(const TagInfo& tags);

// The file name without folder and without its last extension.
std::u16string FileDisplayName(std::u16string_view path);

}  // namespace qv
