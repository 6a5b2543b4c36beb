#include "engine/mpeg/mpeg_decoder.h"

#include <mad.h>

#include <algorithm>

namespace qv {

struct MpegDecoder::Mad {
  mad_stream stream;
  mad_frame frame;
  mad_synth synth;
};

MpegDecoder::MpegDecoder(int channels) : mad_(new Mad), channels_(channels == 1 ? 1 : 2) {
  mad_stream_init(&mad_->stream);
  mad_frame_init(&mad_->frame);
  mad_synth_init(&mad_->synth);
}

MpegDecoder::~MpegDecoder() {
  mad_synth_finish(&mad_->synth);
  mad_frame_finish(&mad_->frame);
  mad_stream_finish(&mad_->stream);
}

void MpegDecoder::Reset() {
  Mad& m = *mad_;
  auto* mainData = m.stream.main_data;
  auto* overlap = m.frame.overlap;
  m.stream.main_data = nullptr;
  m.frame.overlap = nullptr;
  mad_synth_finish(&m.synth);
  mad_frame_finish(&m.frame);
  mad_stream_finish(&m.stream);
  mad_stream_init(&m.stream);
  mad_frame_init(&m.frame);
  mad_synth_init(&m.synth);
  // The reservoir is empty (md_len 0); the overlap must be silent.
  m.stream.main_data = mainData;
  m.frame.overlap = overlap;
  mad_frame_mute(&m.frame);
  pendingStart_ = 0;
  pendingFrames_ = 0;
  skip_ = 0;
}

size_t MpegDecoder::Deliver(uint8_t* out, size_t outSpace, DitherChannel* dither) {
  const mad_pcm& pcm = mad_->synth.pcm;
  const size_t frameBytes = 2u * static_cast<size_t>(channels_);
  const unsigned fit = static_cast<unsigned>(std::min<size_t>(pendingFrames_, outSpace / frameBytes));
  // A frame's own channel count may differ from the stream's: a mono frame
  // feeds both channels, a stereo frame in a mono stream gives its left.
  const mad_fixed_t* left = pcm.samples[0] + pendingStart_;
  const mad_fixed_t* right = (pcm.channels >= 2 ? pcm.samples[1] : pcm.samples[0]) + pendingStart_;
  // The records in locals: stores through the byte pointer could alias them.
  DitherChannel l = dither[0], r = dither[1];
  uint8_t* p = out;
  if (channels_ == 2) {
    for (unsigned i = 0; i < fit; ++i, p += 4) {
      const uint16_t a = static_cast<uint16_t>(DitherTo16(left[i], l));
      const uint16_t b = static_cast<uint16_t>(DitherTo16(right[i], r));
      // One little-endian word per frame: the compiler makes it one store.
      const uint32_t frame = uint32_t{a} | uint32_t{b} << 16;
      p[0] = static_cast<uint8_t>(frame);
      p[1] = static_cast<uint8_t>(frame >> 8);
      p[2] = static_cast<uint8_t>(frame >> 16);
      p[3] = static_cast<uint8_t>(frame >> 24);
    }
  } else {
    for (unsigned i = 0; i < fit; ++i, p += 2) {
      const uint16_t a = static_cast<uint16_t>(DitherTo16(left[i], l));
      p[0] = static_cast<uint8_t>(a);
      p[1] = static_cast<uint8_t>(a >> 8);
    }
  }
  dither[0] = l;
  dither[1] = r;
  pendingStart_ += fit;
  pendingFrames_ -= fit;
  return fit * frameBytes;
}

MpegDecoder::Result MpegDecoder::Decode(const uint8_t* input, size_t inputLength, uint8_t* out, size_t outSpace,
                                        DitherChannel* dither, size_t* inputUsed, size_t* outputWritten) {
  *inputUsed = 0;
  *outputWritten = 0;
  if (pendingFrames_ > 0) {
    *outputWritten = Deliver(out, outSpace, dither);
    if (pendingFrames_ > 0) return kOutputFull;
    if (inputLength == 0) return kFrameDone;
  }
  if (inputLength == 0) return kNeedInput;

  Mad& m = *mad_;
  mad_stream_buffer(&m.stream, input, inputLength);
  if (mad_frame_decode(&m.frame, &m.stream) != 0) {
    if (m.stream.error == MAD_ERROR_BUFLEN) return kNeedInput;
    if (!MAD_RECOVERABLE(m.stream.error)) return kFatal;
    // 0x02xx: the header was good, the frame's data was not.
    if ((m.stream.error & 0xFF00) == 0x0200) skip_ -= std::min<uint64_t>(skip_, samplesPerFrame_);
    return kRecoverable;
  }
  mad_synth_frame(&m.synth, &m.frame);
  *inputUsed = static_cast<size_t>(m.stream.next_frame - input);
  const unsigned dropped = static_cast<unsigned>(std::min<uint64_t>(skip_, m.synth.pcm.length));
  skip_ -= dropped;
  pendingStart_ = dropped;
  pendingFrames_ = m.synth.pcm.length - dropped;
  *outputWritten += Deliver(out + *outputWritten, outSpace - *outputWritten, dither);
  return pendingFrames_ > 0 ? kOutputFull : kFrameDone;
}

}  // namespace qv
