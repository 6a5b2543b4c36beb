#include "tests/playlist/playlist_test_support.h"

#include <algorithm>

#include "platform/text/utf16.h"

namespace qv::test {

int RecordingHost::Count(const std::string& event) const {
  return static_cast<int>(std::count(events.begin(), events.end(), event));
}

PlaylistRig::PlaylistRig(bool withEngine) {
  PlaylistServices services;
  services.engine = withEngine ? &engine : nullptr;
  services.infoEngine = &info;
  services.files = &files;
  services.host = &host;
  services.options = &options;
  services.tickCount = [this] { return tick; };
  services.programPath = u"C:\\Program Files\\Quovira\\QuoviraPlayer.exe";
  playlist = std::make_unique<PlaylistController>(services);
  files.AddFolder(u"C:\\Music");
  files.AddFolder(u"C:\\Program Files\\Quovira");
}

void PlaylistRig::AddSongs(const std::vector<std::u16string>& names) {
  for (const std::u16string& name : names) {
    files.AddFile(SongPath(name));
    engine.AddMedia(SongPath(name));
    info.AddMedia(SongPath(name));
  }
}

std::vector<std::u16string> PlaylistRig::Paths() const {
  std::vector<std::u16string> out;
  for (int i = 0; i < playlist->GetEntryCount(); ++i) out.push_back(playlist->GetEntry(i)->Path);
  return out;
}

std::u16string PlaylistRig::EntryText(int index) {
  char16_t text[kPathChars];
  if (!playlist->GetEntryText(index, text)) return u"<none>";
  return text;
}

std::string Utf16Le(std::u16string_view text) {
  std::string out;
  for (char16_t c : text) {
    out += static_cast<char>(c & 0xFF);
    out += static_cast<char>(c >> 8);
  }
  return out;
}

}  // namespace qv::test
