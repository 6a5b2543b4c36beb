// MPEG audio decode speed: qvrender playing a file through the engine
// (virtual device, effects off) beside a bare libmad loop over the same
// file, in one run: decode, synthesise and convert to 16 bits, once with the
// engine's own dithered conversion (so that the difference is the engine:
// file reading, buffering, the block protocol, the effect stage, the
// output) and once with plain rounding. Prints a table and a JSON line with
// the multiples of real time and the engine's cost over each bare loop.
//
//   mpeg_bench QVRENDER FILE [runs]
//
// Each side runs `runs` times (default 5); the best run of each counts.
// Two measures: wall time (qvrender's own x_realtime) and, natively, CPU
// time (qvrender's whole process, so a file of a few minutes keeps its
// start-up small), which a machine busy with other work disturbs less. The
// cost is taken from CPU time where there is one. Under wine, QVRENDER is
// the Win32 qvrender.exe and FILE a path it opens; only wall time there.
#include <mad.h>

#include "engine/mpeg/mpeg_dither.h"

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <string>
#include <vector>

#ifdef _WIN32
#define popen _popen
#define pclose _pclose
#else
#include <sys/resource.h>
#endif

namespace {

using Clock = std::chrono::steady_clock;

struct Speed {
  double wall = 0;  // x real time
  double cpu = 0;   // x real time per CPU second; 0 when not measured
};

Speed Best(Speed a, Speed b) { return {std::max(a.wall, b.wall), std::max(a.cpu, b.cpu)}; }

double ChildCpuSeconds() {
#ifdef _WIN32
  return 0;
#else
  rusage u{};
  getrusage(RUSAGE_CHILDREN, &u);
  return double(u.ru_utime.tv_sec + u.ru_stime.tv_sec) + double(u.ru_utime.tv_usec + u.ru_stime.tv_usec) / 1e6;
#endif
}

bool ReadFile(const char* path, std::vector<unsigned char>& out) {
  FILE* f = std::fopen(path, "rb");
  if (!f) return false;
  unsigned char buffer[65536];
  size_t n;
  while ((n = std::fread(buffer, 1, sizeof buffer, f)) > 0) out.insert(out.end(), buffer, buffer + n);
  std::fclose(f);
  return true;
}

int16_t Round16(mad_fixed_t s) {
  s += 1L << (MAD_F_FRACBITS - 16);
  if (s >= MAD_F_ONE) s = MAD_F_ONE - 1;
  if (s < -MAD_F_ONE) s = -MAD_F_ONE;
  return static_cast<int16_t>(s >> (MAD_F_FRACBITS + 1 - 16));
}

// Decodes the whole file; the multiples of real time (0 on failure).
Speed BareLoop(const std::vector<unsigned char>& file, bool dither, uint64_t* framesOut, int* rate) {
  std::vector<unsigned char> input(file);
  input.insert(input.end(), MAD_BUFFER_GUARD, 0);
  std::vector<int16_t> pcm(1152 * 2);
  mad_stream stream;
  mad_frame frame;
  mad_synth synth;
  mad_stream_init(&stream);
  mad_frame_init(&frame);
  mad_synth_init(&synth);
  mad_stream_buffer(&stream, input.data(), input.size());
  uint64_t frames = 0;
  long checksum = 0;
  qv::DitherChannel left, right;
  const auto start = Clock::now();
#ifndef _WIN32
  const std::clock_t cpuStart = std::clock();
#endif
  for (;;) {
    if (mad_frame_decode(&frame, &stream) != 0) {
      if (MAD_RECOVERABLE(stream.error)) continue;
      if (stream.error == MAD_ERROR_BUFLEN) break;
      continue;
    }
    mad_synth_frame(&synth, &frame);
    const mad_pcm& p = synth.pcm;
    const mad_fixed_t* l = p.samples[0];
    const mad_fixed_t* r = p.samples[p.channels > 1 ? 1 : 0];
    if (dither) {
      for (unsigned i = 0; i < p.length; ++i) {
        pcm[2 * i] = qv::DitherTo16(l[i], left);
        pcm[2 * i + 1] = qv::DitherTo16(r[i], right);
      }
    } else {
      for (unsigned i = 0; i < p.length; ++i) {
        pcm[2 * i] = Round16(l[i]);
        pcm[2 * i + 1] = Round16(r[i]);
      }
    }
    checksum += pcm[0];
    frames += p.length;
    *rate = static_cast<int>(p.samplerate);
  }
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
#ifndef _WIN32
  const double cpu = double(std::clock() - cpuStart) / CLOCKS_PER_SEC;
#endif
  mad_synth_finish(&synth);
  mad_frame_finish(&frame);
  mad_stream_finish(&stream);
  *framesOut = frames + (checksum == 0x7FFFFFFF ? 1 : 0);  // keeps the conversion
  if (*rate <= 0) return {};
  const double audio = double(frames) / *rate;
#ifdef _WIN32
  return {seconds > 0 ? audio / seconds : 0, 0};  // clock() is wall time there
#else
  return {seconds > 0 ? audio / seconds : 0, cpu > 0 ? audio / cpu : 0};
#endif
}

double ReportNumber(const std::string& report, const char* key) {
  const std::string field = std::string("\"") + key + "\": ";
  const size_t at = report.find(field);
  return at == std::string::npos ? 0 : std::atof(report.c_str() + at + field.size());
}

// Runs qvrender on the file: its report's x_realtime, and the audio per CPU
// second of the whole process.
Speed Qvrender(const std::string& program, const std::string& file, int rate) {
  std::string command = "\"" + program + "\" \"" + file + "\"";
#ifdef _WIN32
  // cmd.exe drops the first and the last quote of a line that starts with one.
  command = "\"" + command + "\"";
#endif
  const double cpuBefore = ChildCpuSeconds();
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return {};
  std::string report;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe)) report += buffer;
  if (pclose(pipe) != 0) return {};
  const double cpu = ChildCpuSeconds() - cpuBefore;
  const double audio = rate > 0 ? ReportNumber(report, "frames_out") / rate : 0;
  return {ReportNumber(report, "x_realtime"), cpu > 0 ? audio / cpu : 0};
}

}  // namespace

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: mpeg_bench QVRENDER FILE [runs]\n");
    return 2;
  }
  const int runs = argc > 3 ? std::max(1, std::atoi(argv[3])) : 5;
  std::vector<unsigned char> file;
  if (!ReadFile(argv[2], file)) {
    std::fprintf(stderr, "mpeg_bench: cannot read %s\n", argv[2]);
    return 2;
  }
  Speed dithered, rounded, engine;
  uint64_t frames = 0;
  int rate = 0;
  for (int r = 0; r < runs; ++r) {
    dithered = Best(dithered, BareLoop(file, true, &frames, &rate));
    rounded = Best(rounded, BareLoop(file, false, &frames, &rate));
    engine = Best(engine, Qvrender(argv[1], argv[2], rate));
  }
  if (dithered.wall <= 0 || rounded.wall <= 0 || engine.wall <= 0) {
    std::fprintf(stderr, "mpeg_bench: a run failed\n");
    return 1;
  }
  const bool cpu = dithered.cpu > 0 && rounded.cpu > 0 && engine.cpu > 0;
  auto cost = [&](const Speed& bare) {
    return cpu ? (bare.cpu / engine.cpu - 1) * 100 : (bare.wall / engine.wall - 1) * 100;
  };
  std::printf("%-40s %10s %16s\n", "x real time", "wall", "per CPU second");
  std::printf("%-40s %10.1f %16.1f\n", "bare libmad loop, engine's conversion", dithered.wall, dithered.cpu);
  std::printf("%-40s %10.1f %16.1f\n", "bare libmad loop, plain rounding", rounded.wall, rounded.cpu);
  std::printf("%-40s %10.1f %16.1f\n", "qvrender (engine, effects off)", engine.wall, engine.cpu);
  std::printf("engine cost (%s) over the bare loop: %.1f%% (same conversion), %.1f%% (plain rounding)\n",
              cpu ? "CPU time" : "wall time", cost(dithered), cost(rounded));
  std::printf("{\"file\": \"%s\", \"seconds\": %.2f, \"bare_x_realtime\": %.2f, \"bare_rounded_x_realtime\": %.2f, "
              "\"qvrender_x_realtime\": %.2f, \"bare_x_per_cpu\": %.2f, \"bare_rounded_x_per_cpu\": %.2f, "
              "\"qvrender_x_per_cpu\": %.2f, \"engine_cost_percent\": %.2f, \"engine_cost_over_rounded_percent\": %.2f}\n",
              argv[2], rate ? double(frames) / rate : 0.0, dithered.wall, rounded.wall, engine.wall, dithered.cpu,
              rounded.cpu, engine.cpu, cost(dithered), cost(rounded));
  return 0;
}
