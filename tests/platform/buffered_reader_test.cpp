// The buffered reader gives what the file holds, wherever reads and seeks
// fall against its buffer.
#include "platform/files/buffered_reader.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <ostream>
#include <string>
#include <vector>

#include "platform/text/utf16.h"

namespace qv {
namespace {

constexpr size_t kCapacity = 64;

struct Step {
  int64_t seekTo;  // -1: no seek before the read
  size_t readBytes;
};

struct ReadCase {
  const char* name;
  std::vector<Step> steps;
};

void PrintTo(const ReadCase& c, std::ostream* os) { *os << c.name; }

class BufferedReaderTest : public ::testing::TestWithParam<ReadCase> {
 protected:
  void SetUp() override {
    for (size_t i = 0; i < 1000; ++i) content_.push_back(static_cast<uint8_t>(i * 37 + 11));
    name_ = std::u16string(u"qv_buffered_") + FromUtf8(GetParam().name) + u".bin";
    WideFile f;
    ASSERT_TRUE(f.Open(name_, FileMode::CreateAlways));
    ASSERT_EQ(f.Write(content_.data(), content_.size()), int64_t(content_.size()));
  }
  void TearDown() override { std::remove(ToUtf8(name_).c_str()); }

  std::vector<uint8_t> content_;
  std::u16string name_;
};

TEST_P(BufferedReaderTest, ReadsWhatTheFileHoldsAtEveryPosition) {
  WideFile file;
  ASSERT_TRUE(file.Open(name_, FileMode::Read));
  BufferedReader reader(file, kCapacity);
  EXPECT_EQ(reader.Size(), 1000);
  int64_t at = 0;
  for (const Step& step : GetParam().steps) {
    if (step.seekTo >= 0) {
      ASSERT_TRUE(reader.Seek(step.seekTo));
      at = step.seekTo;
    }
    ASSERT_EQ(reader.Tell(), at);
    std::vector<uint8_t> got(step.readBytes + 1, 0xEE);
    const int64_t n = reader.Read(got.data(), step.readBytes);
    const int64_t want = std::min<int64_t>(int64_t(step.readBytes), std::max<int64_t>(1000 - at, 0));
    ASSERT_EQ(n, want) << "read of " << step.readBytes << " at " << at;
    for (int64_t i = 0; i < n; ++i) ASSERT_EQ(got[i], content_[at + i]) << "byte " << at + i;
    EXPECT_EQ(got[n], 0xEE);  // nothing written past what was read
    at += n;
    EXPECT_EQ(reader.Tell(), at);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Patterns, BufferedReaderTest,
    ::testing::Values(
        ReadCase{"small_reads_through_the_file", {{-1, 7}, {-1, 7}, {-1, 50}, {-1, 1}, {-1, 63}, {-1, 64}, {-1, 65}}},
        ReadCase{"reads_as_large_as_the_buffer_skip_it", {{-1, 3}, {-1, 200}, {-1, 64}, {-1, 5}}},
        ReadCase{"seeks_inside_the_buffer", {{-1, 10}, {2, 5}, {60, 4}, {64, 3}, {0, 64}}},
        ReadCase{"seeks_outside_and_back", {{-1, 10}, {500, 10}, {495, 20}, {5, 10}, {900, 30}}},
        ReadCase{"reads_at_and_past_the_end", {{990, 64}, {-1, 5}, {1000, 1}, {400, 2000}, {-1, 3}}}));

TEST(BufferedReader, ANegativeSeekFailsAndAClosedFileFailsTheRead) {
  const std::u16string name = u"qv_buffered_closed.bin";
  {
    WideFile f;
    ASSERT_TRUE(f.Open(name, FileMode::CreateAlways));
    ASSERT_EQ(f.Write("abcdef", 6), 6);
  }
  WideFile file;
  ASSERT_TRUE(file.Open(name, FileMode::Read));
  BufferedReader reader(file, kCapacity);
  EXPECT_FALSE(reader.Seek(-1));
  char c = 0;
  EXPECT_EQ(reader.Read(&c, 1), 1);
  EXPECT_EQ(c, 'a');
  reader.File().Close();
  // What is buffered is still there; past it the closed file fails the read.
  char rest[5] = {};
  EXPECT_EQ(reader.Read(rest, 5), 5);
  EXPECT_EQ(reader.Read(rest, 1), -1);
  std::remove(ToUtf8(name).c_str());
}

}  // namespace
}  // namespace qv
