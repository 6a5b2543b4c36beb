#include "playlist/pls_format.h"

#include "playlist/path_text.h"
#include "playlist/playlist_text.h"

namespace qv {

namespace {

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

std::u16string Decimal(size_t value) {
  std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

IniSectionIndex::IniSectionIndex(const std::vector<std::u16string_view>& lines, std::u16string_view section) {
  size_t i = 0;
  // The first header line whose name (after "[", up to the first "]") is the
  // section; a header without "]" names nothing, as ReadIniValue reads it.
  for (; i < lines.size(); ++i) {
    std::u16string_view line = lines[i];
    if (line.empty() || line[0] != u'[') continue;
    std::u16string_view rest = line.substr(1);
    size_t close = rest.find(u']');
    std::u16string_view name = close == std::u16string_view::npos ? std::u16string_view() : rest.substr(0, close);
    if (name == section) break;
  }
  for (++i; i < lines.size(); ++i) {
    std::u16string_view line = lines[i];
    if (!line.empty() && line[0] == u'[') break;
    if (!line.empty() && line[0] == u';') continue;
    size_t eq = line.find(u'=');
    if (eq == std::u16string_view::npos) continue;
    std::u16string_view value = line.substr(eq + 1);
    while (!value.empty() && IsBlank(value.back())) value.remove_suffix(1);
    values_.emplace(std::u16string(line.substr(0, eq)), std::u16string(value));
  }
}

const std::u16string* IniSectionIndex::Find(std::u16string_view key) const {
  auto it = values_.find(std::u16string(key));
  return it == values_.end() ? nullptr : &it->second;
}

std::vector<PlaylistItem> ParsePls(std::u16string_view text, size_t maxItems) {
  std::vector<PlaylistItem> items;
  IniSectionIndex section(SplitLines(text), u"playlist");
  for (size_t n = 1; n <= maxItems; ++n) {
    const std::u16string* file = section.Find(u"File" + Decimal(n));
    if (!file) break;
    if (!FitsPathField(*file)) continue;
    const std::u16string* title = section.Find(u"Title" + Decimal(n));
    PlaylistItem item{*file, {}};
    if (title) item.title = title->substr(0, kPathChars - 1);
    items.push_back(std::move(item));
  }
  return items;
}

}  // namespace qv
