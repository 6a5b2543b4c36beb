// libmad over the file in 16 KiB reads, as the engine reads it, each frame
// decoded, synthesised and converted to interleaved 16-bit PCM.
#include <mad.h>

#include <cstring>
#include <vector>

#include "bench/bare_loops.h"
#include "bench/bench_file.h"
#include "engine/mpeg/mpeg_dither.h"

namespace bench {

namespace {

constexpr size_t kInputBytes = 16384;

int16_t Round16(mad_fixed_t s) {
  s += 1L << (MAD_F_FRACBITS - 16);
  if (s >= MAD_F_ONE) s = MAD_F_ONE - 1;
  if (s < -MAD_F_ONE) s = -MAD_F_ONE;
  return static_cast<int16_t>(s >> (MAD_F_FRACBITS + 1 - 16));
}

struct Mad {
  mad_stream stream;
  mad_frame frame;
  mad_synth synth;
  Mad() {
    mad_stream_init(&stream);
    mad_frame_init(&frame);
    mad_synth_init(&synth);
  }
  ~Mad() {
    mad_synth_finish(&synth);
    mad_frame_finish(&frame);
    mad_stream_finish(&stream);
  }
};

// Converts one synthesised frame; the stream's channel count is the first
// frame's (a mono frame feeds both channels of a stereo stream).
template <bool kDither>
void Convert(const mad_pcm& pcm, int channels, int16_t* out, qv::DitherChannel* dither) {
  const mad_fixed_t* left = pcm.samples[0];
  const mad_fixed_t* right = pcm.samples[pcm.channels > 1 ? 1 : 0];
  qv::DitherChannel l = dither[0], r = dither[1];
  for (unsigned i = 0; i < pcm.length; ++i) {
    if (kDither) {
      *out++ = qv::DitherTo16(left[i], l);
      if (channels == 2) *out++ = qv::DitherTo16(right[i], r);
    } else {
      *out++ = Round16(left[i]);
      if (channels == 2) *out++ = Round16(right[i]);
    }
  }
  dither[0] = l;
  dither[1] = r;
}

}  // namespace

bool BareMp3(const std::string& path, bool dither, BareResult* out, std::string* error) {
  std::FILE* file = OpenForReading(path);
  if (!file) {
    *error = "cannot open " + path;
    return false;
  }
  std::vector<unsigned char> input(kInputBytes + MAD_BUFFER_GUARD);
  std::vector<int16_t> pcm(1152 * 2);
  qv::DitherChannel records[2];
  Mad mad;
  size_t held = 0;
  bool ended = false;
  for (;;) {
    if (mad.stream.buffer == nullptr || mad.stream.error == MAD_ERROR_BUFLEN) {
      if (ended) break;
      // Keeps the bytes of the frame not yet decoded and reads after them.
      held = mad.stream.next_frame ? static_cast<size_t>(mad.stream.bufend - mad.stream.next_frame) : 0;
      if (held > 0) std::memmove(input.data(), mad.stream.next_frame, held);
      const size_t got = std::fread(input.data() + held, 1, kInputBytes - held, file);
      if (got == 0) {
        // libmad decodes the last frame only with guard bytes after it.
        std::memset(input.data() + held, 0, MAD_BUFFER_GUARD);
        held += MAD_BUFFER_GUARD;
        ended = true;
      } else {
        held += got;
      }
      mad_stream_buffer(&mad.stream, input.data(), held);
      mad.stream.error = MAD_ERROR_NONE;
    }
    if (mad_frame_decode(&mad.frame, &mad.stream) != 0) {
      if (MAD_RECOVERABLE(mad.stream.error) || mad.stream.error == MAD_ERROR_BUFLEN) continue;
      break;
    }
    mad_synth_frame(&mad.synth, &mad.frame);
    if (out->channels == 0) {
      out->channels = mad.synth.pcm.channels > 1 ? 2 : 1;
      out->rate = static_cast<int>(mad.synth.pcm.samplerate);
    }
    if (dither)
      Convert<true>(mad.synth.pcm, out->channels, pcm.data(), records);
    else
      Convert<false>(mad.synth.pcm, out->channels, pcm.data(), records);
    out->frames += mad.synth.pcm.length;
    out->checksum += static_cast<uint16_t>(pcm[0]);
  }
  const bool readFailed = std::ferror(file) != 0;
  std::fclose(file);
  if (readFailed || out->frames == 0) {
    *error = readFailed ? "read error in " + path : "no MPEG audio frames in " + path;
    return false;
  }
  return true;
}

}  // namespace bench
