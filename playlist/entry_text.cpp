#include "playlist/entry_text.h"

#include "playlist/path_text.h"

namespace qv {

std::u16string TagDisplayText(const TagInfo& tags) {
  std::u16string_view title = FieldView(tags.Title, kTagChars);
  if (title.empty()) return {};
  std::u16string_view artist = FieldView(tags.Artist, kTagChars);
  std::u16string text;
  if (!artist.empty()) {
    text.append(artist);
    text += u" - ";
  }
  text.append(title);
  // Two full tag texts are longer than a title field holds.
  if (text.size() >= kPathChars) text.resize(kPathChars - 1);
  return text;
}

std::u16string FileDisplayName(std::u16string_view path) {
  std::u16string_view name = FileNameOf(path);
  size_t dot = name.rfind(u'.');
  if (dot != std::u16string_view::npos) name = name.substr(0, dot);
  return std::u16string(name);
}

}  // namespace qv
