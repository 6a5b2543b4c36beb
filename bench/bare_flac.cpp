// libFLAC's stream decoder over the file, each frame interleaved to 16 bits.
#include <FLAC/stream_decoder.h>

#include <vector>

#include "bench/bare_loops.h"
#include "bench/bench_file.h"

namespace bench {

namespace {

struct Sink {
  BareResult* out;
  std::vector<int16_t> pcm;
  bool wrongWidth = false;
};

FLAC__StreamDecoderWriteStatus Write(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                     const FLAC__int32* const buffer[], void* context) {
  Sink& sink = *static_cast<Sink*>(context);
  const unsigned channels = frame->header.channels, length = frame->header.blocksize;
  if (frame->header.bits_per_sample != 16) {
    sink.wrongWidth = true;
    return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
  }
  if (sink.pcm.size() < size_t(length) * channels) sink.pcm.resize(size_t(length) * channels);
  int16_t* p = sink.pcm.data();
  if (channels == 2) {
    const FLAC__int32 *l = buffer[0], *r = buffer[1];
    for (unsigned i = 0; i < length; ++i) {
      *p++ = static_cast<int16_t>(l[i]);
      *p++ = static_cast<int16_t>(r[i]);
    }
  } else {
    for (unsigned i = 0; i < length; ++i)
      for (unsigned c = 0; c < channels; ++c) *p++ = static_cast<int16_t>(buffer[c][i]);
  }
  sink.out->frames += length;
  sink.out->channels = static_cast<int>(channels);
  sink.out->rate = static_cast<int>(frame->header.sample_rate);
  sink.out->checksum += static_cast<uint16_t>(sink.pcm[0]);
  return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

void Error(const FLAC__StreamDecoder*, FLAC__StreamDecoderErrorStatus, void*) {}

}  // namespace

bool BareFlac(const std::string& path, BareResult* out, std::string* error) {
  std::FILE* file = OpenForReading(path);
  if (!file) {
    *error = "cannot open " + path;
    return false;
  }
  FLAC__StreamDecoder* decoder = FLAC__stream_decoder_new();
  if (!decoder) {
    std::fclose(file);
    *error = "no memory for the FLAC decoder";
    return false;
  }
  Sink sink{out, {}};
  // The decoder closes the file when it finishes.
  bool ok = FLAC__stream_decoder_init_FILE(decoder, file, Write, nullptr, Error, &sink) ==
            FLAC__STREAM_DECODER_INIT_STATUS_OK;
  if (!ok) std::fclose(file);
  ok = ok && FLAC__stream_decoder_process_until_end_of_stream(decoder);
  FLAC__stream_decoder_finish(decoder);
  FLAC__stream_decoder_delete(decoder);
  if (!ok || out->frames == 0) {
    *error = sink.wrongWidth ? "not a 16-bit FLAC stream: " + path : "decoding failed: " + path;
    return false;
  }
  return true;
}

}  // namespace bench
