// The stereo effects and the spectrum analyser inside the engine: what the
// device plays with the effects off, at zero settings, on mono streams and
// with out-of-range records, and the levels the spectrum feed reports while
// a stream plays.
#include <gtest/gtest.h>

#include <array>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

#include "dsp/qbs_effect.h"
#include "engine/engine_api.h"
#include "engine/engine_services.h"
#include "platform/audio/virtual_wave_out.h"
#include "platform/files/wide_file.h"
#include "platform/notify/recording_notify_sink.h"
#include "tests/dsp/qbs_helpers.h"
#include "tests/dsp/stage_helpers.h"

namespace qv::test {
namespace {

using Levels = std::array<int32_t, 20>;
constexpr Levels kSilenceSingle = {-10, -11, -11, -11, -12, -12, -12, -13, -13, -14,
                                   -14, -14, -15, -15, -15, -16, -16, -16, -17, -17};
constexpr Levels kSilenceBoth = {-10, -11, -12, -12, -13, -14, -15, -15, -16, -17,
                                 -10, -11, -12, -12, -13, -14, -15, -15, -16, -17};

std::vector<uint8_t> Wav(int channels, int rate, const std::vector<int16_t>& samples) {
  const uint32_t bytes = static_cast<uint32_t>(samples.size() * 2);
  std::vector<uint8_t> h(44 + bytes);
  auto put = [&h](size_t at, uint32_t v, int n) {
    for (int i = 0; i < n; ++i) h[at + i] = uint8_t(v >> (8 * i));
  };
  std::memcpy(&h[0], "RIFF", 4);
  put(4, 36 + bytes, 4);
  std::memcpy(&h[8], "WAVEfmt ", 8);
  put(16, 16, 4);
  put(20, 1, 2);
  put(22, uint32_t(channels), 2);
  put(24, uint32_t(rate), 4);
  put(28, uint32_t(rate * channels * 2), 4);
  put(32, uint32_t(channels * 2), 2);
  put(34, 16, 2);
  std::memcpy(&h[36], "data", 4);
  put(40, bytes, 4);
  if (bytes) std::memcpy(&h[44], samples.data(), bytes);
  return h;
}

std::u16string WriteTemp(const std::string& name, const std::vector<uint8_t>& bytes) {
  const std::u16string path = (std::filesystem::temp_directory_path() / ("qv_qbs_" + name)).u16string();
  WideFile file;
  EXPECT_TRUE(file.Open(path, FileMode::CreateAlways));
  EXPECT_EQ(int64_t(bytes.size()), file.Write(bytes.data(), bytes.size()));
  return path;
}

// Records the statuses and, at every WM_ENGINE_BLOCK, the spectrum levels,
// as the main window reads them while a stream plays.
class SpectrumSink : public RecordingNotifySink {
 public:
  void SetEngine(EngineHandle engine) { engine_ = engine; }
  void Post(WindowHandle window, uint32_t message, uintptr_t wParam, intptr_t lParam) override {
    if (message == kWmEngineBlock && engine_) {
      SpectrumBands bands{};
      const int feed = Engine_GetSpectrum(engine_, &bands);
      std::lock_guard<std::mutex> lock(mutex_);
      Levels levels;
      std::memcpy(levels.data(), bands.level, sizeof bands.level);
      readings_.push_back(levels);
      feeds_.push_back(feed);
    }
    RecordingNotifySink::Post(window, message, wParam, lParam);
  }
  std::vector<Levels> Readings() {
    std::lock_guard<std::mutex> lock(mutex_);
    return readings_;
  }
  std::vector<int> Feeds() {
    std::lock_guard<std::mutex> lock(mutex_);
    return feeds_;
  }

 private:
  EngineHandle engine_ = nullptr;
  std::mutex mutex_;
  std::vector<Levels> readings_;
  std::vector<int> feeds_;
};

struct PlaySetup {
  const EffectParams* effects = nullptr;
  const QbsParams* qbs = nullptr;
  int spectrumMode = 0;  // 0: feed off
};

struct Played {
  std::vector<int16_t> samples;
  std::vector<std::pair<int, int>> statuses;
  std::vector<Levels> readings;
  std::vector<int> feeds;
  Levels afterEnd{};
  int feedAfterEnd = -1;
};

// Plays the file to its end through a fresh engine at unity volume.
Played Play(const std::u16string& path, const PlaySetup& setup) {
  SpectrumSink sink;
  VirtualWaveOut* device = new VirtualWaveOut(VirtualWaveOut::Pace::Instant);
  EngineServices services;
  services.createWaveOut = [device] { return std::unique_ptr<WaveOutDriver>(device); };
  services.notify = &sink;
  EngineHandle engine = Engine_CreateWithServices(services);
  Played out;
  EXPECT_NE(nullptr, engine);
  if (!engine) return out;
  sink.SetEngine(engine);
  Engine_SetNotifyWindow(engine, reinterpret_cast<WindowHandle>(1));
  Engine_SetVolume(engine, 256);
  if (setup.effects) {
    EXPECT_EQ(1, Engine_SetEffectParams(engine, setup.effects));
  }
  if (setup.qbs) {
    EXPECT_EQ(1, Engine_SetSurroundParams(engine, setup.qbs));
  }
  if (setup.spectrumMode != 0) {
    EXPECT_EQ(1, Engine_SetSpectrumMode(engine, setup.spectrumMode));
    EXPECT_EQ(1, Engine_EnableSpectrum(engine, 1));
  }
  if (Engine_OpenFile(engine, path.c_str()) == 1 && Engine_Play(engine) == 1) {
    EXPECT_TRUE(sink.WaitForStatus(0, 1, std::chrono::seconds(60)));
    const std::vector<uint8_t> bytes = device->Played();
    out.samples.resize(bytes.size() / 2);
    std::memcpy(out.samples.data(), bytes.data(), out.samples.size() * 2);
  } else {
    ADD_FAILURE() << "could not play the file";
  }
  out.statuses = sink.Statuses();
  out.readings = sink.Readings();
  out.feeds = sink.Feeds();
  SpectrumBands bands{};
  out.feedAfterEnd = Engine_GetSpectrum(engine, &bands);
  std::memcpy(out.afterEnd.data(), bands.level, sizeof bands.level);
  Engine_Destroy(engine);
  return out;
}

// An equalizer boost, so that the stage's own output is not the file's.
EffectParams EqualizerOn() {
  EffectParams params = DefaultRecord();
  params.lastEqOn = 1;
  for (int band = 0; band < kEqBands; ++band) params.lastEqGain[band][0] = params.lastEqGain[band][1] = band % 5;
  return params;
}

QbsParams BothOn(int surround, int bass, int preset, int feedback, int shortTap, int longTap) {
  QbsParams p = WideRecord(1, surround, bass);
  const QbsParams r = ReverbRecord(preset, feedback, shortTap, longTap);
  p.reverbOn = 1;
  p.reverbPreset = r.reverbPreset;
  p.reverbFeedback = r.reverbFeedback;
  p.reverbShortDelay = r.reverbShortDelay;
  p.reverbLongDelay = r.reverbLongDelay;
  return p;
}

TEST(EngineQbs, OffOrAtZeroPlaysTheEffectStageOutput) {
  const std::u16string wav = WriteTemp("stereo.wav", Wav(2, 44100, MusicPcm16(60000, 2, 31)));
  const EffectParams eq = EqualizerOn();
  const Played stage = Play(wav, {&eq, nullptr, 0});
  ASSERT_GT(stage.samples.size(), 100000u);

  QbsParams off = BothOn(10, 10, 2, 0, 0, 0);
  off.wideOn = off.reverbOn = 0;
  const QbsParams zero = BothOn(0, 0, 3, 10, 0, 0);
  EXPECT_EQ(stage.samples, Play(wav, {&eq, &off, 0}).samples);
  EXPECT_EQ(stage.samples, Play(wav, {&eq, &zero, 0}).samples);

  // With settings that act, the device plays the effects applied to the
  // stage's output, block boundaries notwithstanding.
  const QbsParams on = BothOn(8, 5, 1, 0, 0, 0);
  const Played withEffects = Play(wav, {&eq, &on, 0});
  std::vector<int16_t> want = stage.samples;
  QbsEffect offline;
  offline.Format(16, 44100, 2);
  offline.SetParams(on);
  offline.Process(reinterpret_cast<uint8_t*>(want.data()), want.size() * 2);
  EXPECT_NE(stage.samples, withEffects.samples);
  EXPECT_EQ(want, withEffects.samples);
}

TEST(EngineQbs, MonoStreamIsUntouched) {
  const std::u16string wav = WriteTemp("mono.wav", Wav(1, 44100, MusicPcm16(50000, 1, 17)));
  const QbsParams on = BothOn(10, 10, 2, 0, 0, 0);
  const Played plain = Play(wav, {});
  ASSERT_GT(plain.samples.size(), 40000u);
  EXPECT_EQ(plain.samples, Play(wav, {nullptr, &on, 0}).samples);
}

// Records come unchecked from preset files and other windows: out-of-range
// steps play, and the record reads back as it was given.
TEST(EngineQbs, OutOfRangeRecordPlaysAndReadsBackAsGiven) {
  const std::u16string wav = WriteTemp("wild.wav", Wav(2, 44100, MusicPcm16(30000, 2, 3)));
  QbsParams wild = BothOn(200, -40, 9, 1 << 20, -1, 11);
  wild.wideMode = -3;
  wild.qbsFlag = 5;
  const Played played = Play(wav, {nullptr, &wild, 2});
  EXPECT_EQ((std::vector<std::pair<int, int>>{{3, 0}, {1, 0}, {0, 0}}), played.statuses);
  EXPECT_EQ(60000u, played.samples.size());

  EngineHandle engine = Engine_Create();
  ASSERT_NE(nullptr, engine);
  QbsParams got{};
  ASSERT_EQ(1, Engine_GetSurroundParams(engine, &got));
  EXPECT_EQ(0, got.wideOn);
  ASSERT_EQ(1, Engine_SetSurroundParams(engine, &wild));
  ASSERT_EQ(1, Engine_GetSurroundParams(engine, &got));
  EXPECT_EQ(0, std::memcmp(&wild, &got, sizeof got));
  wild.reverbLongDelay = -1000;
  wild.qbsFlag = 0;
  ASSERT_EQ(1, Engine_SetSurroundParams(engine, &wild));
  ASSERT_EQ(1, Engine_GetSurroundParams(engine, &got));
  EXPECT_EQ(0, std::memcmp(&wild, &got, sizeof got));
  Engine_Destroy(engine);
}

struct FeedCase {
  const char* name;
  int mode;
  Levels want;
};

class EngineSpectrum : public ::testing::TestWithParam<FeedCase> {};

// While silence plays, every block reads the silence levels of the mode;
// once playback has ended the levels are cleared and the feed stays on.
TEST_P(EngineSpectrum, SilenceLevelsWhilePlaying) {
  const std::u16string wav = WriteTemp("silence.wav", Wav(2, 44100, std::vector<int16_t>(2 * 44100, 0)));
  const Played played = Play(wav, {nullptr, nullptr, GetParam().mode});
  ASSERT_GE(played.readings.size(), 3u);
  // The block messages before the first block and after the finish see no levels.
  size_t analysed = 0;
  for (const Levels& r : played.readings) {
    if (r == Levels{}) continue;
    EXPECT_EQ(GetParam().want, r);
    ++analysed;
  }
  EXPECT_GE(analysed, 3u);
  EXPECT_EQ(Levels{}, played.readings.back());
  for (int feed : played.feeds) EXPECT_EQ(1, feed);
  EXPECT_EQ(1, played.feedAfterEnd);
  EXPECT_EQ(Levels{}, played.afterEnd);
}

INSTANTIATE_TEST_SUITE_P(Modes, EngineSpectrum,
                         ::testing::Values(FeedCase{"Left", 1, kSilenceSingle}, FeedCase{"Right", 2, kSilenceSingle},
                                           FeedCase{"Both", 3, kSilenceBoth},
                                           FeedCase{"OutOfRange", 99, kSilenceSingle}),
                         [](const ::testing::TestParamInfo<FeedCase>& info) { return std::string(info.param.name); });

TEST(EngineSpectrumFeed, OffFeedAnalysesNothing) {
  const std::u16string wav = WriteTemp("silence_off.wav", Wav(2, 44100, std::vector<int16_t>(2 * 20000, 0)));
  const Played played = Play(wav, {});
  ASSERT_FALSE(played.readings.empty());
  for (const Levels& r : played.readings) EXPECT_EQ(Levels{}, r);
  for (int feed : played.feeds) EXPECT_EQ(0, feed);
  EXPECT_EQ(0, played.feedAfterEnd);
}

// The UI thread sets records, modes and the feed and reads the levels while
// the playback thread runs the chain; each member keeps to its own lock.
TEST(EngineQbs, RecordsAndSpectrumChangeWhilePlaying) {
  const std::u16string wav = WriteTemp("busy.wav", Wav(2, 44100, MusicPcm16(3 * 44100, 2, 12)));
  RecordingNotifySink sink;
  VirtualWaveOut* device = new VirtualWaveOut(VirtualWaveOut::Pace::RealTime);
  EngineServices services;
  services.createWaveOut = [device] { return std::unique_ptr<WaveOutDriver>(device); };
  services.notify = &sink;
  EngineHandle engine = Engine_CreateWithServices(services);
  ASSERT_NE(nullptr, engine);
  Engine_SetNotifyWindow(engine, reinterpret_cast<WindowHandle>(1));
  const QbsParams records[3] = {BothOn(10, 10, 2, 0, 0, 0), BothOn(3, 200, 9, 0, 0, 0), WideRecord(1, 5, 5)};
  ASSERT_EQ(1, Engine_OpenFile(engine, wav.c_str()));
  ASSERT_EQ(1, Engine_Play(engine));
  int round = 0;
  bool ended = false;
  while (!ended) {
    const QbsParams& record = records[round % 3];
    EXPECT_EQ(1, Engine_SetSurroundParams(engine, &record));
    QbsParams back{};
    EXPECT_EQ(1, Engine_GetSurroundParams(engine, &back));
    EXPECT_EQ(0, std::memcmp(&record, &back, sizeof back));
    Engine_SetSpectrumMode(engine, round % 5);
    Engine_EnableSpectrum(engine, round % 7 != 0);
    SpectrumBands bands{};
    EXPECT_EQ(round % 7 != 0 ? 1 : 0, Engine_GetSpectrum(engine, &bands));
    for (int32_t level : bands.level) EXPECT_LE(level, 17);
    ++round;
    ended = sink.WaitForStatus(0, 1, std::chrono::milliseconds(5));
  }
  EXPECT_EQ((std::vector<std::pair<int, int>>{{3, 0}, {1, 0}, {0, 0}}), sink.Statuses());
  EXPECT_EQ(3u * 44100 * 4, device->Played().size());
  EXPECT_GT(round, 10);
  Engine_Destroy(engine);
}

}  // namespace
}  // namespace qv::test
