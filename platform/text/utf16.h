// UTF-16 text as the core keeps it: char16_t strings, so that records and files
// hold the same bytes in the Windows and the native build.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace qv {

// Length of a terminated UTF-16 text, like wcslen.
size_t U16Length(const char16_t* text);

// Copies src into a fixed buffer of `capacity` units, truncating if needed;
// the result is always terminated (nothing is written when capacity is 0).
void U16CopyTruncated(char16_t* dest, size_t capacity, std::u16string_view src);

// Conversions. Unpaired surrogates and malformed UTF-8 become U+FFFD, so a
// damaged name never stops a conversion.
std::string ToUtf8(std::u16string_view text);
std::u16string FromUtf8(std::string_view text);

// ASCII-only case folding, enough for extensions and keys.
char16_t U16AsciiLower(char16_t c);
bool U16EqualsAsciiNoCase(std::u16string_view a, std::u16string_view b);

}  // namespace qv

#ifdef _WIN32
static_assert(sizeof(wchar_t) == sizeof(char16_t), "Windows wide text is UTF-16");
namespace qv {
// Windows code views the same units as wchar_t.
inline const wchar_t* AsWide(const char16_t* s) { return reinterpret_cast<const wchar_t*>(s); }
inline wchar_t* AsWide(char16_t* s) { return reinterpret_cast<wchar_t*>(s); }
inline const char16_t* AsU16(const wchar_t* s) { return reinterpret_cast<const char16_t*>(s); }
inline char16_t* AsU16(wchar_t* s) { return reinterpret_cast<char16_t*>(s); }
}  // namespace qv
#endif
