// Play order, opening and playing entries, the transport commands and what
// happens when a track ends.
#include "platform/text/utf16.h"
#include "playlist/extensions.h"
#include "playlist/path_text.h"
#include "playlist/playlist_controller.h"
#include "playlist/wait_cursor.h"

namespace qv {

namespace {
constexpr int kStopped = 0;
constexpr int32_t kRestartAfterMs = 2000;
constexpr int32_t kSkipMs = 10000;
}  // namespace

void PlaylistController::ClearPlayedMarks() {
  for (int i = 0; i < list_.Count(); ++i) list_.At(i)->Played = 0;
}

int PlaylistController::NextIndex(int automatic, int stopAtEnd) {
  if (currentIndex_ == -1) return -1;
  int count = list_.Count();
  if (count == 0) return -1;
  if (!Options().Shuffle) {
    if (currentIndex_ + 1 != count) return currentIndex_ + 1;
    bool wrap = stopAtEnd == 0 && (automatic == 0 || Options().Repeat != 0);
    return wrap ? 0 : -1;
  }
  bool anyLeft = false;
  for (int i = 0; i < count && !anyLeft; ++i) anyLeft = list_.At(i)->Played == 0;
  if (!anyLeft) {
    ClearPlayedMarks();
    if (stopAtEnd == 1 || (automatic == 1 && Options().Repeat == 0)) return -1;
  }
  for (;;) {
    int i = static_cast<int>(random_() % static_cast<uint32_t>(count));
    if (list_.At(i)->Played == 0) return i;
  }
}

int PlaylistController::PreviousIndex() const {
  if (currentIndex_ == -1) return -1;
  if (options_->Shuffle) return currentIndex_;
  return currentIndex_ == 0 ? list_.Count() - 1 : currentIndex_ - 1;
}

void PlaylistController::ApplyEngineOptions() {
  if (!engine_) return;
  engine_->SetOptions(&Options().EngineOptions);
  engine_->SetStreamingOptions(&Options().StreamingOptions);
}

int PlaylistController::SelectEntry(int index) {
  WaitCursor wait(*this);
  PlaylistEntry* entry = list_.At(index);
  if (!entry || !engine_) return 0;
  StopPlayback();
  Host().ResetPlayDisplay();
  Host().ClearViewSelection();
  ApplyEngineOptions();
  if (index == currentIndex_ && lastOpen_ == 1) return 1;

  int opened;
  if (IsStreamUrl(FieldView(entry->Path, kPathChars))) {
    opened = engine_->OpenStream(entry->Path);
    streamFlag_ = 1;
  } else {
    opened = engine_->OpenFile(entry->Path);
    streamFlag_ = 0;
  }
  if (opened) {
    engine_->GetTrackInfo(&entry->Track);
    engine_->GetTags(&entry->Tags);
    if (Options().Shuffle) entry->Played = 1;
  }
  // The entry becomes current even when it could not be opened.
  currentIndex_ = index;
  Refresh();
  Host().ShowPlayDisplay(streamFlag_ == 1);
  lastOpen_ = opened ? 1 : 0;
  return lastOpen_;
}

int PlaylistController::PlayEntry(int index) {
  if (!engine_) return 0;
  if (index != -1 && index != currentIndex_ && !SelectEntry(index)) return 0;
  ApplyEngineOptions();
  if (engine_->Play()) {
    Host().StartPlayDisplay();
    return 1;
  }
  // Reopen the current entry (only when its last open failed) and try once more.
  if (index == -1) index = currentIndex_;
  SelectEntry(index);
  return engine_->Play() ? 1 : 0;
}

void PlaylistController::SelectFirstIfNone() {
  if (currentIndex_ == -1 && !holdSelection_) SelectEntry(0);
}

void PlaylistController::TogglePause() {
  if (!engine_) return;
  engine_->Pause();
  Host().ShowPauseState();
}

void PlaylistController::StopPlayback() {
  if (engine_) engine_->Stop();
  Host().StopPlayDisplay();
}

void PlaylistController::CloseSources() {
  StopPlayback();
  if (engine_) engine_->CloseFile();
  if (info_) info_->CloseFile();
  // Nothing is open any more: selecting the current entry again must reopen it.
  lastOpen_ = 0;
}

int PlaylistController::SeekTo(int32_t ms) { return engine_ ? engine_->Seek(ms) : 0; }

void PlaylistController::CommandPlayPause() {
  if (!engine_) return;
  retryFlag_ = 1;
  if (engine_->GetStatus() == kStopped)
    PlayEntry(-1);
  else
    TogglePause();
}

void PlaylistController::CommandStop() {
  if (!engine_) return;
  int status = engine_->GetStatus();
  if (Options().Resume && status != kStopped) Options().ResumeTime = engine_->GetPosition();
  retryFlag_ = 1;
  if (status == kStopped) engine_->CloseDevice();
  StopPlayback();
  if (Options().Shuffle) {
    ClearPlayedMarks();
    if (PlaylistEntry* current = list_.At(currentIndex_)) current->Played = 1;
  }
  if (Options().Resume) {
    // A stopped track keeps its position.
    SeekTo(Options().ResumeTime);
    Options().ResumeTime = 0;
  }
  Host().ResetPlayDisplay();
}

void PlaylistController::CommandNext() {
  if (!engine_) return;
  int i = NextIndex(0, 0);
  if (i == -1) return;
  retryFlag_ = 1;
  int status = engine_->GetStatus();
  SelectEntry(i);
  if (status != kStopped) PlayEntry(-1);
  Host().SelectViewRow(i);
}

void PlaylistController::CommandPrevious() {
  if (!engine_) return;
  int status = engine_->GetStatus();
  retryFlag_ = 1;
  if (!streamFlag_ && status != kStopped && engine_->GetPosition() > kRestartAfterMs) {
    SeekTo(0);
    return;
  }
  int i = PreviousIndex();
  if (i == -1) return;
  SelectEntry(i);
  if (status != kStopped) PlayEntry(-1);
  Host().SelectViewRow(i);
}

void PlaylistController::CommandRewind() {
  if (engine_) SeekTo(engine_->GetPosition() - kSkipMs);
}

void PlaylistController::CommandFastForward() {
  if (engine_) SeekTo(engine_->GetPosition() + kSkipMs);
}

void PlaylistController::CycleRepeat() {
  int& repeat = Options().Repeat;
  repeat = repeat == 0 ? 1 : (repeat == 1 ? 2 : 0);
  Host().ShowPlayModes();
}

void PlaylistController::SetRepeat(int mode) {
  Options().Repeat = mode;
  Host().ShowPlayModes();
}

void PlaylistController::ToggleShuffle() {
  Options().Shuffle = Options().Shuffle ? 0 : 1;
  if (Options().Shuffle) {
    random_.seed(tickCount_());
    if (PlaylistEntry* current = list_.At(currentIndex_)) current->Played = 1;
  } else {
    ClearPlayedMarks();
  }
  Host().ShowPlayModes();
}

void PlaylistController::OnPlaybackStopped(int error) {
  StopPlayback();
  if (Options().Repeat == 2) {
    if (error == 1) {
      CloseSources();
      SelectEntry(currentIndex_);
    } else {
      PlayEntry(-1);
    }
    return;
  }
  if (streamFlag_ == 1 && retryFlag_ == 1) {
    // A stream that ended right after a user command is reconnected once.
    PlayEntry(-1);
    retryFlag_ = 0;
    return;
  }
  retryFlag_ = 1;
  int i = NextIndex(1, error);
  if (i == -1) {
    Host().ResetPlayDisplay();
    SelectEntry(Options().Shuffle ? NextIndex(1, 0) : 0);
  } else if (error == 1) {
    SelectEntry(i);
  } else {
    PlayEntry(i);
  }
}

}  // namespace qv
