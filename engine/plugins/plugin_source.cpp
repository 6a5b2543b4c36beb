#include "engine/plugins/plugin_source.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/text/utf16.h"

namespace qv {

namespace {

PluginSourceState* OpenPlugin(PlayerEngine& engine) {
  PluginSourceState* source = engine.State<PluginSourceState>();
  return source && source->entry ? source : nullptr;
}

// The engine's gain, volume, fade and silence cuts know 8 and 16 bits only.
// The output ring grows with the byte rate: a damaged header claiming a rate
// of millions of samples a second is refused, with the limits WAV files have.
constexpr int32_t kMaxChannels = 32;
constexpr int32_t kMaxSampleRate = 768000;

bool Playable(const PluginFileInfo& info) {
  return info.Channels > 0 && info.Channels <= kMaxChannels && info.SampleRate > 0 &&
         info.SampleRate <= kMaxSampleRate && (info.BitsPerSample == 8 || info.BitsPerSample == 16);
}

std::u16string_view Bounded(const char16_t* text, size_t capacity) {
  const char16_t* end = std::find(text, text + capacity, u'\0');
  return {text, static_cast<size_t>(end - text)};
}

bool PluginOpen(PlayerEngine& engine, const char16_t* path) {
  PluginRegistry& registry = engine.Plugins();
  for (int i = 0; i < registry.Count(); ++i) {
    PluginEntry* entry = registry.Entry(i);
    if (!(entry->capabilities & kPluginPlaysFiles)) continue;
    DecoderPlugin& p = entry->table;
    PluginFileInfo info{};
    if (!p.OpenFile(&p.Context, path, &info)) {
      p.Context = nullptr;
      continue;
    }
    if (!Playable(info)) {
      // A format the engine cannot carry counts as a refusal.
      p.Close(p.Context);
      p.Context = nullptr;
      continue;
    }
    StreamFormat format;
    format.channels = info.Channels;
    format.sampleRate = info.SampleRate;
    format.bitrateKbps = info.BitrateKbps;
    const double frames = std::max(0, info.DurationMs) * static_cast<double>(info.SampleRate) / 1000.0;
    auto state = std::make_unique<PluginSourceState>();
    state->entry = entry;
    state->index = i;
    engine.SetSource(format, static_cast<uint64_t>(frames), info.BitsPerSample, std::move(state));
    return true;
  }
  return false;
}

bool PluginReposition(PlayerEngine& engine, uint32_t ms) {
  PluginSourceState* source = OpenPlugin(engine);
  if (!source || !(source->entry->capabilities & kPluginSeeks)) return false;
  DecoderPlugin& p = source->entry->table;
  const int32_t reached = p.Seek(p.Context, static_cast<int32_t>(std::min<uint32_t>(ms, INT32_MAX)));
  if (reached < 0) return false;
  engine.RepositionOutput(static_cast<uint64_t>(engine.Format().sampleRate) * static_cast<uint64_t>(reached) / 1000);
  return true;
}

LoopResult PluginDecodeLoop(PlayerEngine& engine) {
  PluginSourceState* source = OpenPlugin(engine);
  if (!source) return LoopResult::Failed;
  DecoderPlugin& p = source->entry->table;
  if (!p.Start(p.Context)) return LoopResult::Failed;
  const bool headroom = !(source->entry->capabilities & kPluginNoHeadroom);
  const uint32_t frameBytes = static_cast<uint32_t>(engine.Format().channels) * (engine.BitsPerSample() / 8);
  const uint32_t capacity = engine.BlockCapacity();
  PendingBlock& pending = engine.Pending();
  while (!engine.StopRequested()) {
    if (!pending.block && !engine.TakeFreeBlock())
      return engine.StopRequested() ? LoopResult::Stopped : LoopResult::Failed;
    WaveBlock* block = pending.block;
    int result = kPluginDecodeMore;
    uint32_t recorded = 0;
    {
      CountedLockGuard decode(engine.DecodeLock());
      if (engine.SeekRequested()) {
        engine.HandleSeekRequest();
        continue;
      }
      PluginWaveHeader header{block->data, capacity, 0};
      result = p.Decode(p.Context, &header);
      if (result < 0 || header.bytesRecorded > capacity) return LoopResult::Failed;
      // Whole frames only: the effect chain and the output work in frames.
      recorded = header.bytesRecorded - header.bytesRecorded % frameBytes;
    }
    if (headroom) engine.HeadroomGain(block->data, recorded);
    pending = PendingBlock{};
    engine.WriteBlock(block, recorded);
    if (result != kPluginDecodeMore || engine.EndSilenceReached()) return LoopResult::SourceEnded;
  }
  return LoopResult::Stopped;
}

// At the end of each playback.
void PluginRewind(PlayerEngine& engine) {
  if (PluginSourceState* source = OpenPlugin(engine)) source->entry->table.Stop(source->entry->table.Context);
}

void PluginClose(PlayerEngine& engine) {
  PluginSourceState* source = OpenPlugin(engine);
  if (!source) return;
  DecoderPlugin& p = source->entry->table;
  p.Close(p.Context);
  p.Context = nullptr;
  source->entry = nullptr;
  source->index = -1;
}

bool PluginTags(PlayerEngine& engine, TagInfo* tags) {
  PluginSourceState* source = OpenPlugin(engine);
  if (!source || !(source->entry->capabilities & kPluginTags)) return false;
  DecoderPlugin& p = source->entry->table;
  TagInfo read{};
  if (!p.GetTag(p.Context, &read)) return false;
  CopyPluginTags(read, tags);
  return true;
}

bool PluginFileTags(PlayerEngine& engine, const char16_t* path, TagInfo* tags) {
  PluginRegistry& registry = engine.Plugins();
  for (int i = 0; i < registry.Count(); ++i) {
    PluginEntry* entry = registry.Entry(i);
    if (!(entry->capabilities & kPluginTags)) continue;
    TagInfo read{};
    if (!entry->table.GetFileTag(path, &read)) continue;
    CopyPluginTags(read, tags);
    return true;
  }
  return false;
}

}  // namespace

void CopyPluginTags(const TagInfo& from, TagInfo* to) {
  to->Year = from.Year;
  to->Track = from.Track;
  U16CopyTruncated(to->Title, kTagChars, Bounded(from.Title, kTagChars));
  U16CopyTruncated(to->Artist, kTagChars, Bounded(from.Artist, kTagChars));
  U16CopyTruncated(to->Album, kTagChars, Bounded(from.Album, kTagChars));
  U16CopyTruncated(to->Comment, kTagChars, Bounded(from.Comment, kTagChars));
  U16CopyTruncated(to->Genre, kTagChars, Bounded(from.Genre, kTagChars));
}

const SourceOps kPluginSourceOps = {
    SourceKind::Plugin,
    PluginOpen,
    PluginReposition,
    PluginDecodeLoop,
    nullptr,  // playbackStarted: Start is called by the decode loop
    nullptr,  // playbackEnded
    PluginRewind,
    PluginClose,
    PluginTags,
    PluginFileTags,
};

}  // namespace qv
