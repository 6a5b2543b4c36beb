// Path texts as the playlist keeps them: "\"-separated, in fields of
// kPathChars characters with the terminator.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

#include "engine/engine_api.h"

namespace qv {

// True when the text fits a path field (at most kPathChars - 1 characters).
inline bool FitsPathField(std::u16string_view text) { return text.size() < kPathChars; }

// The text of a fixed field up to its terminator, never past capacity - 1.
std::u16string_view FieldView(const char16_t* field, size_t capacity);

// The part after the last "\"; the whole path when it has none.
std::u16string_view FileNameOf(std::u16string_view path);
// The part before the last "\" (the "\" removed); the whole path when it has none.
std::u16string_view FolderOf(std::u16string_view path);
// The path up to and including its last "\"; the whole path when it has none.
std::u16string_view FolderPrefixOf(std::u16string_view path);

// folder + "\" + name; false (out empty) when the result does not fit a
// path field.
bool JoinPath(std::u16string_view folder, std::u16string_view name, std::u16string& out);

}  // namespace qv
