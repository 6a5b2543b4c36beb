#include "app/skin/ini_text.h"

#include "app/skin/ansi_text.h"
#include "platform/files/wide_file.h"
#include "platform/text/utf16.h"

namespace qv {

namespace {
// A line read into a 260-character buffer holds at most 259 characters, the
// line feed included; the rest of a longer line arrives as further lines.
constexpr size_t kLineChunk = 259;
// INI files are small; anything larger is not one.
constexpr size_t kMaxIniBytes = 16u << 20;

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

// The name of a section header line ("[name]..."); false for other lines.
bool HeaderName(const std::u16string& line, std::u16string_view& name) {
  if (line.empty() || line[0] != u'[') return false;
  std::u16string_view rest(line);
  rest.remove_prefix(1);
  size_t close = rest.find(u']');
  if (close == std::u16string_view::npos) {
    // No closing bracket: a header that names nothing.
    name = {};
    return true;
  }
  name = rest.substr(0, close);
  return true;
}
}  // namespace

bool IniText::Open(std::u16string_view path) {
  lines_.clear();
  std::vector<uint8_t> bytes;
  if (!ReadWholeFile(path, kMaxIniBytes, bytes)) return false;
  SetBytes(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  return true;
}

void IniText::SetBytes(std::string_view bytes) {
  lines_.clear();
  std::string line;
  auto flush = [&] {
    lines_.push_back(DecodeAnsiText(line));
    line.clear();
  };
  for (size_t i = 0; i < bytes.size(); ++i) {
    char c = bytes[i];
    // Text mode turns CR LF into LF.
    if (c == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n') continue;
    line += c;
    if (c == '\n' || line.size() == kLineChunk) flush();
  }
  if (!line.empty()) flush();
}

bool ReadIniString(const IniText* file, std::u16string_view section, std::u16string_view key,
                   std::u16string& out) {
  out.clear();
  if (!file) return false;
  if (section.size() >= kIniNameLimit) return false;
  const auto& lines = file->Lines();
  size_t i = 0;
  for (; i < lines.size(); ++i) {
    std::u16string_view name;
    if (HeaderName(lines[i], name) && name == section) break;
  }
  if (i == lines.size()) return false;
  if (key.size() >= kIniNameLimit) return false;
  for (++i; i < lines.size(); ++i) {
    const std::u16string& line = lines[i];
    if (!line.empty() && line[0] == u'[') break;
    if (!line.empty() && line[0] == u';') continue;
    size_t eq = line.find(u'=');
    if (eq == std::u16string::npos) continue;
    if (std::u16string_view(line).substr(0, eq) != key) continue;
    out = line.substr(eq + 1);
    if (!out.empty() && out.back() == u'\n') out.pop_back();
    while (!out.empty() && IsBlank(out.back())) out.pop_back();
    return true;
  }
  return false;
}

int ReadIniValue(const IniText* file, std::u16string_view section, std::u16string_view key, char16_t* out) {
  if (out) out[0] = 0;
  std::u16string value;
  if (!ReadIniString(file, section, key, value)) return 0;
  if (out) U16CopyTruncated(out, kIniValueCapacity, value);
  return 1;
}

}  // namespace qv
