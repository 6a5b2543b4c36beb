// The virtual device's two ways of recording what it played: keeping the
// bytes, or only counting them.
#include "platform/audio/virtual_wave_out.h"

#include <gtest/gtest.h>

#include <atomic>
#include <ostream>
#include <vector>

#include "output_test_support.h"

namespace qv {
namespace {

struct KeepCase {
  VirtualWaveOut::Keep keep;
  bool keepsBytes;
};

std::ostream& operator<<(std::ostream& os, const KeepCase& c) {
  return os << (c.keep == VirtualWaveOut::Keep::Bytes ? "Bytes" : "CountOnly");
}

class VirtualDeviceKeep : public ::testing::TestWithParam<KeepCase> {};

void CountDone(void* context, WaveBlock*) { static_cast<std::atomic<int>*>(context)->fetch_add(1); }

TEST_P(VirtualDeviceKeep, CountsEveryBytePlayedAndKeepsThemOnlyWhenAsked) {
  VirtualWaveOut device(VirtualWaveOut::Pace::Instant, GetParam().keep);
  std::atomic<int> done{0};
  ASSERT_EQ(device.Open(PcmFormat::Make(2, 44100, 16), CountDone, &done), WaveResult::Ok);
  // Three blocks of different lengths, written back to back.
  const std::vector<uint32_t> lengths = {4000, 1200, 396};
  std::vector<std::vector<uint8_t>> data;
  std::vector<WaveBlock> blocks(lengths.size());
  std::vector<uint8_t> all;
  for (size_t i = 0; i < lengths.size(); ++i) {
    data.push_back(test::NonZeroPattern(lengths[i], static_cast<uint8_t>(7 * i)));
    all.insert(all.end(), data[i].begin(), data[i].end());
    blocks[i].data = data[i].data();
    blocks[i].bufferLength = blocks[i].bytesRecorded = lengths[i];
    ASSERT_TRUE(device.Prepare(&blocks[i]));
  }
  for (WaveBlock& block : blocks) ASSERT_TRUE(device.Write(&block));
  ASSERT_TRUE(device.WaitForPlayed(all.size(), test::kPatience));
  ASSERT_TRUE(device.WaitUntilIdle(test::kPatience));

  EXPECT_EQ(done.load(), 3);
  EXPECT_EQ(device.PlayedBytes(), all.size());
  EXPECT_EQ(device.PositionSamples(), all.size() / 4);
  EXPECT_EQ(device.Played(), GetParam().keepsBytes ? all : std::vector<uint8_t>{});
  // The count goes on across a reset and a second open; the position restarts.
  ASSERT_TRUE(device.Reset());
  for (WaveBlock& block : blocks) ASSERT_TRUE(device.Unprepare(&block));
  ASSERT_TRUE(device.Close());
  ASSERT_EQ(device.Open(PcmFormat::Make(2, 44100, 16), CountDone, &done), WaveResult::Ok);
  ASSERT_TRUE(device.Prepare(&blocks[0]));
  ASSERT_TRUE(device.Write(&blocks[0]));
  ASSERT_TRUE(device.WaitForPlayed(all.size() + lengths[0], test::kPatience));
  ASSERT_TRUE(device.WaitUntilIdle(test::kPatience));
  EXPECT_EQ(device.PlayedBytes(), all.size() + lengths[0]);
  EXPECT_EQ(device.PositionSamples(), lengths[0] / 4);
  EXPECT_EQ(device.Played().size(), GetParam().keepsBytes ? all.size() + lengths[0] : 0u);
  ASSERT_TRUE(device.Unprepare(&blocks[0]));
  ASSERT_TRUE(device.Close());
}

TEST_P(VirtualDeviceKeep, WaitForPlayedTimesOutShortOfTheCount) {
  VirtualWaveOut device(VirtualWaveOut::Pace::Instant, GetParam().keep);
  std::atomic<int> done{0};
  ASSERT_EQ(device.Open(PcmFormat::Make(1, 8000, 8), CountDone, &done), WaveResult::Ok);
  std::vector<uint8_t> data = test::NonZeroPattern(100);
  WaveBlock block;
  block.data = data.data();
  block.bufferLength = block.bytesRecorded = 100;
  ASSERT_TRUE(device.Prepare(&block));
  ASSERT_TRUE(device.Write(&block));
  EXPECT_TRUE(device.WaitForPlayed(100, test::kPatience));
  EXPECT_FALSE(device.WaitForPlayed(101, std::chrono::milliseconds(20)));
  ASSERT_TRUE(device.WaitUntilIdle(test::kPatience));
  ASSERT_TRUE(device.Unprepare(&block));
  ASSERT_TRUE(device.Close());
}

// A paced device cannot play a second of audio in 50 ms whatever the load;
// switched to instant play, it plays the rest without waiting.
TEST(VirtualDevicePace, SwitchingToInstantPlaysTheRestAtOnce) {
  VirtualWaveOut device(VirtualWaveOut::Pace::RealTime, VirtualWaveOut::Keep::Bytes);
  std::atomic<int> done{0};
  ASSERT_EQ(device.Open(PcmFormat::Make(2, 44100, 16), CountDone, &done), WaveResult::Ok);
  std::vector<uint8_t> data = test::NonZeroPattern(44100 * 4);
  WaveBlock block;
  block.data = data.data();
  block.bufferLength = block.bytesRecorded = static_cast<uint32_t>(data.size());
  ASSERT_TRUE(device.Prepare(&block));
  ASSERT_TRUE(device.Write(&block));
  EXPECT_FALSE(device.WaitForPlayed(data.size(), std::chrono::milliseconds(50)));
  device.SetPace(VirtualWaveOut::Pace::Instant);
  ASSERT_TRUE(device.WaitForPlayed(data.size(), test::kPatience));
  ASSERT_TRUE(device.WaitUntilIdle(test::kPatience));
  EXPECT_EQ(device.Played(), data);  // no slice lost or doubled by the switch
  EXPECT_EQ(done.load(), 1);
  ASSERT_TRUE(device.Unprepare(&block));
  ASSERT_TRUE(device.Close());
}

INSTANTIATE_TEST_SUITE_P(Modes, VirtualDeviceKeep,
                         ::testing::Values(KeepCase{VirtualWaveOut::Keep::Bytes, true},
                                           KeepCase{VirtualWaveOut::Keep::CountOnly, false}));

}  // namespace
}  // namespace qv
