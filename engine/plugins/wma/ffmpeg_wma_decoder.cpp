#include "engine/plugins/wma/ffmpeg_wma_decoder.h"

extern "C" {
#include <libavcodec/avcodec.h>
#include <libavutil/channel_layout.h>
#include <libavutil/log.h>
#include <libavutil/mem.h>
}

#include <algorithm>
#include <cmath>
#include <cstring>
#include <mutex>

#include "engine/plugins/pcm_reduce.h"
#include "engine/plugins/wma/wave_format.h"

namespace qv {

struct FfmpegWmaDecoder::Codec {
  AVCodecContext* context = nullptr;
  AVPacket* packet = nullptr;
  AVFrame* frame = nullptr;

  ~Codec() {
    av_frame_free(&frame);
    av_packet_free(&packet);
    avcodec_free_context(&context);
  }
};

namespace {

// Input held beyond this waits for the output to be taken first.
constexpr size_t kMaxQueuedInput = 1 << 20;

void QuietLibrary() {
  static std::once_flag once;
  std::call_once(once, [] { av_log_set_level(AV_LOG_QUIET); });
}

bool IsWaveFormatType(const MediaType& type) {
  return type.majorType == kMediaTypeAudio && type.formatType == kFormatWaveFormatEx;
}

bool KnownFormat(int format) {
  switch (static_cast<AVSampleFormat>(format)) {
    case AV_SAMPLE_FMT_FLTP:
    case AV_SAMPLE_FMT_FLT:
    case AV_SAMPLE_FMT_S16P:
    case AV_SAMPLE_FMT_S16: return true;
    default: return false;
  }
}

void Put16(uint8_t* out, int16_t v) {
  out[0] = static_cast<uint8_t>(v & 0xFF);
  out[1] = static_cast<uint8_t>(static_cast<uint16_t>(v) >> 8);
}

// A decoded frame (of a known format) as interleaved 16-bit PCM: the format
// chosen once per frame, not per sample.
void FrameTo16(const AVFrame* f, int channels, uint8_t* out) {
  const uint8_t* const* d = f->extended_data;
  const size_t frames = static_cast<size_t>(f->nb_samples), samples = frames * channels;
  switch (static_cast<AVSampleFormat>(f->format)) {
    case AV_SAMPLE_FMT_FLTP:
      InterleaveFloatPlanes16(reinterpret_cast<const float* const*>(d), frames, channels, out);
      return;
    case AV_SAMPLE_FMT_FLT:
      for (size_t i = 0; i < samples; ++i, out += 2) Put16(out, FloatTo16(reinterpret_cast<const float*>(d[0])[i]));
      return;
    case AV_SAMPLE_FMT_S16P:
      InterleavePlanes16(reinterpret_cast<const int16_t* const*>(d), 0, frames, channels, out);
      return;
    default:
      for (size_t i = 0; i < samples; ++i, out += 2) Put16(out, reinterpret_cast<const int16_t*>(d[0])[i]);
      return;
  }
}

}  // namespace

FfmpegWmaDecoder::FfmpegWmaDecoder() { QuietLibrary(); }

FfmpegWmaDecoder::~FfmpegWmaDecoder() = default;

bool FfmpegWmaDecoder::SetInputType(const MediaType& type) {
  WaveFormat f;
  if (!IsWaveFormatType(type) || !ParseWaveFormat(type.format.data(), type.format.size(), &f)) return false;
  if ((f.formatTag != kWaveFormatWmaV1 && f.formatTag != kWaveFormatWmaV2) || type.subType != AudioSubtype(f.formatTag))
    return false;
  if (f.channels < 1 || f.channels > 2 || f.sampleRate < 1 || f.sampleRate > 50000 || f.blockAlign == 0 ||
      f.avgBytesPerSec == 0)
    return false;
  FreeStreamingResources();
  inputFormat_ = type.format;
  formatTag_ = f.formatTag;
  channels_ = f.channels;
  sampleRate_ = f.sampleRate;
  avgBytesPerSec_ = f.avgBytesPerSec;
  blockAlign_ = f.blockAlign;
  outputSet_ = false;
  return true;
}

bool FfmpegWmaDecoder::SetOutputType(const MediaType& type) {
  WaveFormat f;
  if (formatTag_ == 0 || !IsWaveFormatType(type) || type.subType != AudioSubtype(kWaveFormatPcm) ||
      !ParseWaveFormat(type.format.data(), type.format.size(), &f))
    return false;
  if (f.formatTag != kWaveFormatPcm || f.channels != channels_ || f.sampleRate != sampleRate_ || f.bitsPerSample != 16)
    return false;
  outputSet_ = true;
  return true;
}

bool FfmpegWmaDecoder::AllocateStreamingResources() {
  if (codec_) return true;
  if (!outputSet_) return false;
  const AVCodec* decoder = avcodec_find_decoder(formatTag_ == kWaveFormatWmaV1 ? AV_CODEC_ID_WMAV1 : AV_CODEC_ID_WMAV2);
  if (!decoder) return false;
  auto codec = std::make_unique<Codec>();
  codec->context = avcodec_alloc_context3(decoder);
  codec->packet = av_packet_alloc();
  codec->frame = av_frame_alloc();
  if (!codec->context || !codec->packet || !codec->frame) return false;
  AVCodecContext* c = codec->context;
  c->sample_rate = static_cast<int>(sampleRate_);
  av_channel_layout_default(&c->ch_layout, channels_);
  c->bit_rate = int64_t(avgBytesPerSec_) * 8;
  c->block_align = blockAlign_;
  c->thread_count = 1;
  WaveFormat f;
  ParseWaveFormat(inputFormat_.data(), inputFormat_.size(), &f);
  if (f.extraSize > 0) {
    c->extradata = static_cast<uint8_t*>(av_mallocz(f.extraSize + AV_INPUT_BUFFER_PADDING_SIZE));
    if (!c->extradata) return false;
    std::memcpy(c->extradata, f.extra, f.extraSize);
    c->extradata_size = static_cast<int>(f.extraSize);
  }
  if (avcodec_open2(c, decoder, nullptr) < 0) return false;
  codec_ = std::move(codec);
  pending_.reserve(size_t(avgBytesPerSec_) * 4);
  return true;
}

void FfmpegWmaDecoder::FreeStreamingResources() {
  codec_.reset();
  ClearInput();
  pending_.clear();
  pendingAt_ = pendingEnd_ = 0;
  discontinuity_ = false;
}

bool FfmpegWmaDecoder::HoldsOutput() const {
  return pendingAt_ < pendingEnd_ || Queued() >= blockAlign_ || discontinuity_;
}

InputResult FfmpegWmaDecoder::ProcessInput(CMediaBuffer* buffer, bool) {
  if (!buffer || !AllocateStreamingResources()) return InputResult::Failed;
  if (HoldsOutput()) return InputResult::NotAccepting;
  uint8_t* data = nullptr;
  uint32_t length = 0;
  if (!ComSucceeded(buffer->GetBufferAndLength(&data, &length))) return InputResult::Failed;
  if (length > kMaxQueuedInput - Queued()) return InputResult::NotAccepting;
  if (inputAt_ > 0) {
    input_.erase(input_.begin(), input_.begin() + static_cast<std::ptrdiff_t>(inputAt_));
    inputAt_ = 0;
  }
  input_.insert(input_.end(), data, data + length);
  return InputResult::Accepted;
}

OutputResult FfmpegWmaDecoder::ProcessOutput(CMediaBuffer* buffer, bool* more) {
  *more = false;
  if (!buffer || !codec_) return OutputResult::Failed;
  uint8_t* data = nullptr;
  uint32_t length = 0, maxLength = 0;
  if (!ComSucceeded(buffer->GetBufferAndLength(&data, &length)) || !ComSucceeded(buffer->GetMaxLength(&maxLength)) ||
      length > maxLength)
    return OutputResult::Failed;
  const uint32_t start = length;
  for (;;) {
    const size_t n = std::min<size_t>(pendingEnd_ - pendingAt_, maxLength - length);
    if (n > 0) std::memcpy(data + length, pending_.data() + pendingAt_, n);
    length += static_cast<uint32_t>(n);
    pendingAt_ += n;
    if (pendingAt_ < pendingEnd_) {
      *more = true;
      break;
    }
    pendingAt_ = pendingEnd_ = 0;
    if (Queued() >= blockAlign_) {
      DecodeBlock();
    } else if (discontinuity_) {
      DrainCodec();
    } else {
      break;
    }
  }
  buffer->SetLength(length);
  return length > start ? OutputResult::Data : OutputResult::NoOutput;
}

void FfmpegWmaDecoder::Discontinuity() {
  if (codec_) discontinuity_ = true;
}

void FfmpegWmaDecoder::Flush() {
  if (codec_) avcodec_flush_buffers(codec_->context);
  ClearInput();
  pendingAt_ = pendingEnd_ = 0;
  discontinuity_ = false;
}

// A block the decoder refuses is dropped: the next one decodes on its own.
void FfmpegWmaDecoder::DecodeBlock() {
  AVPacket* p = codec_->packet;
  p->data = input_.data() + inputAt_;
  p->size = blockAlign_;
  const int sent = avcodec_send_packet(codec_->context, p);
  p->data = nullptr;
  p->size = 0;
  inputAt_ += blockAlign_;
  if (sent >= 0) ReceiveFrames();
}

// The end of the input: what the decoder holds back comes out, then it is
// ready for a new stretch of input.
void FfmpegWmaDecoder::DrainCodec() {
  if (avcodec_send_packet(codec_->context, nullptr) >= 0) ReceiveFrames();
  avcodec_flush_buffers(codec_->context);
  ClearInput();
  discontinuity_ = false;
}

void FfmpegWmaDecoder::ReceiveFrames() {
  AVFrame* f = codec_->frame;
  while (avcodec_receive_frame(codec_->context, f) >= 0) {
    const int channels = f->ch_layout.nb_channels;
    if (channels == channels_ && KnownFormat(f->format) && f->nb_samples > 0) {
      const size_t at = pendingEnd_, end = at + size_t(f->nb_samples) * channels * 2;
      if (pending_.size() < end) pending_.resize(end);
      FrameTo16(f, channels, pending_.data() + at);
      pendingEnd_ = end;
    }
    av_frame_unref(f);
  }
}

void FfmpegWmaDecoder::ClearInput() {
  input_.clear();
  inputAt_ = 0;
}

}  // namespace qv
