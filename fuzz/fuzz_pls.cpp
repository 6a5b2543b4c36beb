// PLS reading: any bytes decode and parse without overrun, locations and
// titles fit their fields, numbering stops at the first missing File key,
// and loading through the playlist keeps every entry within bounds.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/text/utf16.h"
#include "playlist/path_text.h"
#include "playlist/playlist_text.h"
#include "playlist/pls_format.h"
#include "tests/playlist/playlist_test_support.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::u16string text = qv::DecodePlaylistText(bytes);
  std::vector<qv::PlaylistItem> items = qv::ParsePls(text);
  qv::IniSectionIndex section(qv::SplitLines(text), u"playlist");
  size_t files = 0;
  while (section.Find(u"File" + qv::FromUtf8(std::to_string(files + 1)))) ++files;
  if (items.size() > files) std::abort();
  for (const qv::PlaylistItem& item : items) {
    if (!qv::FitsPathField(item.location) || !qv::FitsPathField(item.title)) std::abort();
  }

  qv::test::PlaylistRig rig;
  rig.AddSongs({u"a.mp3", u"b.ogg"});
  rig.files.AddFile(u"C:\\Music\\list.pls", std::vector<uint8_t>(data, data + size));
  rig.playlist->LoadPlaylistFile(u"C:\\Music\\list.pls");
  if (rig.playlist->GetEntryCount() > static_cast<int>(items.size())) std::abort();
  for (int i = 0; i < rig.playlist->GetEntryCount(); ++i) {
    const qv::PlaylistEntry* e = rig.playlist->GetEntry(i);
    if (qv::U16Length(e->Path) >= qv::kPathChars || qv::U16Length(e->Title) >= qv::kPathChars) std::abort();
  }
  return 0;
}
