#include "engine/wav/wav_source.h"

#include "engine/wav/wav_layout.h"

namespace qv {

namespace {

constexpr uint16_t kFormatPcm = 1;
constexpr uint32_t kMaxBlockAlign = 4096;
// 32 channels of 32-bit samples at 768 kHz. The output ring grows with the
// byte rate; a damaged header claiming gigabytes per second is refused
// rather than given a ring of that size.
constexpr uint64_t kMaxBytesPerSecond = 768000ull * 32 * 4;

uint16_t U16At(const std::vector<uint8_t>& b, size_t at) { return uint16_t(b[at] | b[at + 1] << 8); }
uint32_t U32At(const std::vector<uint8_t>& b, size_t at) {
  return uint32_t(b[at]) | uint32_t(b[at + 1]) << 8 | uint32_t(b[at + 2]) << 16 | uint32_t(b[at + 3]) << 24;
}

PcmFormat SourceFields(const std::vector<uint8_t>& fmt) {
  PcmFormat f;
  f.formatTag = U16At(fmt, 0);
  f.channels = U16At(fmt, 2);
  f.samplesPerSec = U32At(fmt, 4);
  f.avgBytesPerSec = U32At(fmt, 8);
  f.blockAlign = U16At(fmt, 12);
  f.bitsPerSample = U16At(fmt, 14);
  return f;
}

// A PCM layout the output and the sample routines can carry: whole bytes per
// sample and a frame no larger than the largest block alignment.
bool PlayablePcm(const PcmFormat& f) {
  const uint32_t bits = f.bitsPerSample;
  if (f.channels == 0 || f.samplesPerSec == 0) return false;
  if (bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  const uint32_t frameBytes = uint32_t(f.channels) * (bits / 8);
  return frameBytes <= kMaxBlockAlign && uint64_t(f.samplesPerSec) * frameBytes <= kMaxBytesPerSecond;
}

bool WavOpen(PlayerEngine& engine, const char16_t* path) {
  LockedFile& file = engine.File();
  if (!file.Open(path)) return false;
  auto fail = [&file] {
    file.Close();
    return false;
  };
  WavLayout layout;
  if (!ReadWavLayout(file, &layout)) return fail();

  auto wav = std::make_unique<WavState>();
  wav->source = layout.fmt;
  const PcmFormat src = SourceFields(layout.fmt);
  // Zero fields would divide by zero below and in the output.
  if (src.channels == 0 || src.samplesPerSec == 0 || src.blockAlign == 0 || src.avgBytesPerSec == 0) return fail();
  if (src.blockAlign > kMaxBlockAlign) return fail();

  uint64_t frames = 0;
  if (src.formatTag == kFormatPcm) {
    // PCM is read straight into the blocks and needs no converter.
    if (!PlayablePcm(src)) return fail();
    wav->pcm = true;
    wav->dest = src;
    frames = layout.dataLength / (uint64_t(src.channels) * (src.bitsPerSample / 8));
  } else {
    AudioCompressionManager& acm = engine.Compression();
    if (!acm.SuggestPcm(wav->source, &wav->dest) || !PlayablePcm(wav->dest)) return fail();
    wav->dest.formatTag = kFormatPcm;
    if (layout.factFrames)
      frames = *layout.factFrames;
    else
      frames = layout.dataLength / src.avgBytesPerSec * src.samplesPerSec;
    wav->stream = acm.OpenStream(wav->source, wav->dest);
    if (!wav->stream) return fail();
  }
  wav->dataOffset = layout.dataOffset;
  wav->dataLength = layout.dataLength;
  wav->consumed = 0;
  if (file.Seek(static_cast<int64_t>(layout.dataOffset), LockedFile::Origin::Begin) !=
      static_cast<int64_t>(layout.dataOffset))
    return fail();

  StreamFormat format;
  format.channels = wav->dest.channels;
  format.sampleRate = static_cast<int32_t>(wav->dest.samplesPerSec);
  format.bitrateKbps = static_cast<int32_t>((src.avgBytesPerSec & 0x1FFFFFFF) / 125);
  const int bits = wav->dest.bitsPerSample;
  engine.SetCurrentPath(path);
  engine.SetSource(format, frames, bits, std::move(wav));
  return true;
}

bool WavReposition(PlayerEngine& engine, uint32_t ms) {
  WavState* wav = engine.State<WavState>();
  const PcmFormat src = SourceFields(wav->source);
  const uint64_t frame = uint64_t(ms) * wav->dest.samplesPerSec / 1000;
  uint64_t skip;
  if (wav->pcm) {
    skip = frame * src.channels * (src.bitsPerSample / 8);
  } else {
    skip = uint64_t(ms) * src.avgBytesPerSec / 1000;
    skip -= skip % src.blockAlign;
  }
  const uint64_t offset = wav->dataOffset + skip;
  if (engine.File().Seek(static_cast<int64_t>(offset), LockedFile::Origin::Begin) != static_cast<int64_t>(offset))
    return false;
  wav->consumed = skip;
  engine.RepositionOutput(frame);
  return true;
}

LoopResult WavDecodeLoop(PlayerEngine& engine) {
  WavState* wav = engine.State<WavState>();
  return wav->pcm ? WavPcmLoop(engine, *wav) : WavCompressedLoop(engine, *wav);
}

void WavRewind(PlayerEngine& engine) { WavReposition(engine, 0); }

void WavClose(PlayerEngine& engine) {
  if (WavState* wav = engine.State<WavState>()) wav->stream.reset();
}

}  // namespace

const SourceOps kWavSourceOps = {
    SourceKind::Wave,
    WavOpen,
    WavReposition,
    WavDecodeLoop,
    nullptr,  // playbackStarted
    nullptr,  // playbackEnded
    WavRewind,
    WavClose,
    nullptr,  // tags: WAV files carry none the engine reads
    nullptr,  // fileTags
};

}  // namespace qv
