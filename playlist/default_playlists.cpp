#include "playlist/default_playlists.h"

#include "playlist/path_text.h"

namespace qv {

std::u16string DefaultPlaylistPath(std::u16string_view programPath) {
  size_t dot = programPath.rfind(u'.');
  if (dot == std::u16string_view::npos) return std::u16string(programPath);
  std::u16string path(programPath.substr(0, dot + 1));
  path += u"m3u";
  return FitsPathField(path) ? path : std::u16string();
}

std::u16string RadioPlaylistPath(std::u16string_view programPath) {
  size_t slash = programPath.rfind(u'\\');
  if (slash == std::u16string_view::npos) return std::u16string(programPath);
  std::u16string path(programPath.substr(0, slash + 1));
  path += u"defaultradio.m3u";
  return FitsPathField(path) ? path : std::u16string();
}

}  // namespace qv
