// The playlist on the real file system with the real engines under wine:
// a folder scan, the default playlist saved and loaded back, hand-written
// M3U and PLS files, and a save that cannot replace the old file.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "platform/files/wide_file.h"
#include "platform/text/utf16.h"
#include "tests/playlist/playlist_test_support.h"

namespace qv::test {
namespace {

std::u16string FixturePath(const std::string& name) {
  std::string p = std::string(QV_FIXTURES_DIR) + "/" + name;
  std::replace(p.begin(), p.end(), '/', '\\');
  return u"Z:" + FromUtf8(p);
}

std::string ReadAll(const std::u16string& path) {
  std::vector<uint8_t> bytes;
  ReadWholeFile(path, 1u << 20, bytes);
  return std::string(bytes.begin(), bytes.end());
}

void WriteAll(const std::u16string& path, const std::string& bytes) {
  WideFile f;
  ASSERT_TRUE(f.Open(path, FileMode::CreateAlways));
  ASSERT_EQ(f.Write(bytes.data(), bytes.size()), static_cast<int64_t>(bytes.size()));
}

class PlaylistOnDisk : public ::testing::Test {
 protected:
  void SetUp() override {
    wchar_t temp[MAX_PATH];
    ASSERT_GT(GetTempPathW(MAX_PATH, temp), 0u);
    root_ = AsU16(temp) + std::u16string(u"qv_playlist_") + FromUtf8(std::to_string(GetCurrentProcessId()));
    RemoveTree();
    ASSERT_TRUE(CreateDirectoryW(AsWide(root_.c_str()), nullptr));
    ASSERT_TRUE(CreateDirectoryW(AsWide((root_ + u"\\Sub").c_str()), nullptr));
    ASSERT_TRUE(CopyFileW(AsWide(FixturePath("pcm_s16_44k_stereo.wav").c_str()),
                          AsWide((root_ + u"\\Zulu.WAV").c_str()), FALSE));
    ASSERT_TRUE(CopyFileW(AsWide(FixturePath("pcm_s16_44k_mono.wav").c_str()),
                          AsWide((root_ + u"\\alpha.wav").c_str()), FALSE));
    ASSERT_TRUE(CopyFileW(AsWide(FixturePath("pcm_u8_22k_mono.wav").c_str()),
                          AsWide((root_ + u"\\Sub\\inner.wav").c_str()), FALSE));
    WriteAll(root_ + u"\\readme.txt", "not audio");

    engine_ = Engine_Create();
    info_ = Engine_Create();
    playback_ = std::make_unique<EngineHandlePort>(engine_);
    information_ = std::make_unique<EngineHandlePort>(info_);
    PlaylistServices services;
    services.engine = playback_.get();
    services.infoEngine = information_.get();
    services.options = &options;
    services.programPath = root_ + u"\\QuoviraPlayer.exe";
    playlist = std::make_unique<PlaylistController>(services);
  }

  void TearDown() override {
    playlist->CloseForExit();
    playlist.reset();
    Engine_Destroy(engine_);
    Engine_Destroy(info_);
    RemoveTree();
  }

  void RemoveTree() {
    std::u16string from = root_ + u'\0';  // a list of one path
    SHFILEOPSTRUCTW op{};
    op.wFunc = FO_DELETE;
    op.pFrom = AsWide(from.c_str());
    op.fFlags = FOF_NOCONFIRMATION | FOF_NOERRORUI | FOF_SILENT;
    SHFileOperationW(&op);
  }

  std::vector<std::u16string> Paths() const {
    std::vector<std::u16string> out;
    for (int i = 0; i < playlist->GetEntryCount(); ++i) out.push_back(playlist->GetEntry(i)->Path);
    return out;
  }

  std::u16string root_;
  EngineHandle engine_ = nullptr;
  EngineHandle info_ = nullptr;
  std::unique_ptr<EngineHandlePort> playback_;
  std::unique_ptr<EngineHandlePort> information_;
  MemorySettingsStore store;
  COptions options{store};
  std::unique_ptr<PlaylistController> playlist;
};

TEST_F(PlaylistOnDisk, ScanSaveAndLoadTheDefaultPlaylist) {
  options.SearchSubFolders = 1;
  playlist->ScanFolder(root_);
  ASSERT_EQ(Paths(), (std::vector<std::u16string>{root_ + u"\\alpha.wav", root_ + u"\\Zulu.WAV",
                                                  root_ + u"\\Sub\\inner.wav"}));
  EXPECT_EQ(playlist->GetEntry(0)->Track.DurationMs, 2000) << "read by the information engine";
  EXPECT_EQ(playlist->GetEntry(1)->Track.DurationMs, 3000);
  EXPECT_EQ(playlist->CurrentIndex(), 0);

  ASSERT_EQ(playlist->SaveDefaultPlaylist(), 1);
  std::u16string saved = playlist->GetDefaultPlaylistPath();
  EXPECT_EQ(saved, root_ + u"\\QuoviraPlayer.m3u");
  EXPECT_EQ(ReadAll(saved), "\xFF\xFE" + Utf16Le(u"#EXTM3U\r\n#EXTINF:2,alpha\r\nalpha.wav\r\n"
                                                 u"#EXTINF:3,Zulu\r\nZulu.WAV\r\n"
                                                 u"#EXTINF:2,inner\r\nSub\\inner.wav\r\n"));

  playlist->ClearPlaylist();
  playlist->LoadDefaultPlaylistAtStart();
  EXPECT_EQ(Paths(), (std::vector<std::u16string>{root_ + u"\\alpha.wav", root_ + u"\\Zulu.WAV",
                                                  root_ + u"\\Sub\\inner.wav"}));
  EXPECT_EQ(std::u16string(playlist->GetEntry(1)->Title), u"Zulu");
  EXPECT_EQ(playlist->CurrentIndex(), 0);
  EXPECT_EQ(Engine_GetSourceKind(engine_), static_cast<int>(SourceKind::Wave)) << "entry 0 is open";

  playlist->ClearPlaylist();
  ASSERT_EQ(playlist->SaveDefaultPlaylist(), 1);
  EXPECT_EQ(GetFileAttributesW(AsWide(saved.c_str())), INVALID_FILE_ATTRIBUTES) << "an empty playlist deletes it";
}

TEST_F(PlaylistOnDisk, HandWrittenUtf8M3uAndPls) {
  WriteAll(root_ + u"\\hand.m3u8", "\xEF\xBB\xBF#EXTM3U\n#EXTINF:99,Caf\xC3\xA9\nalpha.wav   \n\nSub\\inner.wav\n"
                                   "missing.wav\nhttp://radio.example/live\n");
  ASSERT_EQ(playlist->LoadPlaylistFile(root_ + u"\\hand.m3u8"), 1);
  EXPECT_EQ(Paths(), (std::vector<std::u16string>{root_ + u"\\alpha.wav", root_ + u"\\Sub\\inner.wav",
                                                  u"http://radio.example/live"}));
  EXPECT_EQ(std::u16string(playlist->GetEntry(0)->Title), u"Caf\u00e9");

  WriteAll(root_ + u"\\radio.pls", "[playlist]\r\nNumberOfEntries=2\r\nFile1=Zulu.WAV\r\nTitle1=Last letter\r\n"
                                   "File2=http://radio.example/live\r\nTitle2=Radio\r\n");
  ASSERT_EQ(playlist->LoadPlaylistFile(root_ + u"\\radio.pls"), 1);
  EXPECT_EQ(Paths(), (std::vector<std::u16string>{root_ + u"\\Zulu.WAV", u"http://radio.example/live"}));
  EXPECT_EQ(std::u16string(playlist->GetEntry(0)->Title), u"Last letter");
  EXPECT_EQ(std::u16string(playlist->GetEntry(1)->Title), u"Radio");

  // Plain 8-bit text in the ANSI code page.
  ASSERT_TRUE(CopyFileW(AsWide(FixturePath("pcm_s16_44k_mono.wav").c_str()),
                        AsWide((root_ + u"\\caf\u00e9.wav").c_str()), FALSE));
  WriteAll(root_ + u"\\ansi.m3u", "caf\xE9.wav\r\n");
  ASSERT_EQ(playlist->LoadPlaylistFile(root_ + u"\\ansi.m3u"), 1);
  EXPECT_EQ(Paths(), (std::vector<std::u16string>{root_ + u"\\caf\u00e9.wav"}));
}

TEST_F(PlaylistOnDisk, ASaveThatCannotReplaceKeepsTheOldFile) {
  playlist->ScanFolder(root_);
  ASSERT_EQ(playlist->GetEntryCount(), 2);
  std::u16string path = root_ + u"\\kept.m3u";
  WriteAll(path, "old contents");
  // Opened without sharing: nothing can replace it while it is open.
  HANDLE held = CreateFileW(AsWide(path.c_str()), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(held, INVALID_HANDLE_VALUE);
  EXPECT_EQ(playlist->SavePlaylistFile(path), 0);
  CloseHandle(held);
  EXPECT_EQ(ReadAll(path), "old contents");
  WIN32_FIND_DATAW found;
  HANDLE find = FindFirstFileW(AsWide((root_ + u"\\~qv*").c_str()), &found);
  EXPECT_EQ(find, INVALID_HANDLE_VALUE) << "no temporary file is left behind";
  if (find != INVALID_HANDLE_VALUE) FindClose(find);
  EXPECT_EQ(playlist->SavePlaylistFile(path), 1);
  EXPECT_EQ(ReadAll(path).substr(0, 2), "\xFF\xFE");
}

}  // namespace
}  // namespace qv::test
