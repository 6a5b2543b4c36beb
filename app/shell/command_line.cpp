#include "app/shell/command_line.h"

namespace qv {

std::vector<std::u16string> SplitCommandLine(std::u16string_view text) {
  std::vector<std::u16string> names;
  const size_t n = text.size();
  size_t i = 0;
  while (i < n) {
    std::u16string_view name;
    if (text[i] == u'"') {
      size_t start = i + 1;
      size_t end = text.find(u'"', start);
      if (end == std::u16string_view::npos) end = n;
      name = text.substr(start, end - start);
      i = end;
      if (i < n && text[i] == u'"') ++i;  // the closing quote
      if (i < n && text[i] == u'"') ++i;  // one further quote
      if (i < n && text[i] == u' ') ++i;
    } else {
      size_t end = text.find(u' ', i);
      if (end == std::u16string_view::npos) end = n;
      name = text.substr(i, end - i);
      i = end;
      if (i < n && text[i] == u' ') ++i;
      if (i < n && text[i] == u' ') ++i;
    }
    if (name.empty()) break;
    names.emplace_back(name);
  }
  return names;
}

bool IsAgentRestart(std::u16string_view text) { return text == u"R"; }

bool HasCommandLineNames(std::u16string_view text) {
  return !IsAgentRestart(text) && !SplitCommandLine(text).empty();
}

}  // namespace qv
