// Direct mode: every ring block is written to the device.
#include "engine/output/output_device.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <ostream>

#include "output_test_support.h"
#include "platform/audio/virtual_wave_out.h"

namespace qv {
namespace {

using namespace std::chrono_literals;
using test::FreeBlockWithin;
using test::NonZeroPattern;
using test::Sample16At;
using test::Samples16;
using test::SubmitAll;
using test::SubmitNext;
using test::WaitUntil;

class DirectOutput : public ::testing::Test {
 protected:
  void OpenCd(bool fade = false) {
    ASSERT_TRUE(out.Configure(500, false, fade));
    ASSERT_TRUE(out.Open(2, 44100, 16));
    out.SetVolume(256);
  }

  VirtualWaveOut driver;
  OutputDevice out{&driver};
};

TEST_F(DirectOutput, PlaysSubmittedBytesInOrderAndCountsFrames) {
  OpenCd();
  const auto data = NonZeroPattern(5 * 49152 + 1000);
  SubmitAll(out, data);
  ASSERT_TRUE(driver.WaitUntilIdle(test::kPatience));
  EXPECT_EQ(driver.Played(), data);
  EXPECT_EQ(out.FramesSubmitted(), data.size() / 4);
  EXPECT_EQ(out.Position(), data.size() / 4);
  EXPECT_TRUE(out.Drained());
  EXPECT_TRUE(out.NothingQueued());
  EXPECT_EQ(out.UnplayedFrames(), 0u);
}

TEST_F(DirectOutput, ZeroByteSubmitGivesTheSameBlockBack) {
  OpenCd();
  out.Pause(true);
  WaveBlock* first = FreeBlockWithin(out);
  ASSERT_NE(first, nullptr);
  first->bytesRecorded = 0;
  out.Submit(first);
  EXPECT_EQ(out.QueuedBlocks(), 0u);
  EXPECT_EQ(out.FramesSubmitted(), 0u);
  EXPECT_EQ(FreeBlockWithin(out), first);

  first->bytesRecorded = 400;
  out.Submit(first);
  EXPECT_EQ(out.QueuedBlocks(), 1u);
  WaveBlock* second = FreeBlockWithin(out);
  EXPECT_NE(second, first);
  EXPECT_EQ(driver.WriteCount(), 1);
}

TEST_F(DirectOutput, PartialFrameBytesAreNotPlayed) {
  OpenCd();
  WaveBlock* block = FreeBlockWithin(out);
  ASSERT_NE(block, nullptr);
  std::memset(block->data, 7, 10);
  block->bytesRecorded = 10;  // two frames and half of one
  out.Submit(block);
  ASSERT_TRUE(driver.WaitUntilIdle(test::kPatience));
  EXPECT_EQ(driver.Played(), std::vector<uint8_t>(8, 7));
  EXPECT_EQ(out.FramesSubmitted(), 2u);
}

TEST_F(DirectOutput, PauseHoldsBlocksUntilRestart) {
  OpenCd();
  out.Pause(true);
  EXPECT_TRUE(driver.IsPaused());
  const auto data = NonZeroPattern(2 * 49152);
  SubmitAll(out, data);
  EXPECT_TRUE(out.AllBlocksQueued());
  EXPECT_FALSE(driver.WaitForPlayed(1, 50ms));
  EXPECT_EQ(out.Position(), 0u);
  EXPECT_EQ(out.UnplayedFrames(), data.size() / 4);

  out.Pause(false);
  EXPECT_FALSE(driver.IsPaused());
  ASSERT_TRUE(driver.WaitForPlayed(data.size(), test::kPatience));
  ASSERT_TRUE(WaitUntil([&] { return out.NothingQueued(); }));
  EXPECT_EQ(driver.Played(), data);
}

TEST_F(DirectOutput, ResetDiscardsQueuedAudioRepausesAndRearmsFade) {
  OpenCd(/*fade=*/true);
  out.CancelFade();
  out.Pause(true);
  SubmitAll(out, NonZeroPattern(2 * 49152));
  ASSERT_EQ(out.QueuedBlocks(), 2u);

  out.Reset();
  EXPECT_EQ(out.QueuedBlocks(), 0u);
  EXPECT_EQ(out.FramesSubmitted(), 0u);
  EXPECT_TRUE(driver.IsPaused());
  EXPECT_EQ(driver.CallbackCount(), 2) << "the device returned both blocks";
  EXPECT_TRUE(driver.Played().empty());

  // The ring starts over at its first block, and the fade starts from silence.
  std::vector<int16_t> loud(2 * 1000, 20000);
  const auto bytes = Samples16(loud);
  SubmitAll(out, bytes);
  out.Pause(false);
  ASSERT_TRUE(driver.WaitForPlayed(bytes.size(), test::kPatience));
  const auto played = driver.Played();
  for (size_t frame = 0; frame < 1000; ++frame)
    ASSERT_EQ(Sample16At(played, 2 * frame), (20000 * static_cast<int32_t>(2 * frame)) >> 16) << frame;
}

TEST_F(DirectOutput, FadeRisesOverTheFirst32768FramesAfterOpen) {
  OpenCd(/*fade=*/true);
  std::vector<int16_t> loud(2 * 40000, -25000);
  const auto bytes = Samples16(loud);
  SubmitAll(out, bytes);
  ASSERT_TRUE(driver.WaitForPlayed(bytes.size(), test::kPatience));
  const auto played = driver.Played();
  for (size_t frame = 0; frame < 40000; ++frame) {
    const int32_t gain = frame < 32768 ? static_cast<int32_t>(2 * frame) : 65536;
    ASSERT_EQ(Sample16At(played, 2 * frame + 1), (-25000 * gain) >> 16) << frame;
  }
}

TEST_F(DirectOutput, VolumeScalesAtSubmit) {
  OpenCd();
  out.SetVolume(128);
  SubmitAll(out, Samples16({1000, -1000, 32767, -32768}));
  ASSERT_TRUE(driver.WaitForPlayed(8, test::kPatience));
  EXPECT_EQ(driver.Played(), Samples16({500, -500, 16383, -16384}));
}

TEST_F(DirectOutput, VolumeIsKeptWithinRange) {
  out.SetVolume(1000);
  EXPECT_EQ(out.Volume(), 256);
  out.SetVolume(-5);
  EXPECT_EQ(out.Volume(), 0);
  EXPECT_EQ(OutputDevice(&driver).Volume(), 0) << "silent until the engine sets it";
}

TEST_F(DirectOutput, WideSamplesPassThroughVolumeAndFade) {
  ASSERT_TRUE(out.Configure(500, false, true));
  ASSERT_TRUE(out.Open(2, 44100, 24));
  out.SetVolume(100);
  const auto data = NonZeroPattern(6 * 5000);
  SubmitAll(out, data);
  ASSERT_TRUE(driver.WaitForPlayed(data.size(), test::kPatience));
  EXPECT_EQ(driver.Played(), data);
}

TEST_F(DirectOutput, ReopeningTheSameFormatKeepsTheDevice) {
  OpenCd();
  EXPECT_TRUE(out.Open(2, 44100, 16));
  EXPECT_EQ(driver.OpenCount(), 1);
  EXPECT_TRUE(out.Open(1, 44100, 16));
  EXPECT_EQ(driver.OpenCount(), 2);
  EXPECT_EQ(driver.Format().channels, 1);
  EXPECT_EQ(out.Format().blockAlign, 2);
}

TEST_F(DirectOutput, NoDeviceFailsTheOpen) {
  driver.SetDeviceCount(0);
  EXPECT_FALSE(out.Open(2, 44100, 16));
  EXPECT_FALSE(out.IsOpen());
  EXPECT_EQ(out.GetFreeBlock(), nullptr);
  EXPECT_EQ(out.Position(), 0u);
  EXPECT_EQ(driver.OpenCount(), 0);
}

TEST_F(DirectOutput, InvalidFormatsFailTheOpen) {
  const int formats[][3] = {{0, 44100, 16}, {2, 0, 16}, {2, 44100, 12}, {-1, 44100, 16}, {2, -8000, 8},
                            {40000, 44100, 16}};
  for (const auto& f : formats) {
    EXPECT_FALSE(out.Open(f[0], f[1], f[2])) << f[0] << " " << f[1] << " " << f[2];
    EXPECT_FALSE(out.IsOpen());
  }
  EXPECT_EQ(driver.OpenCount(), 0);
}

struct AllocatedCase {
  int allocatedResults;
  bool opens;
};

std::ostream& operator<<(std::ostream& os, const AllocatedCase& c) {
  return os << c.allocatedResults << " allocated results";
}

class AllocatedDevice : public ::testing::TestWithParam<AllocatedCase> {};

TEST_P(AllocatedDevice, RetriedUpToTenAttempts) {
  VirtualWaveOut driver;
  OutputDevice out(&driver);
  driver.FailNextOpensAllocated(GetParam().allocatedResults);
  EXPECT_EQ(out.Open(2, 44100, 16), GetParam().opens);
  EXPECT_EQ(out.IsOpen(), GetParam().opens);
  EXPECT_EQ(driver.IsOpen(), GetParam().opens);
}

INSTANTIATE_TEST_SUITE_P(Attempts, AllocatedDevice,
                         ::testing::Values(AllocatedCase{1, true}, AllocatedCase{9, true},
                                           AllocatedCase{10, false}));

TEST_F(DirectOutput, FailedWriteIsNeitherQueuedNorSubmitted) {
  OpenCd();
  out.Pause(true);
  driver.FailNextWrites(1);
  WaveBlock* block = FreeBlockWithin(out);
  ASSERT_NE(block, nullptr);
  const auto data = NonZeroPattern(4000);
  std::memcpy(block->data, data.data(), data.size());
  block->bytesRecorded = static_cast<uint32_t>(data.size());
  out.Submit(block);
  EXPECT_EQ(out.QueuedBlocks(), 0u);
  EXPECT_EQ(out.FramesSubmitted(), 0u);
  EXPECT_TRUE(out.NothingQueued());

  // The block is free again at once, and the ring carries on with it.
  ASSERT_EQ(FreeBlockWithin(out), block);
  std::memcpy(block->data, data.data(), data.size());
  block->bytesRecorded = static_cast<uint32_t>(data.size());
  out.Submit(block);
  EXPECT_EQ(out.QueuedBlocks(), 1u);
  EXPECT_EQ(out.FramesSubmitted(), 1000u);
  out.Pause(false);
  ASSERT_TRUE(driver.WaitForPlayed(data.size(), test::kPatience));
  EXPECT_EQ(driver.Played(), data);
}

TEST_F(DirectOutput, CompletionsAfterResetDoNotDriveTheCountNegative) {
  OpenCd();
  driver.HoldCompletions(true);
  SubmitAll(out, NonZeroPattern(2 * 49152));
  ASSERT_EQ(out.QueuedBlocks(), 2u);

  out.Reset();  // the device hands the blocks back only later
  EXPECT_EQ(out.QueuedBlocks(), 0u);
  driver.HoldCompletions(false);
  ASSERT_TRUE(driver.WaitUntilIdle(test::kPatience));
  EXPECT_EQ(driver.CallbackCount(), 2);
  EXPECT_EQ(out.QueuedBlocks(), 0u);
  EXPECT_TRUE(out.NothingQueued());

  // The ring still fills up exactly: two blocks make it full.
  out.Pause(true);
  SubmitAll(out, NonZeroPattern(2 * 49152));
  EXPECT_EQ(out.QueuedBlocks(), 2u);
  EXPECT_TRUE(out.AllBlocksQueued());
}

TEST_F(DirectOutput, BlockHeldAcrossResetIsNotPlayed) {
  OpenCd();
  out.Pause(true);
  SubmitNext(out, NonZeroPattern(49152), 0);
  WaveBlock* stale = FreeBlockWithin(out);  // second block
  ASSERT_NE(stale, nullptr);
  out.Reset();
  stale->bytesRecorded = 4000;
  out.Submit(stale);
  EXPECT_EQ(out.QueuedBlocks(), 0u);
  EXPECT_EQ(out.FramesSubmitted(), 0u);
  EXPECT_EQ(driver.WriteCount(), 1);
}

TEST_F(DirectOutput, NothingQueuedEndsADrainWhosePositionStopsShort) {
  OpenCd();
  driver.StallPositionAt(1000);
  const auto data = NonZeroPattern(3 * 49152);
  SubmitAll(out, data);
  ASSERT_TRUE(WaitUntil([&] { return out.NothingQueued(); }));
  EXPECT_EQ(out.Position(), 1000u);
  EXPECT_FALSE(out.Drained());
  EXPECT_EQ(out.UnplayedFrames(), data.size() / 4 - 1000);
}

TEST_F(DirectOutput, CloseFreesTheRingAndStopAtEndOfTrackCloses) {
  OpenCd();
  out.Pause(true);
  SubmitAll(out, NonZeroPattern(49152));
  out.StopAtEndOfTrack();
  EXPECT_FALSE(out.IsOpen());
  EXPECT_FALSE(driver.IsOpen());
  EXPECT_EQ(out.BlockCount(), 0u);
  EXPECT_EQ(out.GetFreeBlock(), nullptr);
  EXPECT_EQ(out.Format().channels, 0);
  // Calls without a device do nothing.
  out.Pause(false);
  out.Reset();
  EXPECT_EQ(out.Position(), 0u);
  EXPECT_TRUE(out.Open(2, 44100, 16));
  EXPECT_EQ(driver.OpenCount(), 2);
}

// The playback thread fills blocks while another thread resets, pauses and
// reads the position, and the device returns blocks on its own thread.
TEST(DirectOutputThreads, ConcurrentResetsPausesAndSubmitsSettle) {
  VirtualWaveOut driver(VirtualWaveOut::Pace::Instant);
  OutputDevice out(&driver);
  ASSERT_TRUE(out.Open(2, 44100, 16));
  out.SetVolume(200);
  std::atomic<bool> stop{false};
  std::thread producer([&] {
    while (!stop) {
      WaveBlock* block = out.GetFreeBlock();
      if (block == nullptr) return;
      std::memset(block->data, 99, 8000);
      block->bytesRecorded = 8000;
      out.Submit(block);
    }
  });
  for (int i = 0; i < 200; ++i) {
    out.Pause(i % 3 == 0);
    if (i % 5 == 0) out.Reset();
    (void)out.Position();
    (void)out.UnplayedFrames();
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  stop = true;
  out.Reset();  // wakes a producer waiting for a block
  producer.join();
  out.Reset();
  EXPECT_TRUE(out.NothingQueued());
  EXPECT_LE(out.QueuedBlocks(), out.BlockCount());
  out.Close();
  EXPECT_FALSE(driver.IsOpen());
}

}  // namespace
}  // namespace qv
