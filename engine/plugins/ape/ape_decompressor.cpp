#include "engine/plugins/ape/ape_decompressor.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavformat/avformat.h>
#include <libavutil/dict.h>
#include <libavutil/log.h>
}

#include <algorithm>
#include <limits>
#include <mutex>
#include <string>

#include "engine/plugins/pcm_reduce.h"
#include "platform/text/utf16.h"

namespace qv {

struct ApeDecompressor::Media {
  AVFormatContext* format = nullptr;
  AVCodecContext* codec = nullptr;
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;
  int stream = -1;

  ~Media() {
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&codec);
    avformat_close_input(&format);
  }
};

namespace {

// FFmpeg logs to stderr by default; the engine reports nothing.
void QuietLibrary() {
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

// The sample width of a decoded frame and whether it holds one plane per
// channel.
struct Layout {
  int bytes = 0;
  bool planar = false;
};

Layout FrameLayout(int format) {
  switch (static_cast<AVSampleFormat>(format)) {
    case AV_SAMPLE_FMT_U8P: return {1, true};
    case AV_SAMPLE_FMT_U8: return {1, false};
    case AV_SAMPLE_FMT_S16P: return {2, true};
    case AV_SAMPLE_FMT_S16: return {2, false};
    case AV_SAMPLE_FMT_S32P: return {4, true};
    case AV_SAMPLE_FMT_S32: return {4, false};
    default: return {};
  }
}

// The decoder's sample width for each file width.
int DecodedBytes(int bits) { return bits == 8 ? 1 : bits == 16 ? 2 : 4; }

}  // namespace

ApeDecompressor::ApeDecompressor(std::unique_ptr<Media> media) : media_(std::move(media)) {}

ApeDecompressor::~ApeDecompressor() = default;

std::unique_ptr<ApeDecompressor> ApeDecompressor::Create(const char16_t* path) {
  if (!path || !path[0]) return nullptr;
  QuietLibrary();
  auto media = std::make_unique<Media>();
  const AVInputFormat* ape = av_find_input_format("ape");
  if (!ape) return nullptr;
  // The "file:" prefix and the protocol list keep a name such as
  // "concat:a|b" a plain file name. FFmpeg takes file names as UTF-8 (and
  // opens them by their wide name on Windows).
  const std::string url = "file:" + ToUtf8(path);
  AVDictionary* options = nullptr;
  av_dict_set(&options, "protocol_whitelist", "file", 0);
  const int opened = avformat_open_input(&media->format, url.c_str(), ape, &options);
  av_dict_free(&options);
  if (opened < 0) return nullptr;

  AVFormatContext* format = media->format;
  if (format->nb_streams != 1) return nullptr;
  AVStream* stream = format->streams[0];
  const AVCodecParameters* params = stream->codecpar;
  if (params->codec_id != AV_CODEC_ID_APE) return nullptr;
  const int channels = params->ch_layout.nb_channels;
  const int rate = params->sample_rate;
  const int bits = params->bits_per_coded_sample;
  if (channels <= 0 || channels > 32 || rate <= 0 || (bits != 8 && bits != 16 && bits != 24)) return nullptr;
  if (stream->duration == AV_NOPTS_VALUE || stream->duration < 0) return nullptr;

  const AVCodec* decoder = avcodec_find_decoder(AV_CODEC_ID_APE);
  if (!decoder) return nullptr;
  media->codec = avcodec_alloc_context3(decoder);
  if (!media->codec || avcodec_parameters_to_context(media->codec, params) < 0) return nullptr;
  media->codec->thread_count = 1;
  if (avcodec_open2(media->codec, decoder, nullptr) < 0) return nullptr;
  media->packet = av_packet_alloc();
  media->frame = av_frame_alloc();
  if (!media->packet || !media->frame) return nullptr;
  media->stream = stream->index;

  std::unique_ptr<ApeDecompressor> d(new ApeDecompressor(std::move(media)));
  d->channels_ = channels;
  d->sampleRate_ = rate;
  d->bits_ = bits;
  d->totalBlocks_ = stream->duration;
  d->fileBytes_ = std::max<int64_t>(0, avio_size(format->pb));
  return d;
}

// A damaged header may claim so many blocks that x 1000 would overflow.
int64_t ApeDecompressor::BlocksToMs(int64_t blocks) const {
  return blocks / sampleRate_ * 1000 + blocks % sampleRate_ * 1000 / sampleRate_;
}

int64_t ApeDecompressor::GetInfo(ApeInfo field) const {
  switch (field) {
    case ApeInfo::Channels: return channels_;
    case ApeInfo::SampleRate: return sampleRate_;
    case ApeInfo::BitsPerSample: return bits_;
    case ApeInfo::BlockAlign: return int64_t(channels_) * (bits_ / 8);
    case ApeInfo::TotalBlocks: return totalBlocks_;
    case ApeInfo::LengthMs: return BlocksToMs(totalBlocks_);
    case ApeInfo::AverageBitrate: {
      const int64_t ms = GetInfo(ApeInfo::LengthMs);
      return ms > 0 ? fileBytes_ * 8 / ms : 0;
    }
    case ApeInfo::CurrentBlock: return currentBlock_;
    case ApeInfo::CurrentMs: return BlocksToMs(currentBlock_);
  }
  return 0;
}

int ApeDecompressor::NextFrame() {
  Media& m = *media_;
  for (;;) {
    const int received = avcodec_receive_frame(m.codec, m.frame);
    if (received == 0) {
      const Layout layout = FrameLayout(m.frame->format);
      if (layout.bytes != DecodedBytes(bits_) || m.frame->ch_layout.nb_channels != channels_) return -1;
      frameOffset_ = 0;
      if (skip_ > 0) {
        const int dropped = static_cast<int>(std::min<int64_t>(skip_, m.frame->nb_samples));
        frameOffset_ = dropped;
        skip_ -= dropped;
      }
      if (frameOffset_ < m.frame->nb_samples) return 1;
      continue;
    }
    if (received == AVERROR_EOF) return 0;
    if (received != AVERROR(EAGAIN)) return -1;
    if (inputEnded_) return 0;

    const int read = av_read_frame(m.format, m.packet);
    if (read == AVERROR_EOF) {
      inputEnded_ = true;
      if (avcodec_send_packet(m.codec, nullptr) < 0) return 0;
      continue;
    }
    if (read < 0) return -1;
    if (m.packet->stream_index != m.stream) {
      av_packet_unref(m.packet);
      continue;
    }
    if (awaitingSeekPacket_) {
      // Each packet is one APE frame; its time stamp is its first block.
      awaitingSeekPacket_ = false;
      const int64_t start = m.packet->pts;
      if (start == AV_NOPTS_VALUE || start > seekTarget_) {
        av_packet_unref(m.packet);
        return -1;
      }
      skip_ = seekTarget_ - start;
    }
    const int sent = avcodec_send_packet(m.codec, m.packet);
    av_packet_unref(m.packet);
    if (sent < 0) return -1;
  }
}

void ApeDecompressor::CopyOut(uint8_t* out, int64_t blocks) {
  const AVFrame* frame = media_->frame;
  const Layout layout = FrameLayout(frame->format);
  const int first = frameOffset_;
  if (layout.bytes == 2 && layout.planar) {
    // The decoder's output for 16-bit files: interleaved in one pass.
    InterleavePlanes16(reinterpret_cast<const int16_t* const*>(frame->extended_data), size_t(first),
                       size_t(blocks), uint32_t(channels_), out);
    return;
  }
  for (int64_t b = 0; b < blocks; ++b) {
    const int index = first + static_cast<int>(b);
    for (int c = 0; c < channels_; ++c) {
      const uint8_t* sample = layout.planar ? frame->extended_data[c] + size_t(index) * layout.bytes
                                            : frame->extended_data[0] + (size_t(index) * channels_ + c) * layout.bytes;
      if (layout.bytes == 4) {
        // 24-bit samples come from the decoder in the top bits of 32.
        *out++ = sample[1];
        *out++ = sample[2];
        *out++ = sample[3];
      } else {
        for (int i = 0; i < layout.bytes; ++i) *out++ = sample[i];
      }
    }
  }
}

bool ApeDecompressor::GetData(uint8_t* buffer, int64_t blocks, int64_t* retrieved) {
  *retrieved = 0;
  if (failed_) return false;
  const int64_t blockAlign = GetInfo(ApeInfo::BlockAlign);
  while (*retrieved < blocks) {
    const AVFrame* frame = media_->frame;
    const int left = frame->nb_samples > frameOffset_ ? frame->nb_samples - frameOffset_ : 0;
    if (left > 0) {
      const int64_t n = std::min<int64_t>(left, blocks - *retrieved);
      CopyOut(buffer + *retrieved * blockAlign, n);
      frameOffset_ += static_cast<int>(n);
      *retrieved += n;
      currentBlock_ += n;
      continue;
    }
    const int next = NextFrame();
    if (next == 0) break;
    if (next < 0) {
      // What was decoded before the error is delivered; the error is
      // reported by the next call.
      failed_ = true;
      av_frame_unref(media_->frame);
      return *retrieved > 0;
    }
  }
  return true;
}

bool ApeDecompressor::Seek(int64_t block) {
  Media& m = *media_;
  block = std::clamp<int64_t>(block, 0, totalBlocks_);
  if (av_seek_frame(m.format, m.stream, block, AVSEEK_FLAG_BACKWARD) < 0) return false;
  avcodec_flush_buffers(m.codec);
  av_frame_unref(m.frame);
  frameOffset_ = 0;
  skip_ = 0;
  seekTarget_ = block;
  awaitingSeekPacket_ = true;
  inputEnded_ = false;
  failed_ = false;
  currentBlock_ = block;
  return true;
}

}  // namespace qv
