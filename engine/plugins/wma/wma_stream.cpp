#include "engine/plugins/wma/wma_stream.h"

#include <algorithm>
#include <cstring>
#include <limits>
#include <new>

#include "engine/plugins/wma/asf_file.h"
#include "engine/plugins/wma/wave_format.h"
#include "engine/plugins/wma/wma_decoder_choice.h"

namespace qv {

namespace {

constexpr uint32_t kMaxSampleRate = 192000;
constexpr uint16_t kMaxChannels = 32;
// The smallest packet that holds the flags, the send time and the duration.
constexpr uint32_t kMinPacketSize = 8;
// Packets read at a time: as many as fit here, at least one.
constexpr uint32_t kReadAheadBytes = 65536;

}  // namespace

std::unique_ptr<WmaStream> WmaStream::Open(const char16_t* path) {
  if (!path) return nullptr;
  std::unique_ptr<WmaStream> s(new (std::nothrow) WmaStream);
  if (!s || !s->file_.Open(path, FileMode::Read)) return nullptr;
  uint64_t headerSize = 0;
  if (!ReadAsfHeader(s->file_, &s->header_, &headerSize)) return nullptr;
  const AsfHeader& h = s->header_;
  if (!h.hasFileProperties || h.durationMs == 0 || !h.hasAudio || h.maxPacketSize == 0) return nullptr;
  // Fixed-size packets that can hold a packet header, and some of them.
  if (h.minPacketSize != h.maxPacketSize || h.maxPacketSize < kMinPacketSize || h.maxPacketSize > kMaxAsfPacketSize ||
      h.packetCount == 0)
    return nullptr;
  if (!FindAsfDataObject(s->file_, headerSize, &s->dataOffset_)) return nullptr;
  s->packetSize_ = h.maxPacketSize;

  WaveFormat f;
  if (!ParseWaveFormat(h.typeData.data(), h.typeData.size(), &f)) return nullptr;
  if (f.channels < 1 || f.channels > kMaxChannels || f.sampleRate < 1 || f.sampleRate > kMaxSampleRate ||
      (f.bitsPerSample != 8 && f.bitsPerSample != 16))
    return nullptr;
  s->formatTag_ = f.formatTag;
  s->info_.Channels = f.channels;
  s->info_.SampleRate = static_cast<int32_t>(f.sampleRate);
  s->info_.BitsPerSample = f.bitsPerSample;
  s->info_.BitrateKbps = static_cast<int32_t>((f.avgBytesPerSec & 0x1FFFFFFF) / 125);
  s->info_.DurationMs = static_cast<int32_t>(h.durationMs);

  if (!s->SetUpDecoder()) return nullptr;
  try {
    s->held_.resize(size_t{s->packetSize_} * std::max<uint32_t>(1, kReadAheadBytes / s->packetSize_));
  } catch (const std::bad_alloc&) {
    return nullptr;
  }
  if (!s->FirstPacketParses()) return nullptr;
  s->Reposition(0);
  return s;
}

WmaStream::~WmaStream() {
  output_.Reset();
  if (decoder_) {
    decoder_->Flush();
    decoder_->FreeStreamingResources();
  }
}

// The first candidate that takes the stream's types and allocates its
// resources decodes the file. The output buffer holds two seconds of PCM.
bool WmaStream::SetUpDecoder() {
  const auto channels = static_cast<uint16_t>(info_.Channels);
  const auto rate = static_cast<uint32_t>(info_.SampleRate);
  const auto bits = static_cast<uint16_t>(info_.BitsPerSample);
  const MediaType input = CompressedAudioType(header_.typeData, formatTag_);
  const MediaType output = PcmAudioType(channels, rate, bits);
  for (const WmaDecoderFactory& make : WmaDecoderCandidates()) {
    std::unique_ptr<MediaObject> d = make();
    if (!d) continue;
    if (d->SetInputType(input) && d->SetOutputType(output) && d->AllocateStreamingResources()) {
      decoder_ = std::move(d);
      break;
    }
  }
  if (!decoder_) return false;
  const uint32_t outputBytesPerSecond = uint32_t(channels) * bits / 8 * rate;
  output_ = MediaBufferRef(CMediaBuffer::Create(2 * outputBytesPerSecond));
  return static_cast<bool>(output_);
}

bool WmaStream::FirstPacketParses() {
  currentPacket_ = 0;
  if (!ReadPacket()) return false;
  for (unsigned i = 0; i < packetHeader_.payloadCount; ++i) {
    AsfPayloadHeader payload;
    if (!ParseAsfPayloadHeader(packet_, packetBytes_, payloadAt_, packetHeader_, &payload)) return false;
    payloadAt_ += payload.headerLength + payload.payloadLength;
  }
  return true;
}

void WmaStream::Reposition(uint64_t packet) {
  currentPacket_ = packet;
  packetInProgress_ = false;
  nextPayload_ = 0;
  chunkAt_ = chunkEnd_ = 0;
  decoder_->Flush();
  output_->SetLength(0);
  discontinuitySent_ = false;
  awaitingObjectStart_ = true;
}

int32_t WmaStream::Seek(int32_t ms) {
  if (!header_.seekable) return kPluginSeekFailed;
  const double count = static_cast<double>(header_.packetCount);
  const double at = static_cast<double>(std::max(ms, 0)) / header_.durationMs * count;
  const uint64_t packet = at >= count ? header_.packetCount : static_cast<uint64_t>(at);
  Reposition(packet);
  const double reached = static_cast<double>(header_.durationMs) / count * static_cast<double>(packet);
  return static_cast<int32_t>(std::min(reached, double(std::numeric_limits<int32_t>::max())));
}

void WmaStream::Start() {
  // A packet left half-fed is begun again with a clean decoder.
  if (packetInProgress_) Reposition(currentPacket_);
}

void WmaStream::Stop() {
  decoder_->Flush();
  output_->SetLength(0);
  discontinuitySent_ = false;
  awaitingObjectStart_ = true;
}

bool WmaStream::ReadAhead() {
  const uint64_t first = dataOffset_ + kAsfDataPacketsOffset;
  const uint64_t limit = static_cast<uint64_t>(std::numeric_limits<int64_t>::max());
  if (currentPacket_ > (limit - first) / packetSize_) return false;
  const uint64_t at = first + currentPacket_ * packetSize_;
  heldBytes_ = 0;
  if (!file_.Seek(static_cast<int64_t>(at))) return false;
  const int64_t read = file_.Read(held_.data(), held_.size());
  if (read <= 0) return false;
  firstHeld_ = currentPacket_;
  heldBytes_ = static_cast<size_t>(read);
  return true;
}

bool WmaStream::ReadPacket() {
  // A packet is held when it starts inside what was read; a file cut short
  // leaves its last packet short, as a read of that packet alone would.
  const bool held = heldBytes_ > 0 && currentPacket_ >= firstHeld_ &&
                    currentPacket_ - firstHeld_ < heldBytes_ / packetSize_ + (heldBytes_ % packetSize_ ? 1 : 0);
  if (!held && !ReadAhead()) return false;
  const size_t offset = static_cast<size_t>(currentPacket_ - firstHeld_) * packetSize_;
  packet_ = held_.data() + offset;
  packetBytes_ = std::min<size_t>(packetSize_, heldBytes_ - offset);
  if (!ParseAsfPacketHeader(packet_, packetBytes_, packetSize_, &packetHeader_)) return false;
  nextPayload_ = 0;
  payloadAt_ = packetHeader_.headerLength;
  chunkAt_ = chunkEnd_ = 0;
  packetInProgress_ = true;
  return true;
}

// Audio payloads go to the decoder one by one; a compressed payload
// (replicated data of one byte) holds whole media objects, each after a
// length byte, and they go one by one too.
int WmaStream::FeedPayloads(PluginWaveHeader* header) {
  for (;;) {
    if (chunkAt_ < chunkEnd_) {
      uint32_t at = chunkAt_, length = chunkEnd_ - chunkAt_;
      if (compressed_) {
        length = packet_[at++];
        if (length > chunkEnd_ - at) return kPluginDecodeError;
      }
      chunkAt_ = at + length;
      if (length == 0) continue;
      if (!Feed(packet_ + at, length)) return kPluginDecodeError;
      switch (DrainOutput(header)) {
        case Drain::Filled: return kPluginDecodeMore;
        case Drain::Failed: return kPluginDecodeError;
        case Drain::Empty: continue;
      }
    }
    if (nextPayload_ >= packetHeader_.payloadCount) return kPluginDecodeLast;
    AsfPayloadHeader payload;
    if (!ParseAsfPayloadHeader(packet_, packetBytes_, payloadAt_, packetHeader_, &payload))
      return kPluginDecodeError;
    const uint32_t dataAt = payloadAt_ + payload.headerLength;
    payloadAt_ = dataAt + payload.payloadLength;
    ++nextPayload_;
    if (payload.streamNumber != header_.streamNumber || payload.payloadLength == 0) continue;
    // With one byte of replicated data the offset field holds a time.
    const bool compressed = payload.replicatedDataLength == 1;
    if (awaitingObjectStart_ && !compressed && payload.offsetIntoMediaObject != 0) continue;
    awaitingObjectStart_ = false;
    chunkAt_ = dataAt;
    chunkEnd_ = payloadAt_;
    compressed_ = compressed;
    keyFrame_ = payload.keyFrame;
  }
}

bool WmaStream::Feed(const uint8_t* data, uint32_t length) {
  MediaBufferRef input(CMediaBuffer::Create(length));
  if (!input) return false;
  std::memcpy(input->Data(), data, length);
  input->SetLength(length);
  return decoder_->ProcessInput(input.get(), keyFrame_) == InputResult::Accepted;
}

int WmaStream::Decode(PluginWaveHeader* header) {
  switch (DrainOutput(header)) {
    case Drain::Filled: return kPluginDecodeMore;
    case Drain::Failed: return kPluginDecodeError;
    case Drain::Empty: break;
  }
  while (currentPacket_ < header_.packetCount) {
    if (!packetInProgress_ && !ReadPacket()) return kPluginDecodeError;
    const int fed = FeedPayloads(header);
    if (fed != kPluginDecodeLast) return fed;
    packetInProgress_ = false;
    ++currentPacket_;
  }
  if (!discontinuitySent_) {
    decoder_->Discontinuity();
    discontinuitySent_ = true;
  }
  switch (DrainOutput(header)) {
    case Drain::Filled: return kPluginDecodeMore;
    case Drain::Failed: return kPluginDecodeError;
    case Drain::Empty: break;
  }
  return kPluginDecodeLast;
}

// Copies held output into the header and asks the decoder for more until
// the header is full or the decoder has nothing left, so that it never holds
// output when the next input comes.
WmaStream::Drain WmaStream::DrainOutput(PluginWaveHeader* header) {
  CMediaBuffer& out = *output_.get();
  for (;;) {
    if (header->bytesRecorded > header->bufferLength) return Drain::Failed;
    const uint32_t room = header->bufferLength - header->bytesRecorded;
    const uint32_t n = std::min(out.Length(), room);
    if (n > 0) std::memcpy(header->data + header->bytesRecorded, out.Data(), n);
    header->bytesRecorded += n;
    out.Consume(n);
    if (header->bytesRecorded == header->bufferLength) return Drain::Filled;
    bool more = false;
    if (decoder_->ProcessOutput(&out, &more) == OutputResult::Failed) return Drain::Failed;
    if (out.Length() == 0) return Drain::Empty;
  }
}

}  // namespace qv
