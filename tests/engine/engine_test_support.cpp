#include "tests/engine/engine_test_support.h"

#include <algorithm>
#include <thread>

#include "platform/files/wide_file.h"
#include "platform/text/utf16.h"

namespace qv::test {

std::u16string HostPath(const std::string& unixPath) {
#ifdef _WIN32
  std::string p = unixPath;
  if (!p.empty() && p[0] == '/') {
    std::replace(p.begin(), p.end(), '/', '\\');
    p = "Z:" + p;
  }
  return FromUtf8(p);
#else
  return FromUtf8(unixPath);
#endif
}

namespace {

void Put16(Bytes& b, size_t at, uint32_t v) {
  b[at] = uint8_t(v);
  b[at + 1] = uint8_t(v >> 8);
}

void Put32(Bytes& b, size_t at, uint32_t v) {
  for (int i = 0; i < 4; ++i) b[at + i] = uint8_t(v >> (8 * i));
}

}  // namespace

TestEngine::TestEngine(VirtualWaveOut::Pace pace, AudioCompressionManager* compression) {
  if (!compression) {
    ownCompression_ = CreateG711CompressionManager();
    compression = ownCompression_.get();
  }
  EngineServices services;
  services.createWaveOut = [this, pace] {
    auto device = std::make_unique<VirtualWaveOut>(pace);
    device_ = device.get();
    return device;
  };
  services.notify = &sink_;
  services.compression = compression;
  services.createCdDevice = [this] { return cd_.NewDevice(); };
  engine_ = Engine_CreateWithServices(services);
  Engine_SetNotifyWindow(engine_, reinterpret_cast<WindowHandle>(0x1234));
  Engine_SetVolume(engine_, 256);
}

TestEngine::~TestEngine() { Engine_Destroy(engine_); }

bool TestEngine::SetOptions(const std::function<void(EngineOptions&)>& change) {
  EngineOptions options;
  Engine_GetOptions(engine_, &options);
  change(options);
  return Engine_SetOptions(engine_, &options) != 0;
}

StatusList TestEngine::PlayToEnd() {
  const StatusList so_far = sink_.Statuses();
  const auto before = std::count_if(so_far.begin(), so_far.end(), [](const auto& s) { return s.first == 0; });
  if (!Engine_Play(engine_)) return {};
  WaitStopped(static_cast<int>(before) + 1);
  return sink_.Statuses();
}

bool TestEngine::WaitStopped(int nth) { return sink_.WaitForStatus(0, nth, std::chrono::seconds(60)); }

std::u16string FixturePath(const std::string& name) { return HostPath(std::string(QV_FIXTURES_DIR) + "/" + name); }

std::u16string TempPath(const std::string& name) { return HostPath(std::string(QV_TEST_TMP_DIR) + "/" + name); }

bool WriteBytes(const std::u16string& path, const Bytes& bytes) {
  WideFile file;
  return file.Open(path, FileMode::CreateAlways) &&
         file.Write(bytes.data(), bytes.size()) == static_cast<int64_t>(bytes.size());
}

Bytes ReadFixtureData(const std::string& name) {
  Bytes all;
  if (!ReadWholeFile(FixturePath(name), 64u << 20, all)) return {};
  // Canonical 44-byte header, as sox writes 8- and 16-bit PCM.
  return Bytes(all.begin() + 44, all.end());
}

WavBuilder::WavBuilder() : bytes_{'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'} {}

WavBuilder& WavBuilder::Chunk(const char* id, const Bytes& payload, int64_t declared) {
  const size_t at = bytes_.size();
  bytes_.insert(bytes_.end(), id, id + 4);
  bytes_.resize(at + 8);
  Put32(bytes_, at + 4, declared >= 0 ? uint32_t(declared) : uint32_t(payload.size()));
  bytes_.insert(bytes_.end(), payload.begin(), payload.end());
  if (payload.size() % 2) bytes_.push_back(0);
  return *this;
}

WavBuilder& WavBuilder::Fmt(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits) {
  const uint16_t align = uint16_t(channels * bits / 8);
  return Chunk("fmt ", FmtPayload(tag, channels, rate, bits, rate * align, align));
}

WavBuilder& WavBuilder::Raw(const Bytes& bytes) {
  bytes_.insert(bytes_.end(), bytes.begin(), bytes.end());
  return *this;
}

Bytes WavBuilder::Build() const {
  Bytes out = bytes_;
  Put32(out, 4, uint32_t(out.size() - 8));
  return out;
}

Bytes FmtPayload(uint16_t tag, uint16_t channels, uint32_t rate, uint16_t bits, uint32_t avgBytes,
                 uint16_t blockAlign) {
  Bytes f(16);
  Put16(f, 0, tag);
  Put16(f, 2, channels);
  Put32(f, 4, rate);
  Put32(f, 8, avgBytes);
  Put16(f, 12, blockAlign);
  Put16(f, 14, bits);
  return f;
}

Bytes PcmWav(uint16_t channels, uint32_t rate, uint16_t bits, const Bytes& data) {
  return WavBuilder().Fmt(1, channels, rate, bits).Data(data).Build();
}

Bytes Pcm16(uint32_t frames, int channels, const std::function<int(uint32_t, int)>& sample) {
  Bytes out;
  out.reserve(size_t(frames) * channels * 2);
  for (uint32_t f = 0; f < frames; ++f)
    for (int c = 0; c < channels; ++c) {
      const int v = std::clamp(sample(f, c), -32768, 32767);
      out.push_back(uint8_t(v & 0xFF));
      out.push_back(uint8_t((v >> 8) & 0xFF));
    }
  return out;
}

Bytes Pcm8(uint32_t frames, int channels, const std::function<int(uint32_t, int)>& sample) {
  Bytes out;
  for (uint32_t f = 0; f < frames; ++f)
    for (int c = 0; c < channels; ++c) out.push_back(uint8_t(std::clamp(sample(f, c), 0, 255)));
  return out;
}

int RampSample(uint32_t frame, int channel) {
  // 1000..31000 and its negative: far from the near-silence band.
  const int v = 1000 + int((frame * 7u + uint32_t(channel) * 3001u) % 30000u);
  return (frame / 3) % 2 ? v : -v;
}

Bytes Scaled(const Bytes& pcm, int bits, int gain) {
  Bytes out = pcm;
  if (gain == 256) return out;
  if (bits == 16) {
    for (size_t i = 0; i + 1 < out.size(); i += 2) {
      const int s = int16_t(out[i] | out[i + 1] << 8);
      const int v = std::clamp((s * gain) >> 8, -32768, 32767);
      out[i] = uint8_t(v & 0xFF);
      out[i + 1] = uint8_t((v >> 8) & 0xFF);
    }
  } else if (bits == 8) {
    for (auto& b : out) b = uint8_t(std::clamp((((int(b) - 128) * gain) >> 8) + 128, 0, 255));
  }
  return out;
}

bool NoRepeatedStatus(const StatusList& statuses) {
  for (size_t i = 1; i < statuses.size(); ++i)
    if (statuses[i].first == statuses[i - 1].first) return false;
  return true;
}

bool WaitUntil(const std::function<bool()>& predicate, std::chrono::milliseconds limit) {
  const auto end = std::chrono::steady_clock::now() + limit;
  while (!predicate()) {
    if (std::chrono::steady_clock::now() > end) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace qv::test
