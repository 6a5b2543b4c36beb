// libFLAC's stream decoder over the file, each frame interleaved to 16 bits.
#include <FLAC/stream_decoder.h>

#include <vector>

#include "bench/bare_loops.h"
#include "bench/bench_file.h"
#include "engine/plugins/pcm_reduce.h"

namespace bench {

namespace {

struct Sink {
  BareResult* out;
  std::vector<uint8_t> pcm;
  bool wrongWidth = false;
};

// Interleaved by the FLAC plug-in's own routine.
FLAC__StreamDecoderWriteStatus Write(const FLAC__StreamDecoder*, const FLAC__Frame* frame,
                                     const FLAC__int32* const buffer[], void* context) {
  Sink& sink = *static_cast<Sink*>(context);
  const unsigned channels = frame->header.channels, length = frame->header.blocksize;
  if (frame->header.bits_per_sample != 16) {
    sink.wrongWidth = true;
    return FLAC__STREAM_DECODER_WRITE_STATUS_ABORT;
  }
  if (sink.pcm.size() < size_t(length) * channels * 2) sink.pcm.resize(size_t(length) * channels * 2);
  qv::InterleaveReduced(buffer, length, channels, 16, sink.pcm.data());
  sink.out->frames += length;
  sink.out->channels = static_cast<int>(channels);
  sink.out->rate = static_cast<int>(frame->header.sample_rate);
  sink.out->checksum += sink.pcm[0];
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
