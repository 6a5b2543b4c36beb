#include "engine/cd/cd_source.h"

#include <cstring>

namespace qv {

namespace {

constexpr int kCdRate = 44100;

bool CdOpen(PlayerEngine& engine, const char16_t* path) {
  const std::u16string_view p(path);
  auto cd = std::make_unique<CdState>();
  cd->letter = CdDriveLetter(p);
  if (!cd->letter) return false;
  cd->device = engine.NewCdDevice();
  if (!cd->device || !cd->device->Open(cd->letter)) return false;
  uint8_t toc[kCdTocBytes] = {};
  if (!cd->device->ReadToc(toc) || !cd->device->FileExists(std::u16string(p))) {
    cd->device->Close();
    return false;
  }
  // The track's index is the file's position in the folder's listing.
  const size_t nameStart = p.find_last_of(u"\\/") == std::u16string_view::npos ? 2 : p.find_last_of(u"\\/") + 1;
  const std::u16string folder(p.substr(0, nameStart));
  const std::u16string_view name = p.substr(nameStart);
  const std::vector<std::u16string> listed = cd->device->ListCdaFiles(folder);
  size_t index = 0;
  while (index < listed.size() && listed[index] != name) ++index;
  if (index == listed.size() || !CdTrackFromToc(toc, index, &cd->track)) {
    cd->device->Close();
    return false;
  }
  cd->seconds = cd->track.lengthSectors / 75;
  cd->lengthBytes = uint64_t(cd->track.lengthSectors) * kCdRawSectorBytes;

  StreamFormat format;
  format.channels = 2;
  format.sampleRate = kCdRate;
  format.bitrateKbps = 1411;
  const uint64_t frames = uint64_t(cd->seconds) * kCdRate;
  engine.SetCurrentPath(p);
  engine.SetSource(format, frames, 16, std::move(cd));
  return true;
}

void ClearReadState(CdState& cd) {
  cd.requestOffset = 0;
  cd.chunkIndex = 0;
  cd.bufferBytes = 0;
}

// 0 a chunk was copied into the block, 1 the end of the track (the last
// partial chunk is not played), -1 the drive failed.
int ReadChunk(CdState& cd, WaveBlock* block) {
  if (cd.chunkIndex >= cd.track.lengthSectors / kCdChunkSectors) {
    block->bytesRecorded = 0;
    ClearReadState(cd);
    return 1;
  }
  if (cd.bufferBytes == 0) {
    cd.requestOffset = (uint64_t(cd.track.startSector) + uint64_t(cd.chunkIndex) * kCdChunkSectors) *
                       kCdCookedSectorBytes;
    if (!cd.device->ReadRaw(cd.requestOffset, kCdChunkSectors, cd.buffer.data())) return -1;
    ++cd.chunkIndex;
    cd.bufferBytes = kCdChunkBytes;
  }
  std::memcpy(block->data, cd.buffer.data(), cd.bufferBytes);
  block->bytesRecorded = cd.bufferBytes;
  cd.bufferBytes = 0;
  return 0;
}

LoopResult CdDecodeLoop(PlayerEngine& engine) {
  CdState& cd = *engine.State<CdState>();
  PendingBlock& pending = engine.Pending();
  if (engine.BlockCapacity() < kCdChunkBytes) return LoopResult::Failed;
  for (;;) {
    if (!pending.block && !engine.TakeFreeBlock()) return LoopResult::Failed;
    WaveBlock* block = pending.block;
    int result = 0;
    bool seeked = false;
    {
      CountedLockGuard decode(engine.DecodeLock());
      if (engine.SeekRequested()) {
        engine.HandleSeekRequest();
        seeked = true;
      } else {
        result = ReadChunk(cd, block);
      }
    }
    if (!seeked) {
      if (result == 1) return LoopResult::SourceEnded;
      pending = PendingBlock{};
      if (result < 0) {
        // Never stale audio: the block goes back empty and the same chunk is
        // read again after a short pause.
        engine.GiveBackBlock(block);
        if (engine.SleepUnlessStopped(kCdRetryMs)) break;
      } else {
        engine.WriteBlock(block, kCdChunkBytes);
      }
    }
    if (engine.StopRequested()) break;
  }
  CountedLockGuard decode(engine.DecodeLock());
  ClearReadState(cd);
  return LoopResult::Stopped;
}

bool CdReposition(PlayerEngine& engine, uint32_t ms) {
  CdState& cd = *engine.State<CdState>();
  cd.requestOffset = 0;
  cd.bufferBytes = 0;
  const uint64_t s = ms / 1000;
  cd.chunkIndex = static_cast<uint32_t>(s * 75 / kCdChunkSectors);
  engine.RepositionOutput(s * kCdRate);
  return true;
}

void CdClose(PlayerEngine& engine) {
  if (CdState* cd = engine.State<CdState>()) {
    if (cd->device) cd->device->Close();
    cd->letter = 0;
  }
}

}  // namespace

const SourceOps kCdSourceOps = {
    SourceKind::CdAudio,
    CdOpen,
    CdReposition,
    CdDecodeLoop,
    nullptr,  // playbackStarted
    nullptr,  // playbackEnded
    nullptr,  // rewind: the loop clears its read position when it ends
    CdClose,
    nullptr,  // tags
    nullptr,  // fileTags
};

}  // namespace qv
