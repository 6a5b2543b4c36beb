#include "engine/mpeg/mpeg_source.h"

#include "engine/mpeg/id3v1.h"
#include "engine/mpeg/mpeg_file_test.h"
#include "engine/mpeg/mpeg_file_window.h"
#include "engine/mpeg/mpeg_measure.h"
#include "engine/mpeg/mpeg_seek.h"

namespace qv {

namespace {

bool ScanCompletely(PlayerEngine& engine) { return engine.Options().ScanCompletely != 0; }

bool MpegOpen(PlayerEngine& engine, const char16_t* path) {
  LockedFile& file = engine.File();
  if (!file.Open(path)) return false;
  MpegMeasure m;
  bool measured = false;
  {
    MpegFileWindow window(file);
    measured = ScanCompletely(engine) ? MeasureFullWalk(window, &m) : MeasureQuick(window, &m);
  }
  if (!measured || file.Seek(0, LockedFile::Origin::Begin) != 0) {
    file.Close();
    return false;
  }
  auto state = std::make_unique<MpegState>();
  state->first = m.first;
  state->stream = StreamIdOf(m.first);
  state->spanBytes = m.spanBytes;
  state->spanFrames = m.spanFrames;
  state->decoder = std::make_unique<MpegDecoder>(m.first.channels);

  StreamFormat format;
  format.mpegVersion = m.first.version;
  format.mpegLayer = m.first.layer;
  format.channels = m.first.channels;
  format.sampleRate = m.first.sampleRate;
  format.bitrateKbps = m.bitrateKbps;
  format.frameBytes = m.frameBytes;
  format.samplesPerFrame = m.first.samplesPerFrame;
  engine.SetCurrentPath(path);
  engine.SetSource(format, m.totalFrames, 16, std::move(state));
  return true;
}

bool MpegReposition(PlayerEngine& engine, uint32_t ms) {
  MpegState* s = engine.State<MpegState>();
  const StreamFormat& format = engine.Format();
  LockedFile& file = engine.File();
  // 64-bit: 44100 Hz times 48.7 s in milliseconds already overflows 31 bits.
  const uint64_t target = uint64_t(static_cast<uint32_t>(format.sampleRate)) * ms / 1000;
  const uint64_t spf = static_cast<uint64_t>(format.samplesPerFrame);
  // Decoding resumes a few frames early for layer III; the samples before
  // the target are dropped, so the output starts at the target itself.
  const uint64_t wanted = target / spf;
  const uint64_t ahead = ReservoirFrames(s->first);
  const uint64_t index = wanted > ahead ? wanted - ahead : 0;
  const int64_t resume = file.Seek(0, LockedFile::Origin::Current);
  int64_t landing = -1;
  {
    MpegFileWindow window(file);
    landing = ScanCompletely(engine) ? SeekByCounting(window, s->stream, index)
                                     : SeekByEstimate(window, s->stream, index, s->spanBytes, s->spanFrames);
  }
  if (landing < 0 || file.Seek(landing, LockedFile::Origin::Begin) != landing) {
    // Playback goes on from where it was.
    if (resume >= 0) file.Seek(resume, LockedFile::Origin::Begin);
    return false;
  }
  s->seekSkip = target - index * spf;
  engine.RepositionOutput(target);
  return true;
}

void MpegPlaybackStarted(PlayerEngine& engine) { engine.State<MpegState>()->decoder->Reset(); }

void MpegPlaybackEnded(PlayerEngine& engine) { engine.State<MpegState>()->decoder->Reset(); }

void MpegRewind(PlayerEngine& engine) { engine.File().Seek(0, LockedFile::Origin::Begin); }

void MpegClose(PlayerEngine&) {}

bool MpegTags(PlayerEngine& engine, TagInfo* tags) { return ReadId3v1(engine.CurrentPath(), tags); }

bool MpegFileTags(PlayerEngine&, const char16_t* path, TagInfo* tags) {
  return IsMpegAudioFile(path) && ReadId3v1(path, tags);
}

}  // namespace

const SourceOps kMpegSourceOps = {
    SourceKind::MpegAudio,
    MpegOpen,
    MpegReposition,
    MpegDecodeLoop,
    MpegPlaybackStarted,
    MpegPlaybackEnded,
    MpegRewind,
    MpegClose,
    MpegTags,
    MpegFileTags,
};

}  // namespace qv
