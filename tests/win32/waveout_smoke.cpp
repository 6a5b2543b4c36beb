// Plays one second of a 440 Hz tone through wave-out on the wave mapper and
// writes the bytes it submitted to the file named on the command line, so the
// test can compare them with what the audio capture received.
#include <windows.h>
#include <mmsystem.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <vector>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    std::fprintf(stderr, "usage: waveout_smoke SUBMITTED.raw\n");
    return 1;
  }
  const int rate = 44100, channels = 2;
  std::vector<int16_t> pcm(rate * channels);
  for (int i = 0; i < rate; ++i) {
    auto v = static_cast<int16_t>(std::lround(12000.0 * std::sin(2.0 * 3.14159265358979 * 440.0 * i / rate)));
    pcm[2 * i] = v;
    pcm[2 * i + 1] = static_cast<int16_t>(-v);
  }

  WAVEFORMATEX fmt = {};
  fmt.wFormatTag = WAVE_FORMAT_PCM;
  fmt.nChannels = channels;
  fmt.nSamplesPerSec = rate;
  fmt.wBitsPerSample = 16;
  fmt.nBlockAlign = channels * 2;
  fmt.nAvgBytesPerSec = rate * fmt.nBlockAlign;

  HANDLE done = CreateEventW(nullptr, FALSE, FALSE, nullptr);
  HWAVEOUT wave = nullptr;
  MMRESULT r = waveOutOpen(&wave, WAVE_MAPPER, &fmt, reinterpret_cast<DWORD_PTR>(done), 0, CALLBACK_EVENT);
  if (r != MMSYSERR_NOERROR) {
    std::fprintf(stderr, "waveOutOpen failed: %u\n", r);
    return 2;
  }
  WaitForSingleObject(done, 1000);  // the open notification

  // Four blocks, as a player queues them.
  const size_t blocks = 4, bytes = pcm.size() * sizeof(int16_t), per = bytes / blocks;
  std::vector<WAVEHDR> headers(blocks);
  for (size_t b = 0; b < blocks; ++b) {
    WAVEHDR& h = headers[b];
    h.lpData = reinterpret_cast<LPSTR>(pcm.data()) + b * per;
    h.dwBufferLength = static_cast<DWORD>(b + 1 == blocks ? bytes - b * per : per);
    waveOutPrepareHeader(wave, &h, sizeof h);
    if (waveOutWrite(wave, &h, sizeof h) != MMSYSERR_NOERROR) {
      std::fprintf(stderr, "waveOutWrite failed\n");
      return 2;
    }
  }
  DWORD start = GetTickCount();
  for (;;) {
    bool all = true;
    for (auto& h : headers) all = all && (h.dwFlags & WHDR_DONE);
    if (all) break;
    if (GetTickCount() - start > 20000) {
      std::fprintf(stderr, "blocks did not come back\n");
      return 3;
    }
    WaitForSingleObject(done, 100);
  }
  for (auto& h : headers) waveOutUnprepareHeader(wave, &h, sizeof h);
  waveOutClose(wave);

  FILE* out = _wfopen(argv[1], L"wb");
  if (!out || std::fwrite(pcm.data(), 1, bytes, out) != bytes) return 4;
  std::fclose(out);
  std::printf("submitted %u bytes\n", static_cast<unsigned>(bytes));
  return 0;
}
