// A playlist wired to doubles: two fake engines, a file system in memory, a
// host that logs what it was asked to show, and options in memory.
#pragma once

#include <memory>
#include <string>
#include <vector>

#include "options/memory_settings_store.h"
#include "options/options.h"
#include "playlist/playlist_controller.h"
#include "tests/playlist/fake_engine.h"
#include "tests/playlist/memory_file_system.h"

namespace qv::test {

class RecordingHost : public PlaylistHost {
 public:
  void ShowWaitCursor(bool on) override { events.push_back(on ? "wait on" : "wait off"); }
  void Refresh() override { events.push_back("refresh"); }
  void RepaintMain() override { events.push_back("repaint main"); }
  void RepaintView() override { events.push_back("repaint view"); }
  void ClearViewSelection() override { events.push_back("clear selection"); }
  void SelectViewRow(int index) override { events.push_back("select row " + std::to_string(index)); }
  void ResetPlayDisplay() override { events.push_back("reset display"); }
  void ShowPlayDisplay(bool stream) override { events.push_back(stream ? "show stream" : "show file"); }
  void StopPlayDisplay() override { events.push_back("stop display"); }
  void StartPlayDisplay() override { events.push_back("start display"); }
  void ShowPauseState() override { events.push_back("pause state"); }
  void ShowPlayModes() override { events.push_back("play modes"); }
  int Count(const std::string& event) const;

  std::vector<std::string> events;
};

class PlaylistRig {
 public:
  explicit PlaylistRig(bool withEngine = true);

  // Adds files that exist and open, named C:\Music\<name>.
  void AddSongs(const std::vector<std::u16string>& names);
  std::u16string SongPath(const std::u16string& name) const { return u"C:\\Music\\" + name; }
  std::vector<std::u16string> Paths() const;
  std::u16string EntryText(int index);

  MemorySettingsStore store;
  COptions options{store};
  FakeEngine engine;
  FakeEngine info;
  MemoryFileSystem files;
  RecordingHost host;
  uint32_t tick = 1234;
  std::unique_ptr<PlaylistController> playlist;
};

// Bytes of a text in UTF-16LE without a mark.
std::string Utf16Le(std::u16string_view text);

}  // namespace qv::test
