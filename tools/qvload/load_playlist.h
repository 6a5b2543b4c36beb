// A playlist file read as the main window reads one: through the playlist
// with two real engines (the playback one and the one that reads each new
// entry's length), so every entry the file names is opened and its tags read.
#pragma once

#include <string>

#include "tools/qvload/load_report.h"

namespace qvload {

LoadResult LoadPlaylist(const std::u16string& path);

}  // namespace qvload
