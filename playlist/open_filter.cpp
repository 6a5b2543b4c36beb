#include "playlist/open_filter.h"

#include "playlist/case_fold.h"
#include "playlist/extensions.h"

namespace qv {

namespace {
// String resources 25, 26, 27 and 24 of the program.
constexpr char16_t kAllSupported[] =
    u"All supported types|*.mp3;*.rmp;*.mp2;*.mpa;*.ogg;*.wav;*.flac;*.wma;*.ape;*.cda;*.m3u;*.pls";
constexpr char16_t kBuiltinTypes[] =
    u"|MP3 Files (*.mp3)|*.mp3|RMP Files (*.RMP)|*.rmp|MP2 Files (*.mp2)|*.mp2|MPA Files (*.mpa)|*.mpa"
    u"|Ogg Vorbis Files(*.ogg)|*.ogg|Wave Files (*.wav)|*.wav|WMA Files (*.wma)|*.wma"
    u"|Audio CD Files (*.cda)|*.cda|FLAC Files (*.flac)|*.flac|Monkey's Audio Files (*.ape)|*.ape"
    u"|Playlist Files (*.m3u;*.pls)|*.m3u;*pls";
constexpr char16_t kAllFiles[] = u"|All Files (*.*)|*.*||";
}  // namespace

std::u16string BuildOpenFilter(const std::vector<PluginExtension>& plugins, int withAll) {
  std::u16string text = withAll ? kAllSupported : u"";
  std::vector<PluginExtension> collected;
  for (const PluginExtension& p : plugins) {
    if (p.extension.empty() || IsBuiltinExtension(p.extension, 1)) continue;
    bool seen = false;
    for (const PluginExtension& c : collected) seen = seen || EqualsNoCase(c.extension, p.extension);
    if (seen) continue;
    if (withAll) text += u";*." + p.extension;
    collected.push_back(p);
  }
  std::u16string_view builtin(kBuiltinTypes);
  text.append(text.empty() ? builtin.substr(1) : builtin);
  for (const PluginExtension& c : collected) {
    std::u16string description = c.description;
    if (description.empty()) description = c.extension + u" Files(*." + c.extension + u")";
    text += u"|" + description + u"|*." + c.extension;
  }
  text += kAllFiles;
  for (char16_t& ch : text)
    if (ch == u'|') ch = 0;
  return text;
}

}  // namespace qv
