// Where the default playlist and the radio playlist live: beside the program.
#pragma once

#include <string>
#include <string_view>

namespace qv {

// The program's path with everything after its last "." replaced by "m3u";
// the program path itself when it has no ".".
std::u16string DefaultPlaylistPath(std::u16string_view programPath);
// The program's folder (with its final "\") followed by "defaultradio.m3u";
// the program path itself when it has no "\". Empty when the result would
// not fit a path field.
std::u16string RadioPlaylistPath(std::u16string_view programPath);

}  // namespace qv
