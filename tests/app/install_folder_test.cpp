// The installation folder from the registry and the control layer path.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/shell/install_folder.h"
#include "options/memory_settings_store.h"

namespace qv {
namespace {

class InstallFolderTest : public ::testing::Test {
 protected:
  void Store(uint32_t type, const std::vector<char16_t>& units) {
    std::unique_ptr<SettingsKey> key;
    ASSERT_EQ(store_.Create(SettingsRoot::LocalMachine, kAppPathsKey, key), kSettingsOk);
    ASSERT_EQ(key->Set(u"Path", type, units.data(), static_cast<uint32_t>(units.size() * 2)), kSettingsOk);
  }
  static std::vector<char16_t> Units(const std::u16string& text, bool terminator) {
    std::vector<char16_t> v(text.begin(), text.end());
    if (terminator) v.push_back(0);
    return v;
  }
  MemorySettingsStore store_;
};

TEST_F(InstallFolderTest, MissingKeyOrValueMeansTheCurrentFolderAndCreatesNothing) {
  InstallFolder f = ReadInstallFolder(store_);
  EXPECT_TRUE(f.usable);
  EXPECT_EQ(f.folder, u"");
  EXPECT_EQ(ControlLayerFile(f), u"skin.ini");
  EXPECT_FALSE(store_.KeyExists(SettingsRoot::LocalMachine, kAppPathsKey));
}

TEST_F(InstallFolderTest, FolderGetsItsSeparator) {
  Store(kRegSz, Units(u"C:\\Program Files\\QuoviraPlayer\\", true));
  EXPECT_EQ(ControlLayerFile(ReadInstallFolder(store_)), u"C:\\Program Files\\QuoviraPlayer\\skin.ini");
  Store(kRegSz, Units(u"C:\\Players\\Q", true));
  EXPECT_EQ(ControlLayerFile(ReadInstallFolder(store_)), u"C:\\Players\\Q\\skin.ini");
}

TEST_F(InstallFolderTest, TextWithoutTerminatorIsTerminatedWhereItEnds) {
  Store(kRegSz, Units(u"D:\\Q\\", false));
  EXPECT_EQ(ControlLayerFile(ReadInstallFolder(store_)), u"D:\\Q\\skin.ini");
  // Anything after an embedded terminator is not part of the folder.
  std::vector<char16_t> units = Units(u"E:\\Q\\", true);
  for (char16_t c : std::u16string(u"junk")) units.push_back(c);
  Store(kRegSz, units);
  EXPECT_EQ(ControlLayerFile(ReadInstallFolder(store_)), u"E:\\Q\\skin.ini");
}

TEST_F(InstallFolderTest, FolderAtTheLimitStillFitsButLongerOnesGiveNoFile) {
  // 520 bytes without terminator: read whole, but with "skin.ini" it no
  // longer fits a path, so the file counts as missing.
  std::u16string full(259, u'a');
  full += u'\\';
  Store(kRegSz, Units(full, false));
  InstallFolder f = ReadInstallFolder(store_);
  EXPECT_TRUE(f.usable);
  EXPECT_EQ(f.folder, full);
  EXPECT_EQ(ControlLayerFile(f), u"");
  // Longer than the value may be: unusable, never cut.
  Store(kRegSz, Units(std::u16string(300, u'b'), true));
  f = ReadInstallFolder(store_);
  EXPECT_FALSE(f.usable);
  EXPECT_EQ(ControlLayerFile(f), u"");
  // Short enough for the path: the file's path.
  std::u16string folder(240, u'c');
  folder += u'\\';
  Store(kRegSz, Units(folder, true));
  EXPECT_EQ(ControlLayerFile(ReadInstallFolder(store_)), folder + u"skin.ini");
}

TEST_F(InstallFolderTest, OddByteCountDropsTheHalfUnit) {
  std::unique_ptr<SettingsKey> key;
  ASSERT_EQ(store_.Create(SettingsRoot::LocalMachine, kAppPathsKey, key), kSettingsOk);
  const char16_t text[] = u"F:\\Q\\";
  ASSERT_EQ(key->Set(u"Path", kRegSz, text, 11), kSettingsOk);  // five units and a half
  EXPECT_EQ(ControlLayerFile(ReadInstallFolder(store_)), u"F:\\Q\\skin.ini");
}

}  // namespace
}  // namespace qv
