// Playlist files (M3U read and written, PLS read), the default playlists and
// the playlist's part of start-up and exit.
#include "platform/text/utf16.h"
#include "playlist/default_playlists.h"
#include "playlist/extensions.h"
#include "playlist/m3u_format.h"
#include "playlist/path_text.h"
#include "playlist/playlist_controller.h"
#include "playlist/playlist_text.h"
#include "playlist/pls_format.h"
#include "playlist/wait_cursor.h"

namespace qv {

int PlaylistController::AddRelativeEntry(std::u16string_view folder, std::u16string_view location,
                                         std::u16string_view title) {
  if (IsPlayablePath(location)) return AddEntry(location, title);
  std::u16string joined;
  if (!JoinPath(folder, location, joined)) return 0;
  return AddEntry(joined, title);
}

void PlaylistController::ReadItems(std::u16string_view path, bool pls, int& result) {
  std::vector<uint8_t> bytes;
  result = 0;
  if (path.empty() || !files_->ReadFile(path, kMaxPlaylistFileBytes, bytes)) return;
  std::u16string text = DecodePlaylistText(std::string_view(reinterpret_cast<const char*>(bytes.data()), bytes.size()));
  std::vector<PlaylistItem> items = pls ? ParsePls(text) : ParseM3u(text);
  std::u16string_view folder = FolderOf(path);
  for (const PlaylistItem& item : items) {
    // Nothing more can be added to a full playlist.
    if (list_.IsFull()) break;
    AddRelativeEntry(folder, item.location, item.title);
  }
  result = 1;
}

int PlaylistController::ReadM3u(std::u16string_view path) {
  int result;
  ReadItems(path, false, result);
  return result;
}

int PlaylistController::ReadPls(std::u16string_view path) {
  int result;
  ReadItems(path, true, result);
  return result;
}

int PlaylistController::LoadPlaylistFile(std::u16string_view path) {
  WaitCursor wait(*this);
  if (path.find(u'.') == std::u16string_view::npos) return 0;
  ClearPlaylist();
  int result = 0;
  switch (PlaylistKindOf(path)) {
    case 'm': result = ReadM3u(path); break;
    case 'p': result = ReadPls(path); break;
    default: break;
  }
  Host().RepaintView();
  return result;
}

int PlaylistController::WriteM3u(std::u16string_view path) {
  if (path.empty() || !FitsPathField(path)) return 0;
  M3uWriter writer(FolderPrefixOf(path));
  char16_t text[kPathChars];
  for (int i = 0; i < list_.Count(); ++i) {
    PlaylistEntry* entry = list_.At(i);
    GetEntryText(i, text);
    writer.Add(entry->Track.DurationMs, FieldView(text, kPathChars), FieldView(entry->Path, kPathChars));
  }
  return files_->ReplaceFile(path, EncodePlaylistText(writer.Text())) ? 1 : 0;
}

int PlaylistController::SavePlaylistFile(std::u16string_view path) {
  if (path.empty() || !FitsPathField(path)) return 0;
  // An empty playlist leaves no file behind; otherwise the old file stays
  // until the new one is complete.
  if (list_.Count() == 0) return files_->RemoveFile(path) ? 1 : 0;
  return WriteM3u(path);
}

std::u16string PlaylistController::GetDefaultPlaylistPath() const { return DefaultPlaylistPath(programPath_); }

std::u16string PlaylistController::GetRadioPlaylistPath() const { return RadioPlaylistPath(programPath_); }

void PlaylistController::LoadDefaultPlaylistAtStart() {
  COptions& options = Options();
  if (!options.SaveDefPlayList) {
    SelectFirstIfNone();
    return;
  }
  holdSelection_ = true;
  LoadPlaylistFile(GetDefaultPlaylistPath());
  holdSelection_ = false;
  currentIndex_ = -1;

  if (options.Resume && options.ResumeTrack != -1) {
    if (options.ResumeTrack < list_.Count()) {
      SelectEntry(options.ResumeTrack);
      if (currentIndex_ == -1) {
        SelectFirstIfNone();
      } else {
        SeekTo(options.ResumeTime);
        options.ResumeTime = 0;
      }
    } else {
      SelectFirstIfNone();
    }
  } else {
    SelectFirstIfNone();
  }
}

void PlaylistController::StoreResumePoint() {
  if (!Options().Resume) return;
  Options().ResumeTrack = currentIndex_;
  Options().ResumeTime = engine_ ? engine_->GetPosition() : 0;
}

void PlaylistController::CloseForExit() {
  CloseSources();
  if (engine_) engine_->CloseDevice();
}

int PlaylistController::SaveDefaultPlaylist() {
  if (!Options().SaveDefPlayList) return 1;
  return SavePlaylistFile(GetDefaultPlaylistPath());
}

}  // namespace qv
