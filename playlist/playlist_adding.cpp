// Adding entries: single paths, folder scans, the open dialog's choice,
// addresses and dropped items.
#include <algorithm>

#include "platform/text/utf16.h"
#include "playlist/case_fold.h"
#include "playlist/extensions.h"
#include "playlist/open_filter.h"
#include "playlist/path_text.h"
#include "playlist/playlist_controller.h"
#include "playlist/wait_cursor.h"

namespace qv {

namespace {

bool IsDotEntry(std::u16string_view name) { return name == u"." || name == u".."; }

std::u16string_view ExtensionOf(std::u16string_view name) {
  size_t dot = name.rfind(u'.');
  return dot == std::u16string_view::npos ? std::u16string_view() : name.substr(dot + 1);
}

void CopyToLastDir(COptions& options, std::u16string_view folder) {
  U16CopyTruncated(options.LastDir, kOptionTextChars, folder);
}

}  // namespace

int PlaylistController::IsPlayablePath(std::u16string_view path) {
  if (IsStreamUrl(path)) return 1;
  return files_->Inspect(path) == PathKind::File ? 1 : 0;
}

int PlaylistController::AddEntry(std::u16string_view path, std::u16string_view title) {
  if (!engine_) return 0;
  // A path that would not fit the entry's field is refused, never cut.
  if (path.empty() || !FitsPathField(path)) return 0;
  if (IsListed(path)) return 0;
  if (list_.IsFull()) return 0;
  if (!IsPlayablePath(path)) return 0;

  PlaylistEntry* entry = list_.Append();
  if (!entry) return 0;
  U16CopyTruncated(entry->Path, kPathChars, path);
  if (!title.empty())
    U16CopyTruncated(entry->Title, kPathChars, title);
  else
    engine_->GetFileTags(entry->Path, &entry->Tags);

  if (info_) {
    int opened = IsStreamUrl(path) ? info_->OpenStream(entry->Path) : info_->OpenFile(entry->Path);
    if (opened) info_->GetTrackInfo(&entry->Track);
  }
  SelectFirstIfNone();
  return 1;
}

void PlaylistController::ScanFolder(std::u16string_view folder) {
  WaitCursor wait(*this);
  std::vector<FolderItem> items;
  if (!files_->List(folder, items)) return;

  std::vector<std::u16string_view> extensions(std::begin(AudioExtensionTable), std::end(AudioExtensionTable));
  std::vector<PluginExtension> plugins = engine_ ? engine_->PluginExtensions() : std::vector<PluginExtension>{};
  for (const PluginExtension& p : plugins)
    if (!p.extension.empty() && !IsBuiltinExtension(p.extension, 0)) extensions.push_back(p.extension);

  std::vector<std::u16string> found;
  std::u16string path;
  for (const FolderItem& item : items) {
    if (item.folder || IsDotEntry(item.name)) continue;
    std::u16string_view extension = ExtensionOf(item.name);
    bool wanted = false;
    for (std::u16string_view e : extensions) wanted = wanted || EqualsNoCase(extension, e);
    if (wanted && JoinPath(folder, item.name, path)) found.push_back(path);
  }
  std::stable_sort(found.begin(), found.end(),
                   [](const std::u16string& a, const std::u16string& b) { return CompareNoCase(a, b) < 0; });
  for (const std::u16string& file : found) AddEntry(file);

  if (!Options().SearchSubFolders) return;
  for (const FolderItem& item : items) {
    // Links and junctions are not followed: they can lead back up the tree.
    if (!item.folder || item.reparsePoint || IsDotEntry(item.name)) continue;
    if (JoinPath(folder, item.name, path)) ScanFolder(path);
  }
}

int PlaylistController::OpenChosenFiles(int add, std::u16string_view chosen,
                                        const std::vector<std::u16string>& names) {
  if (!add) ClearPlaylist();
  std::u16string path;
  if (files_->Inspect(chosen) == PathKind::Folder) {
    CopyToLastDir(Options(), chosen);
    for (const std::u16string& name : names) {
      if (!JoinPath(chosen, name, path)) continue;
      if (IsPlaylistExtension(path)) {
        LoadPlaylistFile(path);
      } else if (IsAudioExtension(path.data())) {
        AddEntry(path);
      }
    }
    return 1;
  }
  if (!FitsPathField(chosen)) return 0;
  path.assign(chosen);
  if (IsPlaylistExtension(path)) {
    LoadPlaylistFile(path);
  } else if (IsAudioExtension(path.data())) {
    AddEntry(path);
  } else {
    return 0;
  }
  CopyToLastDir(Options(), FolderOf(path));
  return 1;
}

const std::u16string& PlaylistController::OpenFilter() {
  if (openFilter_.empty())
    openFilter_ = BuildOpenFilter(engine_ ? engine_->PluginExtensions() : std::vector<PluginExtension>{}, 1);
  return openFilter_;
}

bool PlaylistController::BeginFileDialog() {
  if (fileDialogOpen_) return false;
  fileDialogOpen_ = true;
  return true;
}

void PlaylistController::DropItems(std::vector<std::u16string> paths) {
  std::stable_sort(paths.begin(), paths.end(),
                   [](const std::u16string& a, const std::u16string& b) { return CompareNoCase(a, b) < 0; });
  for (std::u16string& path : paths) {
    dropMark_ = 1;
    if (!FitsPathField(path)) continue;
    PathKind kind = files_->Inspect(path);
    if (kind == PathKind::Missing) continue;
    if (kind == PathKind::Folder) {
      ScanFolder(path);
    } else if (IsPlaylistExtension(path)) {
      LoadPlaylistFile(path);
    } else if (IsAudioExtension(path.data())) {
      AddEntry(path);
    }
  }
  if (dropMark_ == 2)
    PlayEntry(dropIndex_);
  else if (list_.Count() > 0)
    PlayEntry(list_.Count() - 1);
  Refresh();
  dropMark_ = 0;
}

void PlaylistController::AddUrl(std::u16string_view url) {
  AddEntry(url);
  if (list_.Count() > 0) PlayEntry(-1);
  Refresh();
}

void PlaylistController::AddFolder(std::u16string_view folder) {
  CopyToLastDir(Options(), folder);
  ScanFolder(folder);
  Refresh();
}

}  // namespace qv
