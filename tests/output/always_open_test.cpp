// Always-open mode: the device stays open and an output thread feeds it from
// the ring, writing silence whenever there is nothing to play.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <ostream>

#include "engine/output/output_device.h"
#include "output_test_support.h"
#include "platform/audio/virtual_wave_out.h"

namespace qv {
namespace {

using namespace std::chrono_literals;
using test::NonZeroPattern;
using test::Sample16At;
using test::Samples16;
using test::SubmitAll;
using test::WaitUntil;
using test::WithoutZeroBytes;

constexpr uint64_t kDeviceBuffer = 8192;  // 44100 Hz stereo 16-bit

class AlwaysOpen : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(out.Configure(500, true, false));
    ASSERT_TRUE(out.Open(2, 44100, 16));
    out.SetVolume(256);
  }

  // Waits until the device has played the audible bytes `expected` holds.
  bool WaitForAudible(const std::vector<uint8_t>& expected) {
    return WaitUntil([&] { return WithoutZeroBytes(driver.Played()).size() >= expected.size(); });
  }

  VirtualWaveOut driver{VirtualWaveOut::Pace::RealTime};
  OutputDevice out{&driver};
};

TEST_F(AlwaysOpen, PlaysSilenceWhileTheRingIsEmptyOrPaused) {
  ASSERT_TRUE(driver.WaitForPlayed(2 * kDeviceBuffer, test::kPatience));
  EXPECT_TRUE(WithoutZeroBytes(driver.Played()).empty());

  out.Pause(true);
  const uint64_t before = driver.PlayedBytes();
  SubmitAll(out, NonZeroPattern(4000));
  ASSERT_TRUE(driver.WaitForPlayed(before + 3 * kDeviceBuffer, test::kPatience));
  EXPECT_TRUE(WithoutZeroBytes(driver.Played()).empty()) << "paused output plays nothing of the ring";
  EXPECT_EQ(out.QueuedBlocks(), 1u);
  EXPECT_TRUE(driver.IsOpen());
  EXPECT_FALSE(driver.IsPaused()) << "the device itself keeps running";

  out.Pause(false);
  const auto data = NonZeroPattern(4000);
  ASSERT_TRUE(WaitForAudible(data));
  EXPECT_EQ(WithoutZeroBytes(driver.Played()), data);
  EXPECT_TRUE(out.NothingQueued());
  EXPECT_EQ(out.Position(), 1000u);
  EXPECT_TRUE(out.Drained());
}

TEST_F(AlwaysOpen, TwoTracksReachTheDeviceInOrderWithoutReopening) {
  const auto first = NonZeroPattern(3 * 49152 + 1236, 0);
  const auto second = NonZeroPattern(70000, 77);

  out.Pause(true);  // as after preparation; restarted once the prebuffer is full
  out.Pause(false);
  SubmitAll(out, first);
  ASSERT_TRUE(WaitUntil([&] { return out.Drained(); }));
  EXPECT_EQ(out.FramesSubmitted(), first.size() / 4);
  out.StopAtEndOfTrack();
  EXPECT_TRUE(out.IsOpen());

  ASSERT_TRUE(out.Open(2, 44100, 16));
  EXPECT_EQ(driver.OpenCount(), 1);
  out.Pause(false);
  SubmitAll(out, second);

  std::vector<uint8_t> both(first.size() + second.size());
  std::copy(first.begin(), first.end(), both.begin());
  std::copy(second.begin(), second.end(), both.begin() + static_cast<std::ptrdiff_t>(first.size()));
  ASSERT_TRUE(WaitForAudible(both)) << WithoutZeroBytes(driver.Played()).size() << " of " << both.size()
                                    << " submitted " << out.FramesSubmitted() << " pos " << out.Position();
  EXPECT_EQ(WithoutZeroBytes(driver.Played()), both);
}

TEST_F(AlwaysOpen, ResetDiscardsQueuedAudioAndPauses) {
  out.Pause(true);
  SubmitAll(out, NonZeroPattern(2 * 49152));
  ASSERT_TRUE(out.AllBlocksQueued());
  out.Reset();
  EXPECT_EQ(out.QueuedBlocks(), 0u);
  EXPECT_EQ(out.FramesSubmitted(), 0u);
  EXPECT_EQ(out.Position(), 0u);

  const uint64_t before = driver.PlayedBytes();
  ASSERT_TRUE(driver.WaitForPlayed(before + 2 * kDeviceBuffer, test::kPatience));
  EXPECT_TRUE(WithoutZeroBytes(driver.Played()).empty());

  // Still paused after the reset: new audio waits for the restart.
  const auto data = NonZeroPattern(8000, 5);
  SubmitAll(out, data);
  EXPECT_EQ(out.QueuedBlocks(), 1u);
  out.Pause(false);
  ASSERT_TRUE(WaitForAudible(data));
  EXPECT_EQ(WithoutZeroBytes(driver.Played()), data);
}

TEST_F(AlwaysOpen, BlockHeldAcrossResetIsNotPlayed) {
  out.Pause(true);
  SubmitAll(out, NonZeroPattern(4000, 3));
  WaveBlock* stale = test::FreeBlockWithin(out);  // the second block
  ASSERT_NE(stale, nullptr);
  out.Reset();
  std::memset(stale->data, 0x55, 4000);
  stale->bytesRecorded = 4000;
  out.Submit(stale);
  EXPECT_EQ(out.QueuedBlocks(), 0u);
  EXPECT_EQ(out.FramesSubmitted(), 0u);

  // The ring goes on from its first block.
  const auto data = NonZeroPattern(6000, 8);
  SubmitAll(out, data);
  out.Pause(false);
  ASSERT_TRUE(WaitForAudible(data));
  EXPECT_EQ(WithoutZeroBytes(driver.Played()), data);
}

TEST_F(AlwaysOpen, VolumeAppliesToo) {
  out.SetVolume(64);
  std::vector<int16_t> samples(2 * 3000);
  for (size_t i = 0; i < samples.size(); ++i) samples[i] = static_cast<int16_t>(i % 2 ? -4000 : 4000);
  SubmitAll(out, Samples16(samples));
  ASSERT_TRUE(WaitUntil([&] { return out.Drained(); }));
  ASSERT_TRUE(driver.WaitForPlayed(driver.PlayedBytes() + 4 * kDeviceBuffer, test::kPatience));
  const auto played = driver.Played();
  std::vector<int16_t> audible;
  for (size_t i = 0; i < played.size() / 2; ++i)
    if (Sample16At(played, i) != 0) audible.push_back(Sample16At(played, i));
  ASSERT_EQ(audible.size(), samples.size());
  for (size_t i = 0; i < audible.size(); ++i) ASSERT_EQ(audible[i], i % 2 ? -1000 : 1000) << i;
}

TEST_F(AlwaysOpen, FormatChangeReopensTheDevice) {
  ASSERT_TRUE(out.Open(1, 22050, 16));
  EXPECT_EQ(driver.OpenCount(), 2);
  EXPECT_EQ(driver.Format().channels, 1);
  EXPECT_EQ(driver.Format().samplesPerSec, 22050u);
  const auto data = NonZeroPattern(5000, 9);
  out.Pause(false);
  SubmitAll(out, data);
  ASSERT_TRUE(WaitForAudible(data));
  EXPECT_EQ(WithoutZeroBytes(driver.Played()), data);
}

TEST_F(AlwaysOpen, FadeAppliesAtSubmit) {
  out.Close();
  ASSERT_TRUE(out.Configure(500, true, true));
  ASSERT_TRUE(out.Open(2, 44100, 16));
  out.Pause(false);
  std::vector<int16_t> samples(2 * 2000, 30000);
  SubmitAll(out, Samples16(samples));
  ASSERT_TRUE(WaitUntil([&] { return out.Drained(); }));
  ASSERT_TRUE(driver.WaitForPlayed(driver.PlayedBytes() + 4 * kDeviceBuffer, test::kPatience));
  const auto played = driver.Played();
  // The track starts at the beginning of the first device buffer that holds
  // anything; the buffers before it are silence.
  const auto firstAudible = std::find_if(played.begin(), played.end(), [](uint8_t b) { return b != 0; });
  ASSERT_NE(firstAudible, played.end());
  const size_t start = (static_cast<size_t>(firstAudible - played.begin()) / kDeviceBuffer) * kDeviceBuffer / 4;
  ASSERT_LE((start + 2000) * 4, played.size());
  for (size_t k = 0; k < 2000; ++k)
    ASSERT_EQ(Sample16At(played, 2 * (start + k)), (30000 * static_cast<int32_t>(2 * k)) >> 16) << k;
}

struct CloseCase {
  const char* name;
  VirtualWaveOut::Pace pace;
  bool submit;
};

std::ostream& operator<<(std::ostream& os, const CloseCase& c) { return os << c.name; }

class AlwaysOpenClose : public ::testing::TestWithParam<CloseCase> {};

// The quit request reaches the output thread even when Close comes before
// the thread has waited once.
TEST_P(AlwaysOpenClose, NeverHangsAcrossManyOpenCloseCycles) {
  VirtualWaveOut driver(GetParam().pace);
  OutputDevice out(&driver);
  ASSERT_TRUE(out.Configure(100, true, false));
  for (int i = 0; i < 60; ++i) {
    ASSERT_TRUE(out.Open(2, 44100, 16)) << i;
    if (GetParam().submit) {
      out.Pause(false);
      WaveBlock* block = out.GetFreeBlock();
      ASSERT_NE(block, nullptr);
      std::memset(block->data, 3, 4000);
      block->bytesRecorded = 4000;
      out.Submit(block);
    }
    out.Close();
    ASSERT_FALSE(out.IsOpen());
    ASSERT_FALSE(driver.IsOpen());
  }
  EXPECT_EQ(driver.OpenCount(), 60);
}

INSTANTIATE_TEST_SUITE_P(Paces, AlwaysOpenClose,
                         ::testing::Values(CloseCase{"Instant", VirtualWaveOut::Pace::Instant, false},
                                           CloseCase{"InstantWithAudio", VirtualWaveOut::Pace::Instant, true},
                                           CloseCase{"RealTime", VirtualWaveOut::Pace::RealTime, false},
                                           CloseCase{"RealTimeWithAudio", VirtualWaveOut::Pace::RealTime, true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(AlwaysOpenFailures, FailingDeviceWritesDoNotStopTheFeed) {
  VirtualWaveOut driver(VirtualWaveOut::Pace::RealTime);
  OutputDevice out(&driver);
  ASSERT_TRUE(out.Configure(500, true, false));
  driver.FailNextWrites(6);
  ASSERT_TRUE(out.Open(2, 44100, 16));
  out.SetVolume(256);
  out.Pause(false);
  const auto data = NonZeroPattern(3000, 1);
  SubmitAll(out, data);
  ASSERT_TRUE(driver.WaitForPlayed(kDeviceBuffer, test::kPatience));
  ASSERT_TRUE(WaitUntil([&] { return out.NothingQueued(); }));
  out.Close();
  EXPECT_FALSE(driver.IsOpen());
}

}  // namespace
}  // namespace qv
