#include "engine/vorbis/vorbis_file.h"

#include <cerrno>
#include <climits>
#include <cstdio>
#include <new>

namespace qv {

namespace {

// Tremor reads a few hundred bytes at a time: through a buffer of this size.
constexpr size_t kReadBufferBytes = 65536;

BufferedReader& FileOf(void* source) { return *static_cast<BufferedReader*>(source); }

size_t ReadCallback(void* buffer, size_t size, size_t count, void* source) {
  if (size == 0 || count == 0) return 0;
  const int64_t read = FileOf(source).Read(buffer, size * count);
  if (read < 0) {
    // The library tells an error from the end by errno.
    errno = EIO;
    return 0;
  }
  return static_cast<size_t>(read) / size;
}

int SeekCallback(void* source, ogg_int64_t offset, int whence) {
  BufferedReader& file = FileOf(source);
  int64_t base = 0;
  if (whence == SEEK_CUR)
    base = file.Tell();
  else if (whence == SEEK_END)
    base = file.Size();
  if (base < 0) return -1;
  return file.Seek(base + offset) ? 0 : -1;
}

int CloseCallback(void* source) {
  FileOf(source).File().Close();
  return 0;
}

long TellCallback(void* source) {
  const int64_t at = FileOf(source).Tell();
  return at > LONG_MAX ? -1 : static_cast<long>(at);
}

const ov_callbacks kCallbacks = {ReadCallback, SeekCallback, CloseCallback, TellCallback};

}  // namespace

std::unique_ptr<OggFile> OggFile::Open(const char16_t* path) {
  std::unique_ptr<OggFile> ogg(new OggFile);
  if (!ogg->OpenWith(path, false)) return nullptr;
  vorbis_info* info = ov_info(&ogg->vf_, -1);
  if (!info) return nullptr;
  ogg->channels_ = info->channels;
  ogg->rate_ = info->rate;
  return ogg;
}

bool OggFile::IsOggVorbis(const char16_t* path) {
  OggFile ogg;
  return ogg.OpenWith(path, true);
}

bool OggFile::OpenWith(const char16_t* path, bool testOnly) {
  if (!path || !path[0] || !file_.Open(path, FileMode::Read)) return false;
  try {
    reader_ = std::make_unique<BufferedReader>(file_, kReadBufferBytes);
  } catch (const std::bad_alloc&) {
    file_.Close();
    return false;
  }
  const int result = testOnly ? ov_test_callbacks(reader_.get(), &vf_, nullptr, 0, kCallbacks)
                              : ov_open_callbacks(reader_.get(), &vf_, nullptr, 0, kCallbacks);
  if (result != 0) {
    // A refused stream leaves the file to the caller.
    file_.Close();
    return false;
  }
  open_ = true;
  return true;
}

OggFile::~OggFile() {
  // Closes the file through the close callback.
  if (open_) ov_clear(&vf_);
}

int OggFile::Channels() { return channels_; }
int OggFile::SampleRate() { return static_cast<int>(rate_); }

long OggFile::NominalBitrate() {
  vorbis_info* info = ov_info(&vf_, -1);
  return info ? info->bitrate_nominal : 0;
}

uint64_t OggFile::TotalFrames() {
  const ogg_int64_t total = ov_pcm_total(&vf_, -1);
  return total > 0 ? static_cast<uint64_t>(total) : 0;
}

OggFile::ReadResult OggFile::Read(uint8_t* buffer, size_t length, size_t* bytes) {
  *bytes = 0;
  if (length < kMinReadBytes) return ReadResult::SpaceTooSmall;
  if (broken_) return ReadResult::Failure;
  const int want = length > INT_MAX ? INT_MAX : static_cast<int>(length);
  int link = 0;
  const long got = ov_read(&vf_, reinterpret_cast<char*>(buffer), want, &link);
  if (!Usable(got)) return ReadResult::Failure;
  if (got < 0) return ReadResult::Failure;
  if (got == 0) return ReadResult::End;
  vorbis_info* info = ov_info(&vf_, link);
  if (!info || info->channels != channels_ || info->rate != rate_) return ReadResult::End;
  *bytes = static_cast<size_t>(got);
  return ReadResult::Data;
}

bool OggFile::SeekFrame(uint64_t frame) {
  if (broken_) return false;
  const int result = ov_pcm_seek(&vf_, static_cast<ogg_int64_t>(frame));
  return Usable(result) && result == 0;
}

bool OggFile::Usable(long result) {
  // OV_EBADLINK: the decoder for the stream could not be set up (or a link
  // of it is corrupt); OV_EFAULT: the library's state is inconsistent.
  if (result == OV_EBADLINK || result == OV_EFAULT) broken_ = true;
  return !broken_;
}

uint64_t OggFile::CurrentFrame() {
  const ogg_int64_t at = ov_pcm_tell(&vf_);
  return at > 0 ? static_cast<uint64_t>(at) : 0;
}

CommentSlots OggFile::Comments() {
  const vorbis_comment* comments = ov_comment(&vf_, -1);
  return comments ? ReadCommentSlots(*comments) : CommentSlots{};
}

}  // namespace qv
