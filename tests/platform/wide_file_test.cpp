#include <gtest/gtest.h>

#include <cstdio>
#include <string>

#include "platform/files/wide_file.h"
#include "platform/text/utf16.h"

namespace qv {
namespace {

// A name with characters outside Latin-1 in the working folder of the test.
std::u16string TempName(const char16_t* stem) {
  return std::u16string(u"qv_\uD55C\u00E9_") + stem + u".bin";
}

TEST(WideFile, WritesReadsSeeksAndSizesByUnicodeName) {
  const std::u16string name = TempName(u"rw");
  {
    WideFile f;
    ASSERT_TRUE(f.Open(name, FileMode::CreateAlways));
    EXPECT_EQ(f.Write("0123456789", 10), 10);
    EXPECT_EQ(f.Size(), 10);
  }
  EXPECT_TRUE(WideFileExists(name));
  WideFile f;
  ASSERT_TRUE(f.Open(name, FileMode::Read));
  char buf[8] = {};
  ASSERT_TRUE(f.Seek(6));
  EXPECT_EQ(f.Tell(), 6);
  EXPECT_EQ(f.Read(buf, sizeof buf), 4);
  EXPECT_EQ(std::string(buf, 4), "6789");
  EXPECT_EQ(f.Read(buf, sizeof buf), 0);  // end of file
  EXPECT_FALSE(f.Seek(-1));
  EXPECT_EQ(f.Write("x", 1), -1);  // opened for reading only
  f.Close();
  EXPECT_EQ(f.Read(buf, 1), -1);
  std::remove(ToUtf8(name).c_str());
}

TEST(WideFile, RefusesMissingFilesFoldersAndEmptyNames) {
  WideFile f;
  EXPECT_FALSE(f.Open(u"qv_no_such_file.bin", FileMode::Read));
  EXPECT_FALSE(f.Open(u"", FileMode::Read));
  EXPECT_FALSE(f.Open(u".", FileMode::Read));
  EXPECT_FALSE(f.IsOpen());
  EXPECT_FALSE(WideFileExists(u"."));
}

TEST(WideFile, ReadWholeFileHonoursTheLimit) {
  const std::u16string name = TempName(u"whole");
  {
    WideFile f;
    ASSERT_TRUE(f.Open(name, FileMode::CreateAlways));
    ASSERT_EQ(f.Write("abcdef", 6), 6);
  }
  std::vector<uint8_t> data;
  ASSERT_TRUE(ReadWholeFile(name, 6, data));
  EXPECT_EQ(std::string(data.begin(), data.end()), "abcdef");
  EXPECT_FALSE(ReadWholeFile(name, 5, data));
  EXPECT_FALSE(ReadWholeFile(u"qv_no_such_file.bin", 100, data));
  std::remove(ToUtf8(name).c_str());
}

}  // namespace
}  // namespace qv
