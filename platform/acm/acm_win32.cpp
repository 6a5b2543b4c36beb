// The audio compression manager of Windows (msacm32).
#include <windows.h>
#include <mmsystem.h>
#include <mmreg.h>
#include <msacm.h>

#include <algorithm>
#include <cstring>

#include "platform/acm/codec_format_check.h"
#include "platform/acm/compression.h"

namespace qv {

namespace {

// The file's format record as the manager reads it: at least a full
// WAVEFORMATEX, with cbSize no larger than the extra bytes actually present.
std::vector<uint8_t> SourceRecord(const WaveFormatBytes& fmt) {
  std::vector<uint8_t> record(std::max<size_t>(fmt.size(), sizeof(WAVEFORMATEX)), 0);
  std::memcpy(record.data(), fmt.data(), fmt.size());
  auto* wf = reinterpret_cast<WAVEFORMATEX*>(record.data());
  const size_t extra = record.size() - sizeof(WAVEFORMATEX);
  if (fmt.size() < sizeof(WAVEFORMATEX) || wf->cbSize > extra) wf->cbSize = static_cast<WORD>(fmt.size() < sizeof(WAVEFORMATEX) ? 0 : extra);
  record.resize(sizeof(WAVEFORMATEX) + wf->cbSize);
  return record;
}

WAVEFORMATEX PcmRecord(const PcmFormat& pcm) {
  WAVEFORMATEX wf = {};
  wf.wFormatTag = WAVE_FORMAT_PCM;
  wf.nChannels = pcm.channels;
  wf.nSamplesPerSec = pcm.samplesPerSec;
  wf.nAvgBytesPerSec = pcm.avgBytesPerSec;
  wf.nBlockAlign = pcm.blockAlign;
  wf.wBitsPerSample = pcm.bitsPerSample;
  return wf;
}

class AcmStream : public AudioConversionStream {
 public:
  explicit AcmStream(HACMSTREAM stream) : stream_(stream) {}
  ~AcmStream() override { acmStreamClose(stream_, 0); }

  uint32_t SourceBytesFor(uint32_t destBytes) override {
    DWORD source = 0;
    if (acmStreamSize(stream_, destBytes, &source, ACM_STREAMSIZEF_DESTINATION) != MMSYSERR_NOERROR) return 0;
    return source;
  }

  bool Convert(const uint8_t* src, uint32_t srcBytes, uint8_t* dest, uint32_t destCapacity, uint32_t* srcUsed,
               uint32_t* destUsed) override {
    ACMSTREAMHEADER header = {};
    static_assert(sizeof header == 84, "stream header");
    header.cbStruct = sizeof header;
    header.pbSrc = const_cast<LPBYTE>(src);
    header.cbSrcLength = srcBytes;
    header.pbDst = dest;
    header.cbDstLength = destCapacity;
    if (acmStreamPrepareHeader(stream_, &header, 0) != MMSYSERR_NOERROR) return false;
    // Whole source blocks only: the rest is fed again with the next call.
    DWORD flags = ACM_STREAMCONVERTF_BLOCKALIGN | (start_ ? ACM_STREAMCONVERTF_START : 0);
    const MMRESULT converted = acmStreamConvert(stream_, &header, flags);
    header.cbSrcLength = srcBytes;
    header.cbDstLength = destCapacity;
    const MMRESULT unprepared = acmStreamUnprepareHeader(stream_, &header, 0);
    if (converted != MMSYSERR_NOERROR || unprepared != MMSYSERR_NOERROR) return false;
    start_ = false;
    *srcUsed = header.cbSrcLengthUsed;
    *destUsed = header.cbDstLengthUsed;
    return true;
  }

  void Reset() override { start_ = true; }

 private:
  HACMSTREAM stream_;
  bool start_ = true;
};

class Win32CompressionManager : public AudioCompressionManager {
 public:
  bool SuggestPcm(const WaveFormatBytes& source, PcmFormat* pcm) override {
    if (!CodecBlockLayoutSane(source)) return false;
    std::vector<uint8_t> src = SourceRecord(source);
    // Room for an 18-byte destination record, asking for the format tag only.
    WAVEFORMATEX dest = {};
    dest.wFormatTag = WAVE_FORMAT_PCM;
    if (acmFormatSuggest(nullptr, reinterpret_cast<WAVEFORMATEX*>(src.data()), &dest, sizeof dest,
                         ACM_FORMATSUGGESTF_WFORMATTAG) != MMSYSERR_NOERROR)
      return false;
    pcm->formatTag = dest.wFormatTag;
    pcm->channels = dest.nChannels;
    pcm->samplesPerSec = dest.nSamplesPerSec;
    pcm->avgBytesPerSec = dest.nAvgBytesPerSec;
    pcm->blockAlign = dest.nBlockAlign;
    pcm->bitsPerSample = dest.wBitsPerSample;
    return true;
  }

  std::unique_ptr<AudioConversionStream> OpenStream(const WaveFormatBytes& source, const PcmFormat& pcm) override {
    if (!CodecBlockLayoutSane(source)) return nullptr;
    std::vector<uint8_t> src = SourceRecord(source);
    WAVEFORMATEX dest = PcmRecord(pcm);
    HACMSTREAM stream = nullptr;
    if (acmStreamOpen(&stream, nullptr, reinterpret_cast<WAVEFORMATEX*>(src.data()), &dest, nullptr, 0, 0,
                      ACM_STREAMOPENF_NONREALTIME) != MMSYSERR_NOERROR)
      return nullptr;
    return std::make_unique<AcmStream>(stream);
  }
};

}  // namespace

std::unique_ptr<AudioCompressionManager> CreateSystemCompressionManager() {
  return std::make_unique<Win32CompressionManager>();
}

}  // namespace qv
