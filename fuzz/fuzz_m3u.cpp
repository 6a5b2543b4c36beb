// M3U reading: any bytes decode and parse without overrun; every location and
// title fits its field; what the writer makes of the items reads back the
// same; and loading through the playlist keeps every entry within bounds.
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/text/utf16.h"
#include "playlist/m3u_format.h"
#include "playlist/path_text.h"
#include "playlist/playlist_text.h"
#include "tests/playlist/playlist_test_support.h"

namespace {

std::u16string WrittenTitle(const std::u16string& title) {
  std::u16string t = title;
  for (char16_t& c : t)
    if (c == u'\r' || c == u'\n') c = u' ';
  while (!t.empty() && t.back() == u' ') t.pop_back();
  size_t start = t.find_first_not_of(u" \t");
  return start == std::u16string::npos ? std::u16string() : t.substr(start);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string_view bytes(reinterpret_cast<const char*>(data), size);
  std::u16string text = qv::DecodePlaylistText(bytes);
  std::vector<qv::PlaylistItem> items = qv::ParseM3u(text);
  qv::M3uWriter writer(u"");
  for (const qv::PlaylistItem& item : items) {
    if (!qv::FitsPathField(item.location) || item.location.empty() || !qv::FitsPathField(item.title)) std::abort();
    if (item.location.find(u'\n') != std::u16string::npos || item.location[0] == u'#') std::abort();
    writer.Add(0, item.title, item.location);
  }
  std::vector<uint8_t> encoded = qv::EncodePlaylistText(writer.Text());
  std::vector<qv::PlaylistItem> again = qv::ParseM3u(
      qv::DecodePlaylistText(std::string_view(reinterpret_cast<const char*>(encoded.data()), encoded.size())));
  if (again.size() != items.size()) std::abort();
  for (size_t i = 0; i < items.size(); ++i) {
    if (again[i].location != items[i].location) std::abort();
    if (again[i].title != WrittenTitle(items[i].title)) std::abort();
  }

  qv::test::PlaylistRig rig;
  rig.AddSongs({u"a.mp3", u"b.ogg"});
  rig.files.AddFile(u"C:\\Music\\list.m3u", std::vector<uint8_t>(data, data + size));
  rig.playlist->LoadPlaylistFile(u"C:\\Music\\list.m3u");
  if (rig.playlist->GetEntryCount() > qv::kMaxPlaylistEntries) std::abort();
  for (int i = 0; i < rig.playlist->GetEntryCount(); ++i) {
    const qv::PlaylistEntry* e = rig.playlist->GetEntry(i);
    if (qv::U16Length(e->Path) >= qv::kPathChars || qv::U16Length(e->Title) >= qv::kPathChars) std::abort();
  }
  return 0;
}
