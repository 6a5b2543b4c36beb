// FFmpeg's demuxer and decoder over the file, each decoded frame converted
// to interleaved 16-bit PCM by the routines the player's plug-ins use: 16-bit
// samples as they are, float samples x 32768 rounded to the nearest and
// clipped.
extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/log.h>
}

#include <algorithm>
#include <initializer_list>
#include <memory>
#include <vector>

#include "bench/bare_loops.h"
#include "engine/plugins/pcm_reduce.h"

namespace bench {

namespace {

struct Media {
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;
  ~Media() {
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
  }
};

void Put16(uint8_t* out, int16_t v) {
  out[0] = static_cast<uint8_t>(v & 0xFF);
  out[1] = static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8);
}

// The plug-ins' own conversions; false for a sample format they do not
// deliver as 16 bits.
bool Interleave(const AVFrame* f, int channels, std::vector<uint8_t>& pcm) {
  const size_t n = size_t(f->nb_samples), samples = n * channels;
  if (pcm.size() < samples * 2) pcm.resize(samples * 2);
  uint8_t* p = pcm.data();
  const uint8_t* const* d = f->extended_data;
  switch (static_cast<AVSampleFormat>(f->format)) {
    case AV_SAMPLE_FMT_S16P:
      qv::InterleavePlanes16(reinterpret_cast<const int16_t* const*>(d), 0, n, channels, p);
      return true;
    case AV_SAMPLE_FMT_S16:
      for (size_t i = 0; i < samples; ++i, p += 2) Put16(p, reinterpret_cast<const int16_t*>(d[0])[i]);
      return true;
    case AV_SAMPLE_FMT_FLTP:
      qv::InterleaveFloatPlanes16(reinterpret_cast<const float* const*>(d), n, channels, p);
      return true;
    case AV_SAMPLE_FMT_FLT:
      for (size_t i = 0; i < samples; ++i, p += 2) Put16(p, qv::FloatTo16(reinterpret_cast<const float*>(d[0])[i]));
      return true;
    default:
      return false;
  }
}

// Decodes the first audio stream when its codec is one of `accepted`.
bool Decode(const std::string& path, const char* demuxer, std::initializer_list<AVCodecID> accepted, BareResult* out,
            std::string* error) {
  av_log_set_level(AV_LOG_QUIET);
  Media m;
  const AVInputFormat* input = av_find_input_format(demuxer);
  AVDictionary* options = nullptr;
  av_dict_set(&options, "protocol_whitelist", "file", 0);
  const std::string url = "file:" + path;
  const int opened = input ? avformat_open_input(&m.format, url.c_str(), input, &options) : -1;
  av_dict_free(&options);
  // No stream probing: the headers of both formats describe the stream, and
  // the plug-ins do not probe either.
  if (opened < 0) {
    *error = std::string("cannot open as ") + demuxer + ": " + path;
    return false;
  }
  const int stream = av_find_best_stream(m.format, AVMEDIA_TYPE_AUDIO, -1, -1, nullptr, 0);
  const AVCodecParameters* params = stream >= 0 ? m.format->streams[stream]->codecpar : nullptr;
  const bool known = params && std::find(accepted.begin(), accepted.end(), params->codec_id) != accepted.end();
  const AVCodec* decoder = known ? avcodec_find_decoder(params->codec_id) : nullptr;
  if (!decoder) {
    *error = std::string("no ") + demuxer + " audio stream this benchmark decodes in " + path;
    return false;
  }
  m.codec = avcodec_alloc_context3(decoder);
  m.packet = av_packet_alloc();
  m.frame = av_frame_alloc();
  if (!m.codec || !m.packet || !m.frame || avcodec_parameters_to_context(m.codec, params) < 0) {
    *error = "no memory for the decoder";
    return false;
  }
  m.codec->thread_count = 1;
  if (avcodec_open2(m.codec, decoder, nullptr) < 0) {
    *error = std::string("the decoder refuses the stream of ") + path;
    return false;
  }
  out->channels = params->ch_layout.nb_channels;
  out->rate = params->sample_rate;
  std::vector<uint8_t> pcm;
  bool inputEnded = false;
  for (;;) {
    const int received = avcodec_receive_frame(m.codec, m.frame);
    if (received == 0) {
      if (m.frame->ch_layout.nb_channels != out->channels || !Interleave(m.frame, out->channels, pcm)) {
        *error = "unexpected decoded format in " + path;
        return false;
      }
      out->frames += uint64_t(m.frame->nb_samples);
      out->checksum += pcm[0];
      av_frame_unref(m.frame);
      continue;
    }
    if (received == AVERROR_EOF) break;
    if (received != AVERROR(EAGAIN) || inputEnded) {
      *error = "decoding failed: " + path;
      return false;
    }
    const int read = av_read_frame(m.format, m.packet);
    if (read < 0) {
      // The end of the file (or unreadable rest): the decoder gives what it holds.
      inputEnded = true;
      avcodec_send_packet(m.codec, nullptr);
      continue;
    }
    // A packet the decoder refuses is dropped, as the plug-ins drop it.
    if (m.packet->stream_index == stream) avcodec_send_packet(m.codec, m.packet);
    av_packet_unref(m.packet);
  }
  if (out->frames == 0) {
    *error = "no audio decoded from " + path;
    return false;
  }
  return true;
}

}  // namespace

bool BareApe(const std::string& path, BareResult* out, std::string* error) {
  return Decode(path, "ape", {AV_CODEC_ID_APE}, out, error);
}

bool BareWma(const std::string& path, BareResult* out, std::string* error) {
  return Decode(path, "asf", {AV_CODEC_ID_WMAV1, AV_CODEC_ID_WMAV2}, out, error);
}

}  // namespace bench
