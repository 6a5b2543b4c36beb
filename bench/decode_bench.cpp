// decode_bench: one bare decode loop over a whole file, timed, for comparing
// the engine (qvrender) with the decoding libraries alone.
//
//   decode_bench FORMAT FILE
//
// FORMAT is mp3 (libmad with the engine's dithered 16-bit conversion),
// mp3-plain (libmad with plain rounding), ogg (Tremor), flac (libFLAC), ape
// or wma (FFmpeg's demuxer and decoder) or wav (16-bit PCM read in blocks).
// One full pass (open, decode to interleaved 16-bit PCM, close); prints one
// JSON line on stdout and exits 0:
//
//   {"format":"mp3","file":"...","audio_seconds":N,"frames":N,"wall_seconds":N,"cpu_seconds":N}
//
// audio_seconds is frames / sample rate; wall_seconds and cpu_seconds cover
// the pass only (cpu_seconds: the process's user and system CPU time). On
// failure: one line on stderr and exit 2.
#include <chrono>
#include <cstdio>
#include <cstring>
#include <string>
#include <vector>

#include "bench/bare_loops.h"
#include "platform/text/utf16.h"
#include "platform/threads/process_cpu_time.h"

namespace {

using Loop = bool (*)(const std::string& path, bench::BareResult* out, std::string* error);

bool Mp3(const std::string& path, bench::BareResult* out, std::string* error) {
  return bench::BareMp3(path, true, out, error);
}
bool Mp3Plain(const std::string& path, bench::BareResult* out, std::string* error) {
  return bench::BareMp3(path, false, out, error);
}

struct Format {
  const char* name;
  Loop loop;
};
constexpr Format kFormats[] = {
    {"mp3", Mp3},         {"mp3-plain", Mp3Plain}, {"ogg", bench::BareVorbis}, {"flac", bench::BareFlac},
    {"ape", bench::BareApe}, {"wma", bench::BareWma}, {"wav", bench::BareWav},
};

std::string JsonText(const std::string& utf8) {
  std::string out = "\"";
  for (unsigned char c : utf8) {
    if (c == '"' || c == '\\') {
      out += '\\';
      out += static_cast<char>(c);
    } else if (c < 0x20) {
      char escaped[8];
      std::snprintf(escaped, sizeof escaped, "\\u%04x", c);
      out += escaped;
    } else {
      out += static_cast<char>(c);
    }
  }
  return out + "\"";
}

int Run(const std::string& format, const std::string& path) {
  const Format* chosen = nullptr;
  for (const Format& f : kFormats)
    if (format == f.name) chosen = &f;
  if (!chosen) {
    std::fprintf(stderr, "decode_bench: unknown format %s (mp3, mp3-plain, ogg, flac, ape, wma, wav)\n",
                 format.c_str());
    return 2;
  }
  bench::BareResult result;
  std::string error;
  const double cpuStart = qv::ProcessCpuSeconds();
  const auto wallStart = std::chrono::steady_clock::now();
  const bool ok = chosen->loop(path, &result, &error);
  const double wall = std::chrono::duration<double>(std::chrono::steady_clock::now() - wallStart).count();
  const double cpu = qv::ProcessCpuSeconds() - cpuStart;
  if (!ok || result.rate <= 0) {
    std::fprintf(stderr, "decode_bench: %s\n", ok ? "the file names no sample rate" : error.c_str());
    return 2;
  }
  std::printf("{\"format\":%s,\"file\":%s,\"audio_seconds\":%.3f,\"frames\":%llu,\"wall_seconds\":%.4f,"
              "\"cpu_seconds\":%.4f}\n",
              JsonText(format).c_str(), JsonText(path).c_str(), double(result.frames) / result.rate,
              static_cast<unsigned long long>(result.frames), wall, cpu);
  return 0;
}

int Main(const std::vector<std::string>& args) {
  if (args.size() != 3) {
    std::fprintf(stderr, "usage: decode_bench mp3|mp3-plain|ogg|flac|ape|wma|wav FILE\n");
    return 2;
  }
  return Run(args[1], args[2]);
}

}  // namespace

#ifdef _WIN32
// Wide arguments: any path the player can open can be named.
int wmain(int argc, wchar_t** argv) {
  std::vector<std::string> args;
  for (int i = 0; i < argc; ++i) args.push_back(qv::ToUtf8(qv::AsU16(argv[i])));
  return Main(args);
}
#else
int main(int argc, char** argv) { return Main(std::vector<std::string>(argv, argv + argc)); }
#endif
