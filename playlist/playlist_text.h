// Text of playlist files: how the bytes are decoded and cut into lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Playlist files larger than this are not read.
constexpr size_t kMaxPlaylistFileBytes = 16u << 20;

// A byte-order mark decides: EF BB BF is UTF-8, FF FE is UTF-16LE. Without
// one the text is UTF-16LE when it holds zero bytes (8-bit text never does,
// and every playlist names paths with ASCII characters), otherwise UTF-8
// when it is valid UTF-8, otherwise 8-bit text in the ANSI code page.
std::u16string DecodePlaylistText(std::string_view bytes);

bool IsValidUtf8(std::string_view bytes);

// The lines of a text: CR LF counts as one line feed, a last line without a
// line feed counts, a line ends at a NUL character. Lines are whole,
// whatever their length.
std::vector<std::u16string_view> SplitLines(std::u16string_view text);

// UTF-16LE with the FF FE mark; every "\n" becomes CR LF.
std::vector<uint8_t> EncodePlaylistText(std::u16string_view text);

}  // namespace qv
