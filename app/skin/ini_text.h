// The shared reader of INI-style text files (skins, PLS playlists, preset
// files): bracketed section lines, "key=value" lines and ";" comments. Keys
// and section names are case-sensitive and compared exactly, blanks included.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>
#include <vector>

namespace qv {

// Characters an output buffer of ReadIniValue must hold (terminator included).
constexpr size_t kIniValueCapacity = 260;
// Section names and keys this long or longer are never found.
constexpr size_t kIniNameLimit = 4096;

// An INI-style file opened for reading: its lines as a text-mode read gives
// them (CR LF becomes LF, lines longer than 259 characters are read in
// pieces), decoded to UTF-16. Every lookup reads from the top.
class IniText {
 public:
  // False when the file cannot be opened or read; the object is then empty.
  bool Open(std::u16string_view path);
  void SetBytes(std::string_view bytes);

  const std::vector<std::u16string>& Lines() const { return lines_; }

 private:
  std::vector<std::u16string> lines_;
};

// Looks up key in section. The output is set to the empty text first, then
// receives the value (line feed and trailing blanks removed), cut to
// kIniValueCapacity - 1 characters. Returns 1 when found, 0 otherwise
// (also when file is null).
int ReadIniValue(const IniText* file, std::u16string_view section, std::u16string_view key, char16_t* out);

// The same lookup into a string; false when not found.
bool ReadIniString(const IniText* file, std::u16string_view section, std::u16string_view key,
                   std::u16string& out);

}  // namespace qv
