// Opening and closing sources.
#include "engine/player_engine.h"

namespace qv {

bool PlayerEngine::OpenFile(const char16_t* path) {
  CountedLockGuard api(apiLock_);
  CloseFile();
  if (!path) return false;
  leadingCut_.store(true);
  const SourceKind kind = KindForExtension(PathExtension(path));
  const SourceOps* ops = SourceOpsFor(kind);
  if (!ops || !ops->open(*this, path)) {
    state_.reset();
    currentPath_.clear();
    return false;
  }
  ops_ = ops;
  kind_ = kind;
  return true;
}

// There is no network stream reader yet, which is the case of a reader that
// could not be created: the previous source is closed and the open fails.
bool PlayerEngine::OpenStream(const char16_t* /*url*/) {
  CountedLockGuard api(apiLock_);
  CloseFile();
  return false;
}

void PlayerEngine::CloseFile() {
  CountedLockGuard api(apiLock_);
  Stop();
  if (ops_) {
    CountedLockGuard decode(decodeLock_);
    ops_->close(*this);
  }
  file_.Close();
  state_.reset();
  ops_ = nullptr;
  kind_ = SourceKind::None;
  format_ = StreamFormat{};
  totalFrames_ = 0;
  bits_ = 16;
  currentPath_.clear();
}

}  // namespace qv
