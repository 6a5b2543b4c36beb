// The playlist with its play order, as the main window runs it: the entries,
// the current index, adding (files, folders, addresses, drops, playlist
// files), the transport commands and the end-of-track rules, playlist files,
// and the playlist's part of start-up and exit. CMainWnd keeps one and
// forwards its playlist operations to it. Everything runs on the window's
// thread.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "options/options.h"
#include "playlist/engine_port.h"
#include "playlist/file_system.h"
#include "playlist/playlist.h"
#include "playlist/playlist_host.h"

namespace qv {

struct PlaylistServices {
  EnginePort* engine = nullptr;      // plays; null when it could not be made
  EnginePort* infoEngine = nullptr;  // reads the track information of new entries
  PlaylistFileSystem* files = nullptr;  // null: the system's
  PlaylistHost* host = nullptr;         // null: nothing to show
  COptions* options = nullptr;          // null: defaults of its own
  std::function<uint32_t()> tickCount;
  std::u16string programPath;        // the program file, for the default playlists
};

class PlaylistController {
 public:
  explicit PlaylistController(const PlaylistServices& services);
  ~PlaylistController();
  PlaylistController(const PlaylistController&) = delete;
  PlaylistController& operator=(const PlaylistController&) = delete;

  // List.
  int GetEntryCount() const { return list_.Count(); }
  PlaylistEntry* GetEntry(int index) const { return list_.At(index); }
  // 1 added, 0 refused (no playback engine, a path that does not fit, already
  // listed, the list full, a missing file or a folder). An empty title means
  // none: the file's tags are read instead.
  int AddEntry(std::u16string_view path, std::u16string_view title = {});
  int RemoveEntry(int index);
  void ClearPlaylist();
  int MoveEntryUp(int index);
  int MoveEntryDown(int index);
  int MoveEntryUpTo(int from, int to);
  int MoveEntryDownTo(int from, int to);
  // key 0: by file name, 1: by full path; both ignoring case.
  void SortPlaylist(int key);
  int IsListed(std::u16string_view path);

  // Play order and transport.
  int NextIndex(int automatic, int stopAtEnd);
  int PreviousIndex() const;
  void ClearPlayedMarks();
  int SelectEntry(int index);
  int PlayEntry(int index);
  void SelectFirstIfNone();
  void TogglePause();
  void StopPlayback();
  void CloseSources();
  int SeekTo(int32_t ms);

  // Queries. out holds kPathChars (GetEntryText) or kTimeTextChars units.
  int GetEntryText(int index, char16_t* out);
  int GetEntryTimeText(int index, char16_t* out) const;
  int IsPlayablePath(std::u16string_view path);

  // Adding.
  void ScanFolder(std::u16string_view folder);
  // The open dialog's answer: a folder with the chosen names, or one file
  // (names empty). Not adding empties the playlist first. 0 when a single
  // file is neither a playlist nor an audio file.
  int OpenChosenFiles(int add, std::u16string_view chosen, const std::vector<std::u16string>& names);
  // The open dialog's filter with every type, built on first use.
  const std::u16string& OpenFilter();
  // The one file dialog at a time: false while one is open.
  bool BeginFileDialog();
  void EndFileDialog() { fileDialogOpen_ = false; }
  // Dropped files and command-line names, then play what the drop asks for.
  void DropItems(std::vector<std::u16string> paths);

  // Commands of the main window.
  void CommandPlayPause();
  void CommandStop();
  void CommandPrevious();
  void CommandNext();
  void CommandRewind();
  void CommandFastForward();
  void CycleRepeat();
  void SetRepeat(int mode);
  void ToggleShuffle();
  void AddUrl(std::u16string_view url);
  void AddFolder(std::u16string_view folder);
  // WM_ENGINE_STATUS with status Stopped; error is its lParam.
  void OnPlaybackStopped(int error);

  // Playlist files.
  int LoadPlaylistFile(std::u16string_view path);
  // 1 only when everything succeeded; an empty playlist removes the file.
  int SavePlaylistFile(std::u16string_view path);
  int WriteM3u(std::u16string_view path);
  int ReadM3u(std::u16string_view path);
  int ReadPls(std::u16string_view path);
  int AddRelativeEntry(std::u16string_view folder, std::u16string_view location, std::u16string_view title);
  std::u16string GetDefaultPlaylistPath() const;
  std::u16string GetRadioPlaylistPath() const;

  // Start-up without command-line files: the default playlist, then the
  // resumed or the first entry, opened but not played.
  void LoadDefaultPlaylistAtStart();
  // Exit, before the options are saved: the resume point, the sources and
  // the device closed; then the default playlist saved.
  void StoreResumePoint();
  void CloseForExit();
  int SaveDefaultPlaylist();

  // State.
  int CurrentIndex() const { return currentIndex_; }
  int StreamFlag() const { return streamFlag_; }
  int RetryFlag() const { return retryFlag_; }
  int LastOpenResult() const { return lastOpen_; }

 private:
  class WaitCursor;
  bool SwapEntries(int a, int b);
  void ApplyEngineOptions();
  void Refresh();
  PlaylistHost& Host() { return *host_; }
  COptions& Options() { return *options_; }
  void ReadItems(std::u16string_view path, bool pls, int& result);

  EnginePort* engine_;
  EnginePort* info_;
  PlaylistFileSystem* files_;
  PlaylistHost defaultHost_;
  PlaylistHost* host_;
  std::unique_ptr<COptions> ownOptions_;
  COptions* options_;
  std::function<uint32_t()> tickCount_;
  std::u16string programPath_;

  Playlist list_;
  int currentIndex_ = -1;
  int streamFlag_ = 0;
  int retryFlag_ = 0;
  int lastOpen_ = 0;
  int dropMark_ = 0;
  int dropIndex_ = 0;
  bool fileDialogOpen_ = false;
  std::u16string openFilter_;
  // Set while the default playlist loads at start-up: adding must not open
  // entry 0 (loading clears the playlist, so the current index cannot serve).
  bool holdSelection_ = false;
  int waitDepth_ = 0;
  std::minstd_rand random_;
};

}  // namespace qv
