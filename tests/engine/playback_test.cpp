// The playback thread against the virtual device: statuses, the block
// protocol, silence cuts, seeking, stopping, the prebuffer and the gain
// stages, as the device receives them.
#include <gtest/gtest.h>

#include <algorithm>
#include <thread>

#include "engine/player_engine.h"
#include "tests/engine/engine_test_support.h"

namespace qv::test {
namespace {

using Pace = VirtualWaveOut::Pace;
const StatusList kWholePlay = {{3, 0}, {1, 0}, {0, 0}};

Bytes Slice(const Bytes& b, size_t from, size_t to = SIZE_MAX) {
  to = std::min(to, b.size());
  return from >= to ? Bytes{} : Bytes(b.begin() + from, b.begin() + to);
}

bool EndsWith(const Bytes& all, const Bytes& tail) {
  return all.size() >= tail.size() && std::equal(tail.begin(), tail.end(), all.end() - tail.size());
}

bool StartsWith(const Bytes& all, const Bytes& head) {
  return all.size() >= head.size() && std::equal(head.begin(), head.end(), all.begin());
}

// Opens a WAV written to the temp folder.
void OpenWav(TestEngine& t, const std::string& name, const Bytes& wav) {
  ASSERT_TRUE(WriteBytes(TempPath(name), wav));
  ASSERT_EQ(Engine_OpenFile(t.handle(), TempPath(name).c_str()), 1) << name;
}

TEST(Playback, StatusSequencesOfWholePlaysAndFailures) {
  struct Case {
    const char* name;
    std::function<void(TestEngine&)> arrange;
    StatusList expected;
    bool played;
  };
  const std::vector<Case> cases = {
      {"plays to the end", [](TestEngine&) {}, kWholePlay, true},
      {"no wave-out device", [](TestEngine& t) { t.device().SetDeviceCount(0); }, {{3, 0}, {0, 1}}, false},
      {"allocated on every attempt", [](TestEngine& t) { t.device().FailNextOpensAllocated(10); }, {{3, 0}, {0, 1}},
       false},
      {"allocated three times, then free", [](TestEngine& t) { t.device().FailNextOpensAllocated(3); }, kWholePlay,
       true},
  };
  const Bytes data = Pcm16(20000, 2, RampSample);
  for (const auto& c : cases) {
    TestEngine t;
    OpenWav(t, "status.wav", PcmWav(2, 44100, 16, data));
    c.arrange(t);
    const StatusList statuses = t.PlayToEnd();
    EXPECT_EQ(statuses, c.expected) << c.name;
    EXPECT_TRUE(NoRepeatedStatus(statuses)) << c.name;
    EXPECT_EQ(t.device().Played(), c.played ? Scaled(data, 16, kHeadroomGain) : Bytes{}) << c.name;
    EXPECT_EQ(Engine_GetStatus(t.handle()), 0) << c.name;
    // The source stays open and plays again from its start.
    if (c.played) {
      EXPECT_EQ(t.PlayToEnd(), StatusList({{3, 0}, {1, 0}, {0, 0}, {3, 0}, {1, 0}, {0, 0}})) << c.name;
      EXPECT_EQ(t.device().Played().size(), 2 * data.size()) << c.name;
    }
  }
}

TEST(Playback, StopWhileTheThreadWaitsToPrepareIsAStopNotAFailure) {
  TestEngine t;
  OpenWav(t, "stop_prepare.wav", PcmWav(2, 44100, 16, Pcm16(44100, 2, RampSample)));
  // Holding the API lock keeps the new thread before its preparation; the
  // stop must neither deadlock with it nor be reported as a failure.
  CountedRecursiveLock& api = t.handle()->ApiLockForTesting();
  api.lock();
  ASSERT_EQ(Engine_Play(t.handle()), 1);
  ASSERT_TRUE(t.sink().WaitForStatus(3));
  EXPECT_EQ(Engine_Stop(t.handle()), 1);
  api.unlock();
  EXPECT_EQ(t.sink().Statuses(), StatusList({{3, 0}, {0, 0}}));
  EXPECT_EQ(t.device().OpenCount(), 0);
  // The stop request did not outlive the stop: the next play is whole.
  const StatusList all = t.PlayToEnd();
  EXPECT_EQ(StatusList(all.begin() + 2, all.end()), kWholePlay);
}

TEST(Playback, PlayTwiceStartsOneThread) {
  TestEngine t(Pace::RealTime);
  OpenWav(t, "twice.wav", PcmWav(1, 8000, 16, Pcm16(4000, 1, RampSample)));
  EXPECT_EQ(Engine_Play(t.handle()), 1);
  EXPECT_EQ(Engine_Play(t.handle()), 0);
  ASSERT_TRUE(t.WaitStopped());
  EXPECT_EQ(t.sink().Statuses(), kWholePlay);
  EXPECT_EQ(t.device().OpenCount(), 1);
}

TEST(Playback, BlockProtocolHandsWholeBlocksThenThePartialLast) {
  TestEngine t;
  const uint32_t blockBytes = OutputBlockSize(2, 44100, 16);  // 49152
  const Bytes data = Pcm16((blockBytes * 2 + 1000) / 4, 2, RampSample);
  OpenWav(t, "blocks.wav", PcmWav(2, 44100, 16, data));
  ASSERT_EQ(t.PlayToEnd(), kWholePlay);
  EXPECT_EQ(t.device().WriteCount(), 3);
  EXPECT_EQ(t.device().Played(), Scaled(data, 16, kHeadroomGain));
  // One block message per block handed over, one at the finish, plus those
  // of the drain.
  EXPECT_GE(t.sink().Count(kWmEngineBlock), 4u);
}

TEST(Playback, PauseAndResume) {
  TestEngine t(Pace::RealTime);
  OpenWav(t, "pause.wav", PcmWav(1, 8000, 16, Pcm16(16000, 1, RampSample)));
  EXPECT_EQ(Engine_Pause(t.handle()), 0) << "nothing to pause while stopped";
  ASSERT_EQ(Engine_Play(t.handle()), 1);
  ASSERT_TRUE(t.sink().WaitForStatus(1));
  ASSERT_TRUE(WaitUntil([&] { return t.device().PlayedBytes() > 0; }));
  EXPECT_EQ(Engine_Pause(t.handle()), 1);
  EXPECT_EQ(Engine_GetStatus(t.handle()), 2);
  EXPECT_TRUE(t.device().IsPaused());
  EXPECT_EQ(Engine_Play(t.handle()), 1) << "play while paused resumes";
  EXPECT_EQ(Engine_GetStatus(t.handle()), 1);
  ASSERT_TRUE(WaitUntil([&] { return !t.device().IsPaused(); }));
  EXPECT_EQ(Engine_Stop(t.handle()), 1);
  const StatusList statuses = t.sink().Statuses();
  EXPECT_EQ(statuses, StatusList({{3, 0}, {1, 0}, {2, 0}, {1, 0}, {0, 0}}));
  EXPECT_EQ(Engine_GetPosition(t.handle()), 0);
}

TEST(Playback, SeekWhilePlayingContinuesFromTheTarget) {
  TestEngine t(Pace::RealTime);
  const Bytes data = Pcm16(24000, 1, RampSample);  // 3 s at 8 kHz
  OpenWav(t, "seek_playing.wav", PcmWav(1, 8000, 16, data));
  ASSERT_EQ(Engine_Play(t.handle()), 1);
  ASSERT_TRUE(WaitUntil([&] { return Engine_GetPosition(t.handle()) >= 200; }));
  ASSERT_EQ(Engine_Seek(t.handle(), 2000), 1);
  EXPECT_GE(Engine_GetPosition(t.handle()), 2000);
  ASSERT_TRUE(t.WaitStopped());
  EXPECT_EQ(t.sink().Statuses(), kWholePlay);
  const Bytes scaled = Scaled(data, 16, kHeadroomGain);
  const Bytes played = t.device().Played();
  const Bytes tail = Slice(scaled, 16000 * 2);
  ASSERT_TRUE(EndsWith(played, tail)) << "played " << played.size();
  EXPECT_TRUE(StartsWith(scaled, Slice(played, 0, played.size() - tail.size())))
      << "before the seek: the start of the file";
  EXPECT_LT(played.size(), scaled.size());
}

TEST(Playback, SeekWhileDrainingResumesDecoding) {
  TestEngine t(Pace::RealTime);
  ASSERT_TRUE(t.SetOptions([](EngineOptions& o) { o.OutputBufferLen = 5000; }));
  const Bytes data = Pcm16(16000, 1, RampSample);  // 2 s; the ring holds 5 s
  OpenWav(t, "seek_drain.wav", PcmWav(1, 8000, 16, data));
  ASSERT_EQ(Engine_Play(t.handle()), 1);
  const int blocks = int((data.size() + 6143) / 6144);
  ASSERT_TRUE(WaitUntil([&] { return t.device().WriteCount() >= blocks; }));
  // Everything is queued: the thread is draining (its block messages go on).
  const size_t messages = t.sink().Count(kWmEngineBlock);
  ASSERT_TRUE(WaitUntil([&] { return t.sink().Count(kWmEngineBlock) > messages + 5; }));
  ASSERT_EQ(Engine_Seek(t.handle(), 1000), 1);
  ASSERT_TRUE(t.WaitStopped());
  EXPECT_EQ(t.sink().Statuses(), kWholePlay);
  const Bytes tail = Slice(Scaled(data, 16, kHeadroomGain), 8000 * 2);
  EXPECT_TRUE(EndsWith(t.device().Played(), tail));
  EXPECT_GT(t.device().WriteCount(), blocks) << "decoding resumed after the seek";
}

TEST(Playback, SourceShorterThanThePrebufferStillPlays) {
  TestEngine t;
  ASSERT_TRUE(t.SetOptions([](EngineOptions& o) { o.OutputPrebuffer = 100; }));
  const Bytes data = Pcm16(800, 1, RampSample);  // 100 ms, a fraction of one block
  OpenWav(t, "short.wav", PcmWav(1, 8000, 16, data));
  EXPECT_EQ(t.PlayToEnd(), kWholePlay);
  EXPECT_EQ(t.device().Played(), Scaled(data, 16, kHeadroomGain));
}

TEST(Playback, DrainEndsWhenBlocksReturnThoughThePositionStopsShort) {
  TestEngine t;
  t.device().StallPositionAt(100);
  const Bytes data = Pcm16(8000, 2, RampSample);
  OpenWav(t, "stall.wav", PcmWav(2, 44100, 16, data));
  EXPECT_EQ(t.PlayToEnd(), kWholePlay);
  EXPECT_EQ(t.device().Played(), Scaled(data, 16, kHeadroomGain));
}

TEST(Playback, GainStagesAsTheDeviceReceivesThem) {
  const Bytes edges = Pcm16(4, 2, [](uint32_t f, int c) {
    const int v[8] = {32767, -32768, 100, -100, 1, -1, 20000, -20000};
    return v[f * 2 + c];
  });
  const Bytes ramp16 = Pcm16(6000, 2, RampSample);
  const Bytes ramp8 = Pcm8(6000, 1, [](uint32_t f, int) { return int(f % 256); });
  struct Case {
    const char* name;
    int channels, bits, volume;
    Bytes data, expected;
  };
  const std::vector<Case> cases = {
      {"headroom with clipping", 2, 16, 256, edges,
       Pcm16(4, 2, [](uint32_t f, int c) {
         const int v[8] = {17407, -17408, 53, -54, 0, -1, 10625, -10625};
         return v[f * 2 + c];
       })},
      {"volume 128", 2, 16, 128, ramp16, Scaled(Scaled(ramp16, 16, kHeadroomGain), 16, 128)},
      {"muted", 2, 16, 0, ramp16, Bytes(ramp16.size(), 0)},
      {"8-bit volume 200", 1, 8, 200, ramp8, Scaled(Scaled(ramp8, 8, kHeadroomGain), 8, 200)},
  };
  for (const auto& c : cases) {
    TestEngine t;
    Engine_SetVolume(t.handle(), c.volume);
    OpenWav(t, "gain.wav", PcmWav(uint16_t(c.channels), 44100, uint16_t(c.bits), c.data));
    EXPECT_EQ(t.PlayToEnd(), kWholePlay) << c.name;
    EXPECT_EQ(t.device().Played(), c.expected) << c.name;
  }
}

TEST(Playback, WideSamplesPassEveryStageUntouched) {
  TestEngine t;
  ASSERT_TRUE(t.SetOptions([](EngineOptions& o) { o.OutputFade = 1, o.SuppressZeroSamples = 1; }));
  Engine_SetVolume(t.handle(), 64);
  Bytes data(3 * 2 * 30000);
  for (size_t i = 0; i < data.size(); ++i) data[i] = i < 600 ? 0 : uint8_t(i * 37 + 11);
  OpenWav(t, "wide.wav", PcmWav(2, 48000, 24, data));
  ASSERT_EQ(Engine_Seek(t.handle(), 0), 1);
  EXPECT_EQ(t.PlayToEnd(), kWholePlay);
  EXPECT_EQ(t.device().Format().bitsPerSample, 24);
  EXPECT_EQ(t.device().Played(), data);
}

TEST(Playback, FadeInAfterASeekButNeverFromTheStart) {
  const int value = 10000, scaled = (value * kHeadroomGain) >> 8;
  const Bytes data = Pcm16(44100 * 2, 2, [&](uint32_t, int) { return value; });
  for (bool fromStart : {true, false}) {
    TestEngine t;
    ASSERT_TRUE(t.SetOptions([](EngineOptions& o) { o.OutputFade = 1; }));
    OpenWav(t, "fade.wav", PcmWav(2, 44100, 16, data));
    if (!fromStart) {
      ASSERT_EQ(Engine_Seek(t.handle(), 500), 1);
    }
    ASSERT_EQ(t.PlayToEnd(), kWholePlay);
    const Bytes played = t.device().Played();
    ASSERT_EQ(played.size(), data.size() - (fromStart ? 0 : 22050 * 4));
    for (uint32_t frame : {0u, 1u, 100u, 16384u, 32767u, 32768u, 40000u}) {
      const int16_t left = int16_t(played[frame * 4] | played[frame * 4 + 1] << 8);
      const int expected = fromStart || frame >= 32768 ? scaled : (scaled * int(2 * frame)) >> 16;
      EXPECT_EQ(left, expected) << (fromStart ? "from the start, frame " : "after a seek, frame ") << frame;
    }
  }
}

// 12 s at 8 kHz mono: silence, a tone with a 40-frame gap that ends a block,
// then a second of silence. Blocks hold 3072 frames.
struct SilenceLayout {
  static constexpr uint32_t kFrames = 96000, kLead = 2 * 3072 + 500, kGapEnd = 20 * 3072, kToneEnd = 88000;
  static int Sample(uint32_t f, int) {
    if (f < kLead || f >= kToneEnd) return (f % 2) ? 16 : -16;  // near-silent
    if (f >= kGapEnd - 40 && f < kGapEnd) return 0;
    return RampSample(f, 0);
  }
};

TEST(Playback, SilenceCutsAtTheStartAndInTheLastTenSeconds) {
  const Bytes data = Pcm16(SilenceLayout::kFrames, 1, SilenceLayout::Sample);
  const Bytes scaled = Scaled(data, 16, kHeadroomGain);
  for (bool suppress : {true, false}) {
    TestEngine t;
    ASSERT_TRUE(t.SetOptions([&](EngineOptions& o) { o.SuppressZeroSamples = suppress; }));
    OpenWav(t, "silence.wav", PcmWav(1, 8000, 16, data));
    ASSERT_EQ(t.PlayToEnd(), kWholePlay);
    const Bytes expected =
        suppress ? Slice(scaled, SilenceLayout::kLead * 2, SilenceLayout::kToneEnd * 2) : scaled;
    EXPECT_EQ(t.device().Played(), expected) << (suppress ? "cut" : "uncut")
                                             << ": the short gap stays, the long silences go";
  }
}

TEST(Playback, PositionStartsAtTheFirstAudibleFrame) {
  TestEngine t(Pace::RealTime);
  ASSERT_TRUE(t.SetOptions([](EngineOptions& o) { o.SuppressZeroSamples = 1; }));
  OpenWav(t, "silence_position.wav", PcmWav(1, 8000, 16, Pcm16(SilenceLayout::kFrames, 1, SilenceLayout::Sample)));
  ASSERT_EQ(Engine_Play(t.handle()), 1);
  ASSERT_TRUE(WaitUntil([&] { return t.device().WriteCount() >= 1; }));
  EXPECT_GE(Engine_GetPosition(t.handle()), int32_t(SilenceLayout::kLead * 1000 / 8000));
  Engine_Stop(t.handle());
  EXPECT_EQ(t.sink().Statuses(), kWholePlay);
}

TEST(Playback, RingGeometryThroughGetBufferInfo) {
  struct Case {
    int channels, rate, bits, bufferMs;
    uint32_t total;
  };
  const std::vector<Case> cases = {
      {2, 44100, 16, 500, 98304},
      {2, 44100, 16, 5000, 884736},
      {1, 8000, 8, 500, 6144},
      {5, 44100, 16, 500, 5 * 49150},  // blocks of whole 10-byte frames
  };
  for (const auto& c : cases) {
    TestEngine t(Pace::RealTime);
    uint32_t total = 1, queued = 1;
    Engine_GetBufferInfo(t.handle(), &total, &queued);
    EXPECT_EQ(total, 0u);
    EXPECT_EQ(queued, 0u);
    ASSERT_TRUE(t.SetOptions([&](EngineOptions& o) { o.OutputBufferLen = c.bufferMs; }));
    const int frameBytes = c.channels * c.bits / 8;
    OpenWav(t, "geometry.wav",
            PcmWav(uint16_t(c.channels), uint32_t(c.rate), uint16_t(c.bits), Bytes(size_t(c.rate) * frameBytes, 1)));
    ASSERT_EQ(Engine_Play(t.handle()), 1);
    ASSERT_TRUE(t.sink().WaitForStatus(1));
    Engine_GetBufferInfo(t.handle(), &total, &queued);
    EXPECT_EQ(total, c.total) << c.channels << "x" << c.rate << "x" << c.bits << " " << c.bufferMs;
    EXPECT_LE(queued, total);
    Engine_Stop(t.handle());
  }
}

TEST(Playback, AlwaysOpenKeepsTheDeviceAcrossTracksAndReopensForANewFormat) {
  TestEngine t(Pace::RealTime);
  ASSERT_TRUE(t.SetOptions([](EngineOptions& o) { o.AlwaysOpenDev = 1; }));
  Engine_SetVolume(t.handle(), 128);
  struct Track {
    const char* name;
    int channels, rate;
    Bytes data;
    int opens;
  };
  const std::vector<Track> tracks = {
      {"always_a.wav", 2, 44100, Pcm16(8000, 2, RampSample), 1},
      {"always_b.wav", 2, 44100, Pcm16(8000, 2, [](uint32_t f, int c) { return -RampSample(f, c); }), 1},
      {"always_c.wav", 1, 8000, Pcm16(2400, 1, RampSample), 2},
  };
  int stops = 0;
  for (const auto& track : tracks) {
    OpenWav(t, track.name, PcmWav(uint16_t(track.channels), uint32_t(track.rate), 16, track.data));
    ASSERT_EQ(Engine_Play(t.handle()), 1);
    ASSERT_TRUE(t.WaitStopped(++stops));
    EXPECT_TRUE(t.device().IsOpen()) << track.name << ": the device stays open";
    EXPECT_EQ(t.device().OpenCount(), track.opens) << track.name;
    // Volume applies in this mode too; the feed writes silence around it.
    // The end of the track may still sit in the device buffers.
    const Bytes expected = Scaled(Scaled(track.data, 16, kHeadroomGain), 16, 128);
    EXPECT_TRUE(WaitUntil([&] {
      const Bytes played = t.device().Played();
      return std::search(played.begin(), played.end(), expected.begin(), expected.end()) != played.end();
    }, std::chrono::seconds(10))) << track.name;
  }
  EXPECT_TRUE(NoRepeatedStatus(t.sink().Statuses()));
  EXPECT_EQ(Engine_CloseDevice(t.handle()), 1);
  EXPECT_FALSE(t.device().IsOpen());
}

TEST(Playback, SeekRules) {
  TestEngine t;
  OpenWav(t, "seek_rules.wav", PcmWav(2, 44100, 16, Pcm16(88200, 2, RampSample)));  // 2000 ms
  EXPECT_EQ(Engine_Seek(t.handle(), 2000), 0) << "at the duration";
  EXPECT_EQ(Engine_Seek(t.handle(), 1999), 1);
  EXPECT_EQ(Engine_GetPosition(t.handle()), 1998) << "frame 88155, truncated back to ms";
  EXPECT_EQ(Engine_Seek(t.handle(), 1500), 1);
  EXPECT_EQ(Engine_GetPosition(t.handle()), 1500);
  EXPECT_EQ(Engine_Seek(t.handle(), -5), 1);
  EXPECT_EQ(Engine_GetPosition(t.handle()), 0);
  EXPECT_EQ(Engine_Seek(t.handle(), 1000), 1);
  EXPECT_EQ(Engine_Stop(t.handle()), 1) << "stop repositions to 0";
  EXPECT_EQ(Engine_GetPosition(t.handle()), 0);
}

}  // namespace
}  // namespace qv::test
