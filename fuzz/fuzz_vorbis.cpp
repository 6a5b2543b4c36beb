// Fuzzes Ogg Vorbis: the Ogg source object read directly with small and
// large buffers, a seek and the comments; then the engine's OggVorbis kind
// (open, tags, file tags, seek, playback to the end).
#include <cstdint>
#include <vector>

#include "engine/vorbis/vorbis_file.h"
#include "fuzz/decoder_fuzz_support.h"

namespace {

void ReadDirectly(const std::u16string& path, uint8_t control) {
  auto ogg = qv::OggFile::Open(path.c_str());
  if (!ogg) return;
  ogg->Comments();
  const uint64_t total = ogg->TotalFrames();
  std::vector<uint8_t> buffer(qv::OggFile::kMinReadBytes + control * 16);
  for (int pass = 0; pass < 2; ++pass) {
    for (int reads = 0; reads < 4096; ++reads) {
      size_t got = 0;
      if (ogg->Read(buffer.data(), buffer.size(), &got) != qv::OggFile::ReadResult::Data) break;
    }
    ogg->Comments();
    if (total == 0 || !ogg->SeekFrame(total * control / 256)) break;
    ogg->CurrentFrame();
  }
}

}  // namespace

// Tremor leaks a few bytes inside ov_open when a stream's headers pass the
// test open but the full open fails (seen with Debian's libvorbisidec
// 1.2.1+git20180316); the allocation and the lost pointer are both inside
// the library, so its leaks are not reported.
extern "C" const char* __lsan_default_suppressions() { return "leak:libvorbisidec.so"; }

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::u16string path = qv::fuzz::WriteInput(data, size, ".ogg");
  if (path.empty()) return 0;
  const uint8_t control = size > 0 ? data[size - 1] : 0;
  ReadDirectly(path, control);
  qv::fuzz::RunEngine(path, control);
  return 0;
}
