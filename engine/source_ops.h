// The per-kind hook table. Each source kind (WAV, CD audio, and later MPEG
// audio, Ogg Vorbis, decoder plug-ins, network streams) fills one SourceOps;
// the engine reaches a kind only through these hooks. A kind without a table
// cannot be opened: Engine_OpenFile returns 0 for its extensions.
#pragma once

#include <cstdint>
#include <string_view>

#include "engine/engine_api.h"

namespace qv {

class PlayerEngine;

// Result of a decode loop.
enum class LoopResult { SourceEnded = 0, Stopped = 1, Failed = 2 };

struct SourceOps {
  SourceKind kind;
  // Opens the path. On success the kind has called PlayerEngine::SetSource;
  // on failure it leaves nothing open.
  bool (*open)(PlayerEngine& engine, const char16_t* path);
  // Repositions to ms (0 <= ms < length), under ApiLock and DecodeLock; on
  // success sets the base position, raises the seek request and resets the
  // output (PlayerEngine::RepositionOutput).
  bool (*reposition)(PlayerEngine& engine, uint32_t ms);
  // Runs the block protocol on the playback thread until the source ends,
  // the stop request or an error.
  LoopResult (*decodeLoop)(PlayerEngine& engine);
  // Optional: at the start and the end of each playback (per-playback
  // decoder state).
  void (*playbackStarted)(PlayerEngine& engine);
  void (*playbackEnded)(PlayerEngine& engine);
  // At the end of playback, so that the next Engine_Play starts again.
  void (*rewind)(PlayerEngine& engine);
  // Engine_CloseFile: frees the kind's state.
  void (*close)(PlayerEngine& engine);
  // Optional: tags of the open source (Engine_GetTags).
  bool (*tags)(PlayerEngine& engine, TagInfo* tags);
  // Optional: tags of any file (Engine_GetFileTags), without disturbing playback.
  bool (*fileTags)(PlayerEngine& engine, const char16_t* path, TagInfo* tags);
};

// The kind Engine_OpenFile chooses for an extension (with its dot), matched
// exactly against the all-lower and the all-upper form: ".mp3" and ".MP3"
// choose MPEG audio, ".Mp3" nothing.
SourceKind KindForExtension(std::u16string_view extension);

// The extension of a path: from the last '.' of its last component, or empty.
std::u16string_view PathExtension(std::u16string_view path);

// The hook table of a kind, or null while the kind is not built in.
const SourceOps* SourceOpsFor(SourceKind kind);

// Kinds whose fileTags hook Engine_GetFileTags tries, in order.
extern const SourceKind kFileTagOrder[3];

}  // namespace qv
