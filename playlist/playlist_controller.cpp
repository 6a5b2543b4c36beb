#include "playlist/playlist_controller.h"

#include <algorithm>

#include "platform/text/utf16.h"
#include "playlist/case_fold.h"
#include "playlist/entry_text.h"
#include "playlist/extensions.h"
#include "playlist/path_text.h"

namespace qv {

namespace {
constexpr int kStreamConnecting = 2;
// IsListed leaves texts this long alone.
constexpr size_t kListedCompareLimit = 520;
}  // namespace

PlaylistController::PlaylistController(const PlaylistServices& services)
    : engine_(services.engine),
      info_(services.infoEngine),
      files_(services.files ? services.files : &SystemPlaylistFileSystem()),
      host_(services.host ? services.host : &defaultHost_),
      options_(services.options),
      tickCount_(services.tickCount ? services.tickCount : [] { return 0u; }),
      programPath_(services.programPath),
      random_(tickCount_()) {
  if (!options_) {
    ownOptions_ = std::make_unique<COptions>();
    options_ = ownOptions_.get();
  }
}

PlaylistController::~PlaylistController() = default;

void PlaylistController::Refresh() { Host().Refresh(); }

int PlaylistController::IsListed(std::u16string_view path) {
  if (Options().AddExisting) return 0;
  if (path.size() >= kListedCompareLimit) return 0;
  for (int i = 0; i < list_.Count(); ++i) {
    if (!EqualsNoCase(FieldView(list_.At(i)->Path, kPathChars), path)) continue;
    if (dropMark_ == 1) {
      dropMark_ = 2;
      dropIndex_ = i;
    }
    return 1;
  }
  return 0;
}

int PlaylistController::RemoveEntry(int index) {
  if (!list_.Remove(index)) return 0;
  if (list_.Count() == 0) {
    CloseSources();
    currentIndex_ = -1;
    Host().RepaintMain();
  } else if (index == currentIndex_) {
    StopPlayback();
    Host().ResetPlayDisplay();
    currentIndex_ = -1;
    // The entry that took its place, or the new last one, is opened but not
    // played.
    SelectEntry(index < list_.Count() ? index : index - 1);
  } else if (index < currentIndex_) {
    --currentIndex_;
    Refresh();
  }
  return 1;
}

void PlaylistController::ClearPlaylist() {
  StopPlayback();
  Host().ResetPlayDisplay();
  CloseSources();
  currentIndex_ = -1;
  list_.Clear();
  Host().RepaintMain();
  Host().RepaintView();
}

bool PlaylistController::SwapEntries(int a, int b) {
  if (!list_.Swap(a, b)) return false;
  // The current index follows its entry.
  if (currentIndex_ == a)
    currentIndex_ = b;
  else if (currentIndex_ == b)
    currentIndex_ = a;
  return true;
}

int PlaylistController::MoveEntryUp(int index) {
  if (index <= 0 || !SwapEntries(index - 1, index)) return 0;
  Refresh();
  return 1;
}

int PlaylistController::MoveEntryDown(int index) {
  if (index >= list_.Count() - 1 || !SwapEntries(index, index + 1)) return 0;
  Refresh();
  return 1;
}

int PlaylistController::MoveEntryUpTo(int from, int to) {
  if (from <= 0 || from >= list_.Count()) return 0;
  for (; from > to && from > 0; --from)
    if (!SwapEntries(from - 1, from)) return 0;
  Refresh();
  return 1;
}

int PlaylistController::MoveEntryDownTo(int from, int to) {
  if (from < 0 || from >= list_.Count() - 1) return 0;
  for (; from < to; ++from)
    if (!SwapEntries(from, from + 1)) return 0;
  Refresh();
  return 1;
}

void PlaylistController::SortPlaylist(int key) {
  for (int i = 0; i < list_.Count(); ++i) list_.At(i)->CurrentMark = i == currentIndex_ ? 1 : 0;
  auto sortName = [key](const PlaylistEntry& e) {
    std::u16string_view path = FieldView(e.Path, kPathChars);
    if (key != 0) return path;
    // The file name; none for a path without "\" (so addresses tie).
    size_t slash = path.rfind(u'\\');
    return slash == std::u16string_view::npos ? std::u16string_view() : path.substr(slash + 1);
  };
  auto& entries = list_.Entries();
  std::stable_sort(entries.begin(), entries.end(), [&](const auto& a, const auto& b) {
    return CompareNoCase(sortName(*a), sortName(*b)) < 0;
  });
  for (int i = 0; i < list_.Count(); ++i) {
    if (list_.At(i)->CurrentMark) {
      currentIndex_ = i;
      break;
    }
  }
  Refresh();
}

int PlaylistController::GetEntryText(int index, char16_t* out) {
  PlaylistEntry* entry = list_.At(index);
  if (!entry || !out) return 0;
  std::u16string_view path = FieldView(entry->Path, kPathChars);
  std::u16string_view title = FieldView(entry->Title, kPathChars);
  std::u16string text;
  if (IsStreamUrl(path)) {
    char16_t streamTitle[kPathChars] = {};
    // A stream that reports an empty title keeps the one the entry has.
    if (index == currentIndex_ && engine_ && engine_->GetStreamState() != kStreamConnecting &&
        engine_->GetStreamInfo(streamTitle, nullptr, nullptr) && streamTitle[0]) {
      text = FieldView(streamTitle, kPathChars);
      U16CopyTruncated(entry->Title, kPathChars, text);
    } else {
      text = title.empty() ? path : title;
    }
  } else {
    text = TagDisplayText(entry->Tags);
    if (text.empty()) {
      if (!title.empty()) {
        text = title;
      } else {
        text = FileDisplayName(path);
        U16CopyTruncated(entry->Title, kPathChars, text);
      }
    }
  }
  U16CopyTruncated(out, kPathChars, text);
  return 1;
}

int PlaylistController::GetEntryTimeText(int index, char16_t* out) const {
  PlaylistEntry* entry = list_.At(index);
  if (!entry || !out) return 0;
  U16CopyTruncated(out, kTimeTextChars, FieldView(entry->Track.TimeText, kTimeTextChars));
  return 1;
}

}  // namespace qv
