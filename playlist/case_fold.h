// Comparison of paths ignoring letter case, as the playlist compares them
// (duplicates, sorting, extensions): letters of the Latin, Greek and
// Cyrillic alphabets fold to lower case.
#pragma once

#include <string_view>

namespace qv {

char16_t FoldCase(char16_t c);
// <0, 0, >0 like _wcsicmp.
int CompareNoCase(std::u16string_view a, std::u16string_view b);
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);

}  // namespace qv
