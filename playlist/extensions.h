// The playable file types and the tests on names and addresses.
#pragma once

#include <cstddef>
#include <string_view>

namespace qv {

// Lower-case extensions without the dot.
extern const char16_t* const AudioExtensionTable[10];
extern const char16_t* const PlayableExtensionTable[12];

// 1 when the text begins with "http://", "mms://" or "rtsp://" (exact case).
int IsStreamUrl(std::u16string_view text);

// 1 when the extension of the terminated path (from its last ".", at least
// 3 characters with the dot) is in AudioExtensionTable. The extension is
// lower-cased in place, in the caller's text, so that the engine, which
// accepts only all-lower or all-upper spellings, opens ".Mp3" files too.
int IsAudioExtension(char16_t* path);

// 1 when the extension (without the dot) equals, ignoring case, an entry of
// PlayableExtensionTable (withPlaylists 1) or AudioExtensionTable (0).
int IsBuiltinExtension(std::u16string_view extension, int withPlaylists);

// 1 when the first three characters after the last "." are, in lower case,
// "m3u" or "pls" (so .M3U and .m3u8 count as M3U).
int IsPlaylistExtension(std::u16string_view path);
// 'm' for M3U, 'p' for PLS, 0 for anything else, by the same test.
char PlaylistKindOf(std::u16string_view path);

}  // namespace qv
