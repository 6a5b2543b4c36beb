// Plays one second of a generated tone through OutputDevice on the system
// wave-out driver, the way the playback thread does (prebuffer, restart,
// drain), and writes the bytes it submitted to the file named on the command
// line so the test can compare them with what the audio capture received.
//
// With --always-open the device is fed by the output thread, which adds
// silence around (and, if the device runs ahead, inside) the tone. The tone
// is built without zero bytes so the comparison can drop that silence.
#include <atomic>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <cstring>
#include <string>
#include <thread>
#include <vector>

#include "engine/output/output_device.h"
#include "platform/audio/wave_out.h"

namespace {

// Forwards to the system driver and counts the blocks the device hands back.
class CountingDriver : public qv::WaveOutDriver {
 public:
  explicit CountingDriver(qv::WaveOutDriver* inner) : inner_(inner) {}

  int Returned() const { return returned_.load(); }

  int DeviceCount() override { return inner_->DeviceCount(); }
  qv::WaveResult Open(const qv::PcmFormat& format, DoneCallback done, void* context) override {
    done_ = done;
    context_ = context;
    return inner_->Open(format, &CountingDriver::Done, this);
  }
  bool Prepare(qv::WaveBlock* block) override { return inner_->Prepare(block); }
  bool Unprepare(qv::WaveBlock* block) override { return inner_->Unprepare(block); }
  bool Write(qv::WaveBlock* block) override { return inner_->Write(block); }
  bool Pause() override { return inner_->Pause(); }
  bool Restart() override { return inner_->Restart(); }
  bool Reset() override { return inner_->Reset(); }
  uint64_t PositionSamples() override { return inner_->PositionSamples(); }
  bool Close() override { return inner_->Close(); }

 private:
  static void Done(void* context, qv::WaveBlock* block) {
    auto* self = static_cast<CountingDriver*>(context);
    ++self->returned_;
    self->done_(self->context_, block);
  }

  qv::WaveOutDriver* inner_;
  DoneCallback done_ = nullptr;
  void* context_ = nullptr;
  std::atomic<int> returned_{0};
};

int16_t WithoutZeroBytes(int16_t v) {
  auto u = static_cast<uint16_t>(v);
  if ((u & 0xFF00) == 0) u |= 0x0100;
  if ((u & 0x00FF) == 0) u |= 0x0001;
  return static_cast<int16_t>(u);
}

template <typename Condition>
bool WaitFor(Condition condition) {
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(30);
  while (!condition()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(1));
  }
  return true;
}

}  // namespace

int main(int argc, char** argv) {
  const bool alwaysOpen = argc == 3 && std::string(argv[1]) == "--always-open";
  if (argc != 2 && !alwaysOpen) {
    std::fprintf(stderr, "usage: output_capture [--always-open] SUBMITTED.raw\n");
    return 1;
  }
  const char* submittedPath = argv[argc - 1];
  const int rate = 44100, channels = 2;
  std::vector<int16_t> tone(static_cast<size_t>(rate) * channels);
  for (int i = 0; i < rate; ++i) {
    auto v = static_cast<int16_t>(std::lround(9000.0 * std::sin(2.0 * 3.14159265358979 * 660.0 * i / rate)));
    tone[2 * i] = alwaysOpen ? WithoutZeroBytes(v) : v;
    tone[2 * i + 1] = alwaysOpen ? WithoutZeroBytes(static_cast<int16_t>(v / 2)) : static_cast<int16_t>(v / 2);
  }
  const auto* bytes = reinterpret_cast<const uint8_t*>(tone.data());
  const size_t total = tone.size() * sizeof(int16_t);

  auto system = qv::CreateSystemWaveOut();
  if (!system) return 2;
  CountingDriver driver(system.get());
  qv::OutputDevice out(&driver);
  if (!out.Configure(500, alwaysOpen, false) || !out.Open(channels, rate, 16)) {
    std::fprintf(stderr, "the output device did not open\n");
    return 2;
  }
  out.SetVolume(256);
  out.Pause(true);  // nothing plays until the ring is full

  bool started = false;
  int blocks = 0;
  for (size_t offset = 0; offset < total;) {
    qv::WaveBlock* block = out.GetFreeBlock();
    if (!block) return 3;
    const size_t n = std::min<size_t>(out.BlockSize(), total - offset);
    std::memcpy(block->data, bytes + offset, n);
    block->bytesRecorded = static_cast<uint32_t>(n);
    block->bufferLength = static_cast<uint32_t>(n);
    out.Submit(block);
    offset += n;
    ++blocks;
    if (!started && out.AllBlocksQueued()) {
      out.Pause(false);
      started = true;
    }
  }
  out.Pause(false);

  if (!WaitFor([&] { return out.NothingQueued() && out.Drained(); })) {
    std::fprintf(stderr, "the device did not play everything out\n");
    return 4;
  }
  const unsigned long long position = out.Position();
  if (alwaysOpen) {
    // The last audio may still sit in the four device buffers: wait until
    // the device has handed back more buffers than it holds.
    const int target = driver.Returned() + 5;
    if (!WaitFor([&] { return driver.Returned() >= target; })) {
      std::fprintf(stderr, "the output thread stopped feeding the device\n");
      return 4;
    }
  }
  out.Close();

  FILE* file = std::fopen(submittedPath, "wb");
  if (!file || std::fwrite(bytes, 1, total, file) != total) return 5;
  std::fclose(file);
  std::printf("submitted %u bytes in %d blocks; position %llu frames; %d device returns\n",
              static_cast<unsigned>(total), blocks, position, driver.Returned());
  return position == total / 4 ? 0 : 6;
}
