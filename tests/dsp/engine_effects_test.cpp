// The effect stage inside the engine: records given with
// Engine_SetEffectParams change what the device plays, and a record with every
// enable word 0 changes nothing.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstring>
#include <filesystem>
#include <limits>
#include <memory>
#include <string>
#include <vector>

#include "engine/engine_api.h"
#include "engine/engine_services.h"
#include "platform/audio/virtual_wave_out.h"
#include "platform/files/wide_file.h"
#include "platform/notify/recording_notify_sink.h"
#include "tests/dsp/signal_helpers.h"
#include "tests/dsp/stage_helpers.h"

namespace qv::test {
namespace {

std::vector<uint8_t> Wav(int channels, int rate, int bits, const std::vector<uint8_t>& data) {
  std::vector<uint8_t> h(44 + data.size());
  auto put = [&h](size_t at, uint32_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) h[at + i] = uint8_t(v >> (8 * i));
  };
  std::memcpy(&h[0], "RIFF", 4);
  put(4, uint32_t(36 + data.size()), 4);
  std::memcpy(&h[8], "WAVEfmt ", 8);
  put(16, 16, 4);
  put(20, 1, 2);
  put(22, uint32_t(channels), 2);
  put(24, uint32_t(rate), 4);
  put(28, uint32_t(rate * channels * bits / 8), 4);
  put(32, uint32_t(channels * bits / 8), 2);
  put(34, uint32_t(bits), 2);
  std::memcpy(&h[36], "data", 4);
  put(40, uint32_t(data.size()), 4);
  if (!data.empty()) std::memcpy(&h[44], data.data(), data.size());
  return h;
}

std::u16string WriteTemp(const std::string& name, const std::vector<uint8_t>& bytes) {
  const std::u16string path = (std::filesystem::temp_directory_path() / ("qv_dsp_" + name)).u16string();
  WideFile file;
  EXPECT_TRUE(file.Open(path, FileMode::CreateAlways));
  EXPECT_EQ(int64_t(bytes.size()), file.Write(bytes.data(), bytes.size()));
  return path;
}

// Plays the file to its end through a fresh engine and returns what the
// device played.
std::vector<uint8_t> Play(const std::u16string& path, const EffectParams* params) {
  RecordingNotifySink sink;
  VirtualWaveOut* device = new VirtualWaveOut(VirtualWaveOut::Pace::Instant);
  EngineServices services;
  services.createWaveOut = [device] { return std::unique_ptr<WaveOutDriver>(device); };
  services.notify = &sink;
  EngineHandle engine = Engine_CreateWithServices(services);
  EXPECT_NE(nullptr, engine);
  if (!engine) return {};
  Engine_SetNotifyWindow(engine, reinterpret_cast<WindowHandle>(1));
  Engine_SetVolume(engine, 256);  // unity
  if (params) {
    EXPECT_EQ(1, Engine_SetEffectParams(engine, params));
  }
  std::vector<uint8_t> played;
  if (Engine_OpenFile(engine, path.c_str()) == 1 && Engine_Play(engine) == 1) {
    EXPECT_TRUE(sink.WaitForStatus(0, 1, std::chrono::seconds(60)));
    played = device->Played();
  } else {
    ADD_FAILURE() << "could not play the file";
  }
  Engine_Destroy(engine);
  return played;
}

// Some sample differs from the first one: the device played more than silence.
bool Varies(const std::vector<uint8_t>& played) {
  for (uint8_t b : played)
    if (b != played.front()) return true;
  return false;
}

std::vector<uint8_t> AsBytes(const std::vector<int16_t>& s) {
  std::vector<uint8_t> out(s.size() * 2);
  std::memcpy(out.data(), s.data(), out.size());
  return out;
}

std::vector<int16_t> AsSamples(const std::vector<uint8_t>& b) {
  std::vector<int16_t> out(b.size() / 2);
  std::memcpy(out.data(), b.data(), out.size() * 2);
  return out;
}

TEST(EngineEffects, RecordWithEveryEnableWordZeroPlaysByteIdentical) {
  EffectParams params = DefaultRecord();
  for (auto& band : params.lastEqGain) band[0] = band[1] = 6;
  params.drcEqOn = 1;
  params.bandVolumeRight[1] = 0;

  const std::u16string wav16 = WriteTemp("pass16.wav", Wav(2, 44100, 16, AsBytes(Sine16(1000, 44100, 0.3, 44100, 2))));
  const std::vector<uint8_t> plain16 = Play(wav16, nullptr);
  ASSERT_GT(plain16.size(), 100000u);
  ASSERT_TRUE(Varies(plain16));
  EXPECT_EQ(plain16, Play(wav16, &params));

  std::vector<uint8_t> pcm8(22050);
  for (size_t i = 0; i < pcm8.size(); ++i)
    pcm8[i] = static_cast<uint8_t>(std::lrint(128 + 60 * std::sin(2 * kPi * 440 * i / 22050.0)));
  const std::u16string wav8 = WriteTemp("pass8.wav", Wav(1, 22050, 8, pcm8));
  const std::vector<uint8_t> plain8 = Play(wav8, nullptr);
  ASSERT_GT(plain8.size(), 20000u);
  ASSERT_TRUE(Varies(plain8));
  EXPECT_EQ(plain8, Play(wav8, &params));
}

TEST(EngineEffects, EqualizerRecordChangesWhatIsPlayed) {
  EffectParams params = DefaultRecord();
  params.lastEqOn = 1;
  params.lastEqGain[17][0] = params.lastEqGain[17][1] = 10;
  const std::u16string wav = WriteTemp("eq16.wav", Wav(2, 44100, 16, AsBytes(Sine16(1000, 44100, 0.25, 2 * 44100, 2))));
  const std::vector<int16_t> plain = AsSamples(Play(wav, nullptr));
  const std::vector<int16_t> boosted = AsSamples(Play(wav, &params));
  ASSERT_EQ(plain.size(), boosted.size());
  ASSERT_GT(plain.size(), 100000u);
  const size_t frames = plain.size() / 2;
  for (int c = 0; c < 2; ++c) {
    const double gain = AmplitudeAt(boosted.data(), frames, 2, c, 1000, 44100, frames / 4) /
                        AmplitudeAt(plain.data(), frames, 2, c, 1000, 44100, frames / 4);
    EXPECT_NEAR(10.0, ToDb(gain), 0.05) << "channel " << c;
  }
}

TEST(EngineEffects, StoredRecordIsTheRecordAsGiven) {
  EngineHandle engine = Engine_Create();
  ASSERT_NE(nullptr, engine);
  EffectParams params = DefaultRecord();
  params.compressorAttack[2] = -3;
  params.lastEqGain[4][1] = std::numeric_limits<float>::quiet_NaN();
  params.crossoverHzLeft[2] = 90000;
  ASSERT_EQ(1, Engine_SetEffectParams(engine, &params));
  EffectParams out{};
  ASSERT_EQ(1, Engine_GetEffectParams(engine, &out));
  EXPECT_EQ(0, std::memcmp(&params, &out, sizeof out));

  SmallEffectParams surround{1, 9, 150}, got{};
  EXPECT_EQ(1, Engine_SetEffectByType(engine, 2, &surround));
  EXPECT_EQ(1, Engine_GetEffectByType(engine, 2, &got));
  EXPECT_EQ(1, got.on);
  EXPECT_EQ(0, got.value1);
  EXPECT_EQ(100, got.value2);
  EXPECT_EQ(0, Engine_SetEffectByType(engine, 4, &surround));
  Engine_Destroy(engine);
}

}  // namespace
}  // namespace qv::test
