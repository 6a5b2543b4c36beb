// The native file system: listings with links, safe replacement, removal,
// and a folder scan on disk that meets a link back up the tree.
#include <gtest/gtest.h>

#include <dirent.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <fstream>
#include <string>

#include "platform/text/utf16.h"
#include "tests/playlist/playlist_test_support.h"

namespace qv::test {
namespace {

class PosixFiles : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/qv_playlist_XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    root_ = pattern;
  }
  void TearDown() override { std::system(("rm -rf '" + root_ + "'").c_str()); }

  void Write(const std::string& relative, const std::string& bytes = "x") {
    std::ofstream(root_ + "/" + relative, std::ios::binary) << bytes;
  }
  // The core's spelling of a path under the root: "\" for "/".
  std::u16string Core(const std::string& relative = "") const {
    std::string p = relative.empty() ? root_ : root_ + "/" + relative;
    for (char& c : p)
      if (c == '/') c = '\\';
    return FromUtf8(p);
  }
  std::vector<std::string> Names() const {
    std::vector<std::string> names;
    DIR* d = opendir(root_.c_str());
    while (dirent* e = readdir(d)) names.push_back(e->d_name);
    closedir(d);
    return names;
  }

  std::string root_;
  PlaylistFileSystem& files = SystemPlaylistFileSystem();
};

TEST_F(PosixFiles, InspectsAndListsWithLinksMarked) {
  Write("a.mp3");
  mkdir((root_ + "/sub").c_str(), 0755);
  ASSERT_EQ(symlink("..", (root_ + "/sub/up").c_str()), 0);
  EXPECT_EQ(files.Inspect(Core("a.mp3")), PathKind::File);
  EXPECT_EQ(files.Inspect(Core("sub")), PathKind::Folder);
  EXPECT_EQ(files.Inspect(Core("none")), PathKind::Missing);

  std::vector<FolderItem> items;
  ASSERT_TRUE(files.List(Core("sub"), items));
  bool sawLink = false;
  for (const FolderItem& i : items) {
    if (i.name == u"up") {
      sawLink = true;
      EXPECT_TRUE(i.folder);
      EXPECT_TRUE(i.reparsePoint);
    }
  }
  EXPECT_TRUE(sawLink);
  EXPECT_FALSE(files.List(Core("none"), items));
}

TEST_F(PosixFiles, ReplacesOnlyAfterACompleteWriteAndLeavesNoTemporaryFile) {
  Write("list.m3u", "old");
  std::vector<uint8_t> bytes = {'n', 'e', 'w'};
  ASSERT_TRUE(files.ReplaceFile(Core("list.m3u"), bytes));
  std::vector<uint8_t> read;
  ASSERT_TRUE(files.ReadFile(Core("list.m3u"), 100, read));
  EXPECT_EQ(read, bytes);
  EXPECT_EQ(Names().size(), 3u) << ". .. list.m3u";

  EXPECT_FALSE(files.ReplaceFile(Core("missing/list.m3u"), bytes));
  mkdir((root_ + "/folder").c_str(), 0755);
  EXPECT_FALSE(files.ReplaceFile(Core("folder"), bytes)) << "a folder is not replaced by a file";
  EXPECT_EQ(files.Inspect(Core("folder")), PathKind::Folder);
  EXPECT_EQ(Names().size(), 4u) << "the temporary file went away";
  EXPECT_FALSE(files.ReadFile(Core("list.m3u"), 2, read)) << "larger than allowed";
}

TEST_F(PosixFiles, RemovesFilesButNotFolders) {
  Write("a.m3u");
  EXPECT_TRUE(files.RemoveFile(Core("a.m3u")));
  EXPECT_TRUE(files.RemoveFile(Core("a.m3u"))) << "already gone";
  mkdir((root_ + "/folder").c_str(), 0755);
  EXPECT_FALSE(files.RemoveFile(Core("folder")));
}

TEST_F(PosixFiles, AScanDoesNotFollowALinkBackUpTheTree) {
  mkdir((root_ + "/sub").c_str(), 0755);
  Write("b.mp3");
  Write("sub/a.mp3");
  ASSERT_EQ(symlink("..", (root_ + "/sub/loop").c_str()), 0);
  ASSERT_EQ(symlink((root_ + "/b.mp3").c_str(), (root_ + "/sub/linked.mp3").c_str()), 0);

  MemorySettingsStore store;
  COptions options(store);
  options.SearchSubFolders = 1;
  FakeEngine engine;
  PlaylistServices services;
  services.engine = &engine;
  services.options = &options;
  PlaylistController playlist(services);
  playlist.ScanFolder(Core());
  std::vector<std::u16string> paths;
  for (int i = 0; i < playlist.GetEntryCount(); ++i) paths.push_back(playlist.GetEntry(i)->Path);
  EXPECT_EQ(paths, (std::vector<std::u16string>{Core("b.mp3"), Core("sub/a.mp3"), Core("sub/linked.mp3")}))
      << "a linked file is added; the linked folder is not entered";
}

TEST_F(PosixFiles, SavesAndLoadsAPlaylistOnDisk) {
  Write("one.mp3");
  mkdir((root_ + "/sub").c_str(), 0755);
  Write("sub/two.ogg");
  MemorySettingsStore store;
  COptions options(store);
  FakeEngine engine;
  PlaylistServices services;
  services.engine = &engine;
  services.options = &options;
  PlaylistController playlist(services);
  ASSERT_EQ(playlist.AddEntry(Core("one.mp3")), 1);
  ASSERT_EQ(playlist.AddEntry(Core("sub/two.ogg")), 1);
  ASSERT_EQ(playlist.SavePlaylistFile(Core("list.m3u")), 1);
  std::ifstream in(root_ + "/list.m3u", std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  EXPECT_EQ(bytes, "\xFF\xFE" + Utf16Le(u"#EXTM3U\r\n#EXTINF:-1,one\r\none.mp3\r\n#EXTINF:-1,two\r\nsub\\two.ogg\r\n"));

  playlist.ClearPlaylist();
  ASSERT_EQ(playlist.LoadPlaylistFile(Core("list.m3u")), 1);
  EXPECT_EQ(playlist.GetEntryCount(), 2);
  ASSERT_EQ(playlist.SavePlaylistFile(Core("list.m3u")), 1);
  playlist.ClearPlaylist();
  ASSERT_EQ(playlist.SavePlaylistFile(Core("list.m3u")), 1);
  struct stat st;
  EXPECT_NE(stat((root_ + "/list.m3u").c_str(), &st), 0) << "an empty playlist leaves no file";
}

}  // namespace
}  // namespace qv::test
