#include "playlist/m3u_format.h"

#include "playlist/path_text.h"

namespace qv {

namespace {

std::u16string_view TrimTrailingSpaces(std::u16string_view line) {
  while (!line.empty() && line.back() == u' ') line.remove_suffix(1);
  return line;
}

std::u16string_view SkipLeadingBlanks(std::u16string_view text) {
  while (!text.empty() && (text.front() == u' ' || text.front() == u'\t')) text.remove_prefix(1);
  return text;
}

std::u16string Decimal(int32_t value) {
  std::string digits = std::to_string(value);
  return std::u16string(digits.begin(), digits.end());
}

}  // namespace

std::vector<PlaylistItem> ParseM3u(std::u16string_view text, size_t maxItems) {
  std::vector<PlaylistItem> items;
  std::u16string pending;
  size_t examined = 0;
  size_t start = 0;
  while (start < text.size() && examined < maxItems) {
    size_t end = text.find(u'\n', start);
    if (end == std::u16string_view::npos) end = text.size();
    std::u16string_view line = text.substr(start, end - start);
    start = end + 1;
    if (end < text.size() && !line.empty() && line.back() == u'\r') line.remove_suffix(1);
    line = line.substr(0, line.find(u'\0'));
    line = TrimTrailingSpaces(line);
    if (line.empty()) continue;
    if (line.front() == u'#') {
      size_t comma = line.find(u',');
      if (line.substr(0, 7) == u"#EXTINF" && comma != std::u16string_view::npos) {
        std::u16string_view title = SkipLeadingBlanks(line.substr(comma + 1));
        if (!title.empty()) pending.assign(title.substr(0, kPathChars - 1));
      }
      continue;
    }
    ++examined;
    if (FitsPathField(line)) items.push_back({std::u16string(line), pending});
    pending.clear();
  }
  return items;
}

M3uWriter::M3uWriter(std::u16string_view base) : base_(base), text_(u"#EXTM3U\n") {}

void M3uWriter::Add(int32_t durationMs, std::u16string_view title, std::u16string_view path) {
  text_ += u"#EXTINF:";
  text_ += Decimal(durationMs == 0 ? -1 : durationMs / 1000);
  text_ += u',';
  for (char16_t c : title) text_ += (c == u'\r' || c == u'\n') ? u' ' : c;
  text_ += u'\n';
  if (!base_.empty() && path.substr(0, base_.size()) == base_)
    text_.append(path.substr(base_.size()));
  else
    text_.append(path);
  text_ += u'\n';
}

}  // namespace qv
