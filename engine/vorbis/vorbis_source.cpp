#include "engine/vorbis/vorbis_source.h"

namespace qv {

namespace {

// The output can carry this much: the same limits as for WAV files.
constexpr int kMaxChannels = 32;
constexpr long kMaxRate = 768000;

OggFile* OpenOgg(PlayerEngine& engine) {
  VorbisState* state = engine.State<VorbisState>();
  return state ? state->ogg.get() : nullptr;
}

bool VorbisOpen(PlayerEngine& engine, const char16_t* path) {
  std::unique_ptr<OggFile> ogg = OggFile::Open(path);
  if (!ogg) return false;
  const uint64_t frames = ogg->TotalFrames();
  if (frames == 0) return false;
  if (ogg->Channels() <= 0 || ogg->Channels() > kMaxChannels || ogg->SampleRate() <= 0 || ogg->SampleRate() > kMaxRate)
    return false;
  StreamFormat format;
  format.channels = ogg->Channels();
  format.sampleRate = ogg->SampleRate();
  const long nominal = ogg->NominalBitrate();
  format.bitrateKbps = nominal > 0 ? static_cast<int32_t>(nominal / 1000) : 0;
  auto state = std::make_unique<VorbisState>();
  state->ogg = std::move(ogg);
  engine.SetCurrentPath(path);
  engine.SetSource(format, frames, 16, std::move(state));
  return true;
}

bool VorbisReposition(PlayerEngine& engine, uint32_t ms) {
  OggFile* ogg = OpenOgg(engine);
  if (!ogg) return false;
  const uint64_t frame = static_cast<uint64_t>(engine.Format().sampleRate) * ms / 1000;
  if (!ogg->SeekFrame(frame)) return false;
  // The library may land next to the frame asked for.
  engine.RepositionOutput(ogg->CurrentFrame());
  return true;
}

// Each block is filled by consecutive reads until less than a read's worth
// of room is left.
LoopResult VorbisDecodeLoop(PlayerEngine& engine) {
  OggFile* ogg = OpenOgg(engine);
  if (!ogg) return LoopResult::Failed;
  const uint32_t capacity = engine.BlockCapacity();
  PendingBlock& pending = engine.Pending();
  for (;;) {
    if (pending.block && pending.freeBytes < OggFile::kMinReadBytes && pending.freeBytes < capacity) {
      WaveBlock* full = pending.block;
      const uint32_t bytes = capacity - pending.freeBytes;
      pending = PendingBlock{};
      engine.WriteBlock(full, bytes);
    }
    if (!pending.block) {
      if (engine.EndSilenceReached()) return LoopResult::SourceEnded;
      if (!engine.TakeFreeBlock()) return engine.StopRequested() ? LoopResult::Stopped : LoopResult::Failed;
    }
    OggFile::ReadResult result = OggFile::ReadResult::Data;
    {
      CountedLockGuard decode(engine.DecodeLock());
      if (engine.SeekRequested()) {
        engine.HandleSeekRequest();
      } else {
        uint8_t* out = pending.block->data + (capacity - pending.freeBytes);
        size_t bytes = 0;
        result = ogg->Read(out, pending.freeBytes, &bytes);
        if (result == OggFile::ReadResult::Data) {
          engine.HeadroomGain(out, bytes);
          pending.freeBytes -= static_cast<uint32_t>(bytes);
        }
      }
    }
    // A fresh block too small for one read cannot be filled: an error rather
    // than a loop that never decodes.
    if (result == OggFile::ReadResult::Failure || result == OggFile::ReadResult::SpaceTooSmall)
      return LoopResult::Failed;
    if (result == OggFile::ReadResult::End) return LoopResult::SourceEnded;
    if (engine.StopRequested()) return LoopResult::Stopped;
  }
}

void VorbisRewind(PlayerEngine& engine) {
  if (OpenOgg(engine)) VorbisReposition(engine, 0);
}

void VorbisClose(PlayerEngine& engine) {
  if (VorbisState* state = engine.State<VorbisState>()) state->ogg.reset();
}

bool VorbisTags(PlayerEngine& engine, TagInfo* tags) {
  OggFile* ogg = OpenOgg(engine);
  if (!ogg) return false;
  CommentSlots slots;
  {
    // The playback thread may be moving to the next logical stream.
    CountedLockGuard decode(engine.DecodeLock());
    slots = ogg->Comments();
  }
  CommentSlotsToTags(slots, tags);
  return true;
}

bool VorbisFileTags(PlayerEngine&, const char16_t* path, TagInfo* tags) {
  if (!OggFile::IsOggVorbis(path)) return false;
  std::unique_ptr<OggFile> ogg = OggFile::Open(path);
  if (!ogg) return false;
  CommentSlotsToTags(ogg->Comments(), tags);
  return true;
}

}  // namespace

const SourceOps kVorbisSourceOps = {
    SourceKind::OggVorbis,
    VorbisOpen,
    VorbisReposition,
    VorbisDecodeLoop,
    nullptr,  // playbackStarted
    nullptr,  // playbackEnded
    VorbisRewind,
    VorbisClose,
    VorbisTags,
    VorbisFileTags,
};

}  // namespace qv
