#include "tools/qvload/load_playlist.h"

#include <memory>

#include "engine/engine_api.h"
#include "engine/engine_services.h"
#include "options/memory_settings_store.h"
#include "options/options.h"
#include "platform/audio/virtual_wave_out.h"
#include "platform/files/wide_file.h"
#include "platform/text/utf16.h"
#include "playlist/engine_port.h"
#include "playlist/path_text.h"
#include "playlist/playlist_controller.h"

namespace qvload {

namespace {

// An engine that plays to a device completing blocks at once.
qv::EngineHandle MakeEngine() {
  qv::EngineServices services;
  services.createWaveOut = [] { return std::make_unique<qv::VirtualWaveOut>(qv::VirtualWaveOut::Pace::Instant); };
  return qv::Engine_CreateWithServices(services);
}

// True when the field holds its terminator within its capacity.
bool Terminated(const char16_t* field, size_t capacity) {
  for (size_t i = 0; i < capacity; ++i)
    if (field[i] == 0) return true;
  return false;
}

}  // namespace

LoadResult LoadPlaylist(const std::u16string& path) {
  LoadResult result;
  if (!qv::WideFileExists(path)) {
    result.exitCode = kExitNotRead;
    result.reason = "cannot read the file";
    return result;
  }
  qv::EngineHandle playEngine = MakeEngine();
  qv::EngineHandle infoEngine = MakeEngine();
  qv::EngineHandlePort play(playEngine);
  qv::EngineHandlePort info(infoEngine);
  // Options in memory: reading a playlist must not touch the registry.
  qv::MemorySettingsStore store;
  qv::COptions options(store);
  qv::PlaylistServices services;
  services.engine = &play;
  services.infoEngine = &info;
  services.options = &options;
  int loaded = 0;
  {
    qv::PlaylistController playlist(services);
    loaded = playlist.LoadPlaylistFile(path);
    const int count = playlist.GetEntryCount();
    int withLength = 0;
    for (int i = 0; i < count; ++i) {
      const qv::PlaylistEntry* entry = playlist.GetEntry(i);
      if (!entry || !Terminated(entry->Path, qv::kPathChars) || !Terminated(entry->Title, qv::kPathChars)) {
        result.exitCode = kExitBrokenLimit;
        result.reason = "entry " + std::to_string(i) + " is missing or holds an unterminated text";
        break;
      }
      if (entry->Track.DurationMs > 0) ++withLength;
    }
    if (count > qv::kMaxPlaylistEntries) {
      result.exitCode = kExitBrokenLimit;
      result.reason = "the playlist holds " + std::to_string(count) + " entries";
    }
    result.report.Bool("read", loaded != 0)
        .Int("entries", count)
        .Int("entries_with_length", withLength)
        .Int("current", playlist.CurrentIndex())
        .Int("opened", playlist.LastOpenResult());
    playlist.CloseForExit();
  }
  qv::Engine_Destroy(playEngine);
  qv::Engine_Destroy(infoEngine);
  if (!loaded && result.exitCode == kExitRead) {
    result.exitCode = kExitNotRead;
    result.reason = "not read as a playlist (its extension is neither m3u nor pls, or it could not be opened)";
  }
  return result;
}

}  // namespace qvload
