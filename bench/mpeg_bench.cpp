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
// Two measures: wall time and CPU time, each over the decoding only
// (qvrender's own wall_s and cpu_s, from Engine_Play to the end; the bare
// loop's from opening the file to closing it). CPU time, which a machine
// busy with other work disturbs less, gives the cost. Under wine, QVRENDER
// is the Win32 qvrender.exe and FILE a path it opens.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "bench/bare_loops.h"
#include "platform/threads/process_cpu_time.h"

#ifdef _WIN32
#define popen _popen
#define pclose _pclose
#endif

namespace {

using Clock = std::chrono::steady_clock;

struct Speed {
  double wall = 0;  // x real time
  double cpu = 0;   // x real time per CPU second; 0 when not measured
};

Speed Best(Speed a, Speed b) { return {std::max(a.wall, b.wall), std::max(a.cpu, b.cpu)}; }

// Decodes the whole file; the multiples of real time (0 on failure).
Speed BareLoop(const std::string& file, bool dither, uint64_t* framesOut, int* rate) {
  bench::BareResult result;
  std::string error;
  const double cpuStart = qv::ProcessCpuSeconds();
  const auto start = Clock::now();
  const bool ok = bench::BareMp3(file, dither, &result, &error);
  const double seconds = std::chrono::duration<double>(Clock::now() - start).count();
  const double cpu = qv::ProcessCpuSeconds() - cpuStart;
  if (!ok || result.rate <= 0) {
    std::fprintf(stderr, "mpeg_bench: %s\n", error.c_str());
    return {};
  }
  *framesOut = result.frames;
  *rate = result.rate;
  const double audio = double(result.frames) / result.rate;
  return {seconds > 0 ? audio / seconds : 0, cpu > 0 ? audio / cpu : 0};
}

// The path as a JSON string (Windows paths carry backslashes).
std::string JsonText(const std::string& text) {
  std::string out = "\"";
  for (char c : text) {
    if (c == '"' || c == '\\') out += '\\';
    out += c;
  }
  return out + "\"";
}

double ReportNumber(const std::string& report, const char* key) {
  const std::string field = std::string("\"") + key + "\": ";
  const size_t at = report.find(field);
  return at == std::string::npos ? 0 : std::atof(report.c_str() + at + field.size());
}

// Runs qvrender on the file: its report's x_realtime, and the audio per CPU
// second from its cpu_s.
Speed Qvrender(const std::string& program, const std::string& file, int rate) {
  std::string command = "\"" + program + "\" \"" + file + "\"";
#ifdef _WIN32
  // cmd.exe drops the first and the last quote of a line that starts with one.
  command = "\"" + command + "\"";
#endif
  FILE* pipe = popen(command.c_str(), "r");
  if (!pipe) return {};
  std::string report;
  char buffer[4096];
  while (std::fgets(buffer, sizeof buffer, pipe)) report += buffer;
  if (pclose(pipe) != 0) return {};
  const double cpu = ReportNumber(report, "cpu_s");
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
  const std::string file = argv[2];
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
  std::printf("{\"file\": %s, \"seconds\": %.2f, \"bare_x_realtime\": %.2f, \"bare_rounded_x_realtime\": %.2f, "
              "\"qvrender_x_realtime\": %.2f, \"bare_x_per_cpu\": %.2f, \"bare_rounded_x_per_cpu\": %.2f, "
              "\"qvrender_x_per_cpu\": %.2f, \"engine_cost_percent\": %.2f, \"engine_cost_over_rounded_percent\": %.2f}\n",
              JsonText(argv[2]).c_str(), rate ? double(frames) / rate : 0.0, dithered.wall, rounded.wall, engine.wall, dithered.cpu,
              rounded.cpu, engine.cpu, cost(dithered), cost(rounded));
  return 0;
}
