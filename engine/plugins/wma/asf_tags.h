// Tags from the ASF content description objects into a TagInfo. Each takes
// the whole object (object header included) and reads only what lies
// inside it.
#pragma once

#include <cstddef>
#include <cstdint>

#include "engine/engine_api.h"

namespace qv {

// Content Description: Title and Author (as Title and Artist).
void ReadContentDescription(const uint8_t* object, size_t size, TagInfo* tags);

// Extended Content Description: "WM/TrackNumber", "WM/Year",
// "WM/AlbumTitle" and "WM/Genre".
void ReadExtendedContentDescription(const uint8_t* object, size_t size, TagInfo* tags);

}  // namespace qv
