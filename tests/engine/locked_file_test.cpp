#include <gtest/gtest.h>

#include "engine/locked_file.h"
#include "tests/engine/engine_test_support.h"

namespace qv::test {
namespace {

TEST(LockedFile, ReadsAndSeeksFromEachOrigin) {
  Bytes bytes(1000);
  for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = uint8_t(i);
  ASSERT_TRUE(WriteBytes(TempPath("locked.bin"), bytes));
  LockedFile file;
  uint8_t buffer[16];
  size_t got = 99;
  EXPECT_FALSE(file.Read(buffer, 4, &got)) << "closed";
  EXPECT_EQ(got, 0u);
  EXPECT_EQ(file.Seek(0, LockedFile::Origin::Begin), LockedFile::kClosedPosition);
  ASSERT_TRUE(file.Open(TempPath("locked.bin")));
  EXPECT_EQ(file.Size(), 1000);
  EXPECT_EQ(file.Seek(10, LockedFile::Origin::Begin), 10);
  EXPECT_EQ(file.Seek(5, LockedFile::Origin::Current), 15);
  ASSERT_TRUE(file.Read(buffer, 4, &got));
  EXPECT_EQ(got, 4u);
  EXPECT_EQ(buffer[0], 15);
  EXPECT_EQ(file.Seek(-4, LockedFile::Origin::End), 996);
  ASSERT_TRUE(file.Read(buffer, 16, &got));
  EXPECT_EQ(got, 4u);
  EXPECT_EQ(buffer[3], uint8_t(999));
  ASSERT_TRUE(file.Read(buffer, 16, &got));
  EXPECT_EQ(got, 0u) << "the end of the file is no error";
  EXPECT_EQ(file.Seek(-2000, LockedFile::Origin::Current), LockedFile::kClosedPosition);
  EXPECT_EQ(file.Seek(INT64_MAX, LockedFile::Origin::End), LockedFile::kClosedPosition);
  file.Close();
  EXPECT_FALSE(file.IsOpen());
  EXPECT_FALSE(file.Open(TempPath("missing.bin")));
}

}  // namespace
}  // namespace qv::test
