#include <gtest/gtest.h>

#include <ostream>

#include "engine/output/output_device.h"
#include "platform/audio/virtual_wave_out.h"

namespace qv {
namespace {

struct RingCase {
  int channels;
  int rate;
  int bits;
  uint32_t bufferMs;
  uint32_t blockSize;
  uint32_t blockCount;
};

std::ostream& operator<<(std::ostream& os, const RingCase& c) {
  return os << c.channels << "ch " << c.rate << "Hz " << c.bits << "bit " << c.bufferMs << "ms";
}

class RingGeometry : public ::testing::TestWithParam<RingCase> {};

TEST_P(RingGeometry, BlockSizeAndCount) {
  const auto c = GetParam();
  const PcmFormat f = PcmFormat::Make(c.channels, c.rate, c.bits);
  EXPECT_EQ(OutputBlockSize(c.channels, c.rate, c.bits), c.blockSize);
  EXPECT_EQ(OutputBlockCount(f.avgBytesPerSec, c.bufferMs, c.blockSize), c.blockCount);
  EXPECT_EQ(c.blockSize % f.blockAlign, 0u) << "a block must hold whole frames";
}

// The same geometry through an opened device.
TEST_P(RingGeometry, OpenedDeviceBuildsThatRing) {
  const auto c = GetParam();
  VirtualWaveOut driver;
  OutputDevice out(&driver);
  ASSERT_TRUE(out.Configure(c.bufferMs, false, false));
  ASSERT_TRUE(out.Open(c.channels, c.rate, c.bits));
  EXPECT_EQ(out.BlockSize(), c.blockSize);
  EXPECT_EQ(out.BlockCount(), c.blockCount);
  uint32_t total = 0, queued = 1;
  out.GetBufferInfo(&total, &queued);
  EXPECT_EQ(total, c.blockSize * c.blockCount);
  EXPECT_EQ(queued, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Formats, RingGeometry,
    ::testing::Values(RingCase{2, 44100, 16, 500, 49152, 2},   // default: 98304 bytes
                      RingCase{2, 44100, 16, 5000, 49152, 18},  // 884736 bytes
                      RingCase{1, 8000, 8, 500, 3072, 2},
                      RingCase{1, 11025, 8, 500, 3072, 2},
                      RingCase{1, 11026, 8, 500, 6144, 2},
                      RingCase{1, 22050, 16, 500, 12288, 2},
                      RingCase{1, 22051, 8, 500, 12288, 2},
                      RingCase{2, 48000, 16, 2000, 49152, 8},
                      // 176400 x 30000 overflows 32 bits: 108 blocks, not 21.
                      RingCase{2, 44100, 16, 30000, 49152, 108},
                      // Odd channel counts: rounded down to whole frames.
                      RingCase{3, 44100, 16, 500, 49152, 3},
                      RingCase{5, 44100, 16, 500, 49150, 5},
                      RingCase{3, 44100, 24, 500, 49149, 5},
                      RingCase{7, 48000, 16, 500, 49140, 7},
                      RingCase{2, 44100, 24, 500, 49152, 3}));

struct DeviceBufferCase {
  int channels;
  int rate;
  int bits;
  uint32_t bytes;
};

std::ostream& operator<<(std::ostream& os, const DeviceBufferCase& c) {
  return os << c.channels << "ch " << c.rate << "Hz " << c.bits << "bit";
}

class AlwaysOpenBuffers : public ::testing::TestWithParam<DeviceBufferCase> {};

TEST_P(AlwaysOpenBuffers, SizeHoldsWholeFrames) {
  const auto c = GetParam();
  EXPECT_EQ(AlwaysOpenBufferSize(c.channels, c.rate, c.bits), c.bytes);
}

INSTANTIATE_TEST_SUITE_P(Formats, AlwaysOpenBuffers,
                         ::testing::Values(DeviceBufferCase{2, 44100, 16, 8192}, DeviceBufferCase{1, 8000, 8, 512},
                                           DeviceBufferCase{1, 11025, 8, 512}, DeviceBufferCase{1, 11026, 8, 1024},
                                           DeviceBufferCase{2, 22050, 16, 4096},
                                           DeviceBufferCase{5, 44100, 16, 20480},
                                           DeviceBufferCase{3, 44100, 24, 12285}));

TEST(BufferInfo, ZeroWithoutRingAndCountsQueuedBlocks) {
  VirtualWaveOut driver;
  OutputDevice out(&driver);
  uint32_t total = 7, queued = 7;
  out.GetBufferInfo(&total, &queued);
  EXPECT_EQ(total, 0u);
  EXPECT_EQ(queued, 0u);
  EXPECT_EQ(out.BlockSize(), 16384u) << "size before the first open";

  ASSERT_TRUE(out.Open(2, 44100, 16));
  out.Pause(true);
  WaveBlock* block = out.GetFreeBlock();
  ASSERT_NE(block, nullptr);
  block->bytesRecorded = 4000;
  out.Submit(block);
  out.GetBufferInfo(&total, &queued);
  EXPECT_EQ(total, 98304u);
  EXPECT_EQ(queued, 49152u);

  out.Close();
  out.GetBufferInfo(&total, &queued);
  EXPECT_EQ(total, 0u);
  EXPECT_EQ(queued, 0u);
}

TEST(Configure, RefusedWhileOpenOrBelowTenMilliseconds) {
  VirtualWaveOut driver;
  OutputDevice out(&driver);
  uint32_t ms = 0;
  bool alwaysOpen = true, fade = true;
  out.GetConfiguration(&ms, &alwaysOpen, &fade);
  EXPECT_EQ(ms, 500u);
  EXPECT_FALSE(alwaysOpen);
  EXPECT_FALSE(fade);

  EXPECT_FALSE(out.Configure(9, true, true));
  EXPECT_TRUE(out.Configure(10, false, true));
  ASSERT_TRUE(out.Open(1, 8000, 8));
  EXPECT_FALSE(out.Configure(1000, true, false));
  out.GetConfiguration(&ms, &alwaysOpen, &fade);
  EXPECT_EQ(ms, 10u);
  EXPECT_FALSE(alwaysOpen);
  EXPECT_TRUE(fade);
  out.Close();
  EXPECT_TRUE(out.Configure(1000, true, false));
}

}  // namespace
}  // namespace qv
