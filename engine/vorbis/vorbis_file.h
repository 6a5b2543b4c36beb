// The Ogg source object: Tremor's file decoder reading a file opened by its
// wide path through read, seek, close and tell callbacks (and a buffer).
#pragma once

#include <tremor/ivorbisfile.h>

#include <cstddef>
#include <cstdint>
#include <memory>

#include "engine/vorbis/vorbis_comments.h"
#include "platform/files/buffered_reader.h"
#include "platform/files/wide_file.h"

namespace qv {

class OggFile {
 public:
  enum class ReadResult { Data = 0, SpaceTooSmall = 1, End = 2, Failure = -2 };
  // Reads need at least this much room.
  static constexpr size_t kMinReadBytes = 4096;

  // Null for an empty path, a file that cannot be opened or a stream the
  // library refuses.
  static std::unique_ptr<OggFile> Open(const char16_t* path);
  // True when the file holds an Ogg Vorbis stream (the library's test open).
  static bool IsOggVorbis(const char16_t* path);
  ~OggFile();
  OggFile(const OggFile&) = delete;
  OggFile& operator=(const OggFile&) = delete;

  // Channels, rate and nominal bitrate of the current logical stream (the
  // first until decoding has started).
  int Channels();
  int SampleRate();
  long NominalBitrate();
  // Frames over all logical streams; 0 when unknown.
  uint64_t TotalFrames();

  // Interleaved 16-bit little-endian PCM, whole frames, into buffer. A link
  // of a chained file whose channels or rate differ from the first ends the
  // stream: its samples cannot go into the output opened for the first.
  ReadResult Read(uint8_t* buffer, size_t length, size_t* bytes);
  bool SeekFrame(uint64_t frame);
  uint64_t CurrentFrame();

  // Comments of the current logical stream.
  CommentSlots Comments();

 private:
  OggFile() = default;
  bool OpenWith(const char16_t* path, bool testOnly);

  // After the library failed to set up its decoder it must not be asked to
  // decode again: a second attempt skips the codebooks the first left half
  // made and decodes with empty ones.
  bool Usable(long result);

  WideFile file_;
  std::unique_ptr<BufferedReader> reader_;  // the callbacks read the file through it
  OggVorbis_File vf_{};
  bool open_ = false;
  bool broken_ = false;
  int channels_ = 0;
  long rate_ = 0;
};

}  // namespace qv
