#include "playlist/extensions.h"

#include "platform/text/utf16.h"
#include "playlist/case_fold.h"

namespace qv {

const char16_t* const AudioExtensionTable[10] = {u"rmp", u"mp3", u"mp2", u"mpa", u"ogg",
                                                 u"wav", u"wma", u"flac", u"cda", u"ape"};
const char16_t* const PlayableExtensionTable[12] = {u"rmp", u"mp3", u"mp2",  u"mpa", u"ogg", u"wav",
                                                    u"wma", u"flac", u"cda", u"ape", u"m3u", u"pls"};

int IsStreamUrl(std::u16string_view text) {
  for (std::u16string_view scheme : {u"http://", u"mms://", u"rtsp://"})
    if (text.substr(0, scheme.size()) == scheme) return 1;
  return 0;
}

int IsAudioExtension(char16_t* path) {
  if (!path) return 0;
  size_t length = U16Length(path);
  std::u16string_view text(path, length);
  size_t dot = text.rfind(u'.');
  if (dot == std::u16string_view::npos || length - dot < 3) return 0;
  for (size_t i = dot + 1; i < length; ++i) path[i] = FoldCase(path[i]);
  std::u16string_view extension(path + dot + 1, length - dot - 1);
  for (const char16_t* entry : AudioExtensionTable)
    if (extension == entry) return 1;
  return 0;
}

int IsBuiltinExtension(std::u16string_view extension, int withPlaylists) {
  if (withPlaylists) {
    for (const char16_t* entry : PlayableExtensionTable)
      if (EqualsNoCase(extension, entry)) return 1;
  } else {
    for (const char16_t* entry : AudioExtensionTable)
      if (EqualsNoCase(extension, entry)) return 1;
  }
  return 0;
}

char PlaylistKindOf(std::u16string_view path) {
  size_t dot = path.rfind(u'.');
  if (dot == std::u16string_view::npos) return 0;
  std::u16string_view first3 = path.substr(dot + 1, 3);
  if (EqualsNoCase(first3, u"m3u")) return 'm';
  if (EqualsNoCase(first3, u"pls")) return 'p';
  return 0;
}

int IsPlaylistExtension(std::u16string_view path) { return PlaylistKindOf(path) ? 1 : 0; }

}  // namespace qv
