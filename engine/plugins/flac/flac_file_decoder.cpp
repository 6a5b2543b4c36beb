#include "engine/plugins/flac/flac_file_decoder.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "engine/plugins/flac/wide_stdio.h"
#include "engine/plugins/pcm_reduce.h"

namespace qv {

namespace {

constexpr uint32_t kMaxChannels = 8;
constexpr size_t kStdioBufferBytes = 65536;

int32_t ClampToInt32(double v) {
  if (!(v > 0)) return 0;
  return v >= double(std::numeric_limits<int32_t>::max()) ? std::numeric_limits<int32_t>::max()
                                                           : static_cast<int32_t>(v);
}

}  // namespace

FileDecoder::~FileDecoder() {
  finish();
  if (file_) std::fclose(file_);
}

bool FileDecoder::Open(const char16_t* path) {
  file_ = OpenWideStdio(path);
  if (!file_) return false;
  // libFLAC reads a few KiB at a time: a larger buffer saves system reads.
  // Given by the caller (the C library may ignore the size otherwise); it
  // outlives the file, which the destructor closes first.
  stdioBuffer_.reset(new (std::nothrow) char[kStdioBufferBytes]);
  if (stdioBuffer_) std::setvbuf(file_, stdioBuffer_.get(), _IOFBF, kStdioBufferBytes);
  const int64_t size = StdioFileSize(file_);
  if (size < 0) return false;
  fileSize_ = static_cast<uint64_t>(size);
  set_metadata_ignore_all();
  set_metadata_respond(FLAC__METADATA_TYPE_STREAMINFO);
  set_metadata_respond(FLAC__METADATA_TYPE_VORBIS_COMMENT);
  if (init() != FLAC__STREAM_DECODER_INIT_STATUS_OK) return false;
  if (!process_until_end_of_metadata()) return false;
  return channels_ > 0 && channels_ <= kMaxChannels && sampleRate_ > 0 && bits_ >= 4 && bits_ <= 32;
}

PluginFileInfo FileDecoder::Info() const {
  return PluginFileInfo{static_cast<int32_t>(channels_), static_cast<int32_t>(sampleRate_), outBits_, bitrateKbps_,
                        durationMs_};
}

::FLAC__StreamDecoderReadStatus FileDecoder::read_callback(FLAC__byte buffer[], size_t* bytes) {
  if (*bytes == 0) return FLAC__STREAM_DECODER_READ_STATUS_ABORT;
  *bytes = std::fread(buffer, 1, *bytes, file_);
  if (std::ferror(file_)) return FLAC__STREAM_DECODER_READ_STATUS_ABORT;
  return *bytes == 0 ? FLAC__STREAM_DECODER_READ_STATUS_END_OF_STREAM : FLAC__STREAM_DECODER_READ_STATUS_CONTINUE;
}

::FLAC__StreamDecoderSeekStatus FileDecoder::seek_callback(FLAC__uint64 absolute_byte_offset) {
  if (absolute_byte_offset > fileSize_) return FLAC__STREAM_DECODER_SEEK_STATUS_ERROR;
  return StdioSeek(file_, static_cast<int64_t>(absolute_byte_offset)) ? FLAC__STREAM_DECODER_SEEK_STATUS_OK
                                                                      : FLAC__STREAM_DECODER_SEEK_STATUS_ERROR;
}

::FLAC__StreamDecoderTellStatus FileDecoder::tell_callback(FLAC__uint64* absolute_byte_offset) {
  const int64_t at = StdioTell(file_);
  if (at < 0) return FLAC__STREAM_DECODER_TELL_STATUS_ERROR;
  *absolute_byte_offset = static_cast<FLAC__uint64>(at);
  return FLAC__STREAM_DECODER_TELL_STATUS_OK;
}

::FLAC__StreamDecoderLengthStatus FileDecoder::length_callback(FLAC__uint64* stream_length) {
  *stream_length = fileSize_;
  return FLAC__STREAM_DECODER_LENGTH_STATUS_OK;
}

bool FileDecoder::eof_callback() {
  const int64_t at = StdioTell(file_);
  return at < 0 || static_cast<uint64_t>(at) >= fileSize_;
}

void FileDecoder::metadata_callback(const ::FLAC__StreamMetadata* metadata) {
  if (metadata->type != FLAC__METADATA_TYPE_STREAMINFO) return;
  const auto& info = metadata->data.stream_info;
  channels_ = info.channels;
  sampleRate_ = info.sample_rate;
  bits_ = static_cast<int>(info.bits_per_sample);
  outBits_ = DeliveredBits(bits_);
  totalSamples_ = info.total_samples;
  // A stream that does not state its length has neither duration nor bitrate.
  if (totalSamples_ == 0 || sampleRate_ == 0) {
    bitrateKbps_ = 0;
    durationMs_ = 0;
    return;
  }
  bitrateKbps_ = ClampToInt32(double(fileSize_) / (double(totalSamples_) * 125.0 / double(sampleRate_)));
  durationMs_ = ClampToInt32(double(totalSamples_) / double(sampleRate_) * 1000.0 + 0.5);
}

void FileDecoder::error_callback(::FLAC__StreamDecoderErrorStatus) {
  // libFLAC resynchronises on the next frame by itself.
}

::FLAC__StreamDecoderWriteStatus FileDecoder::write_callback(const ::FLAC__Frame* frame,
                                                             const FLAC__int32* const buffer[]) {
  // A frame that does not match the stream information cannot go into an
  // output opened for that format: it is skipped.
  if (frame->header.channels != channels_ || static_cast<int>(frame->header.bits_per_sample) != bits_)
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
  const uint32_t frames = frame->header.blocksize;
  const size_t bytes = size_t(frames) * FrameBytes();
  frameSample_ = frame->header.number.sample_number;
  frameFrames_ = frames;
  if (direct_ && bytes <= directRoom_) {
    InterleaveReduced(buffer, frames, channels_, bits_, direct_);
    directBytes_ = static_cast<uint32_t>(bytes);
    direct_ = nullptr;  // one frame per Decode
    return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
  }
  // Copy-out is finished (or was cleared) before libFLAC decodes the next
  // frame, so the buffer may move.
  if (output_.size() < bytes) output_.resize(bytes);
  InterleaveReduced(buffer, frames, channels_, bits_, output_.data());
  pending_ = output_.data();
  pendingBytes_ = static_cast<uint32_t>(bytes);
  return FLAC__STREAM_DECODER_WRITE_STATUS_CONTINUE;
}

uint64_t FileDecoder::NextSample() const {
  const uint32_t frameBytes = FrameBytes();
  const uint32_t left = frameBytes ? pendingBytes_ / frameBytes : 0;
  return frameSample_ + frameFrames_ - left;
}

int FileDecoder::Decode(PluginWaveHeader* header) {
  header->bytesRecorded = 0;
  const uint32_t frameBytes = FrameBytes();
  const uint32_t room = header->bufferLength - header->bufferLength % frameBytes;
  if (room == 0) return kPluginDecodeError;
  // Frames libFLAC drops (lost sync, a damaged frame) deliver nothing; the
  // stream ends only at its end or when the decoder cannot go on.
  if (pendingBytes_ == 0) {
    direct_ = header->data;
    directRoom_ = room;
    directBytes_ = 0;
    while (pendingBytes_ == 0 && directBytes_ == 0) {
      if (get_state() == FLAC__STREAM_DECODER_END_OF_STREAM || !process_single()) break;
    }
    direct_ = nullptr;
    if (directBytes_ > 0) {
      header->bytesRecorded = directBytes_;
      directBytes_ = 0;
      return kPluginDecodeMore;
    }
  }
  if (pendingBytes_ == 0) return kPluginDecodeLast;
  const uint32_t bytes = std::min(pendingBytes_, room);
  std::memcpy(header->data, pending_, bytes);
  header->bytesRecorded = bytes;
  pending_ += bytes;
  pendingBytes_ -= bytes;
  if (pendingBytes_ == 0) pending_ = nullptr;
  return kPluginDecodeMore;
}

int32_t FileDecoder::Seek(int32_t ms) {
  if (ms < 0 || durationMs_ <= 0) return kPluginSeekFailed;
  const uint64_t target = totalSamples_ * static_cast<uint64_t>(ms) / static_cast<uint64_t>(durationMs_);
  const uint64_t resume = NextSample();
  // Cleared first: libFLAC hands over the frame holding the target sample
  // during the seek, starting exactly at that sample.
  ClearPending();
  if (!seek_absolute(target)) {
    // The decoder is left in a seek error: recover it and go back to the
    // sample playback had reached.
    ClearPending();
    flush();
    if (!seek_absolute(resume)) {
      ClearPending();
      flush();
    }
    return kPluginSeekFailed;
  }
  return static_cast<int32_t>(target * 1000 / sampleRate_);
}

void FileDecoder::Rewind() {
  ClearPending();
  std::vector<uint8_t>().swap(output_);
  frameSample_ = 0;
  frameFrames_ = 0;
  if (seek_absolute(0)) return;
  // Streams that cannot seek (no length, no seek table) start over.
  ClearPending();
  if (reset()) process_until_end_of_metadata();
}

}  // namespace qv
