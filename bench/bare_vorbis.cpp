// Tremor's ov_read over the file, 16-bit interleaved, through stdio callbacks.
#include <tremor/ivorbisfile.h>

#include <vector>

#include "bench/bare_loops.h"
#include "bench/bench_file.h"

namespace bench {

namespace {

size_t Read(void* buffer, size_t size, size_t count, void* file) {
  return std::fread(buffer, size, count, static_cast<std::FILE*>(file));
}
int Seek(void* file, ogg_int64_t offset, int whence) {
  return std::fseek(static_cast<std::FILE*>(file), static_cast<long>(offset), whence);
}
int Close(void* file) { return std::fclose(static_cast<std::FILE*>(file)); }
long Tell(void* file) { return std::ftell(static_cast<std::FILE*>(file)); }

}  // namespace

bool BareVorbis(const std::string& path, BareResult* out, std::string* error) {
  std::FILE* file = OpenForReading(path);
  if (!file) {
    *error = "cannot open " + path;
    return false;
  }
  OggVorbis_File vf;
  if (ov_open_callbacks(file, &vf, nullptr, 0, ov_callbacks{Read, Seek, Close, Tell}) != 0) {
    std::fclose(file);
    *error = "not Ogg Vorbis: " + path;
    return false;
  }
  const vorbis_info* info = ov_info(&vf, -1);
  out->channels = info ? info->channels : 0;
  out->rate = info ? static_cast<int>(info->rate) : 0;
  std::vector<char> pcm(16384);
  long got = 0;
  int link = 0;
  uint64_t bytes = 0;
  while ((got = ov_read(&vf, pcm.data(), static_cast<int>(pcm.size()), &link)) > 0) {
    bytes += static_cast<uint64_t>(got);
    out->checksum += static_cast<unsigned char>(pcm[0]);
  }
  ov_clear(&vf);  // closes the file
  if (got < 0 || out->channels <= 0) {
    *error = "decoding failed: " + path;
    return false;
  }
  out->frames = bytes / (2u * static_cast<unsigned>(out->channels));
  return true;
}

}  // namespace bench
