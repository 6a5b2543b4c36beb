// player_probe: starts QuoviraPlayer and watches it play one track from the
// Windows side, for bench/player/measure.
//
// usage: player_probe [--interval MS] [--timeout S] PLAYER.exe [ARGS...]
//
// It starts the player with ARGS, samples its memory counters every MS
// milliseconds (default 100) until it has exited, and reads the player's
// state report a few times a second. When the track has played (status 1,
// then 0) it closes the window as the user would. On stdout, one line per
// event as it happens (times in ms since just before CreateProcess):
//   window T | paint T | playing T | stopped T
// and at the end one line "result {json}". Exit code 0 when the player
// played and ended, 1 when it did not (with "error TEXT" on stdout), 2 on a
// usage error.
#include <windows.h>
#include <psapi.h>

#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <map>
#include <string>

#include "tools/qvdriver/player_link.h"

namespace {

constexpr UINT kCommandExit = 40004;
constexpr int kStateEvery = 3;  // state reports per memory sample: every third

using State = std::map<std::wstring, std::wstring>;

State Parse(const std::wstring& report) {
  State state;
  size_t start = 0;
  while (start < report.size()) {
    size_t end = report.find(L'\n', start);
    if (end == std::wstring::npos) end = report.size();
    std::wstring line = report.substr(start, end - start);
    size_t eq = line.find(L'=');
    if (eq != std::wstring::npos) state[line.substr(0, eq)] = line.substr(eq + 1);
    start = end + 1;
  }
  return state;
}

long long Number(const State& s, const wchar_t* key) {
  auto it = s.find(key);
  return it == s.end() ? -1 : std::wcstoll(it->second.c_str(), nullptr, 10);
}

struct Probe {
  LARGE_INTEGER frequency{}, t0{};
  double Ms(long long counter) const {
    return static_cast<double>(counter - t0.QuadPart) * 1000.0 / static_cast<double>(frequency.QuadPart);
  }
  double Now() const {
    LARGE_INTEGER now;
    QueryPerformanceCounter(&now);
    return Ms(now.QuadPart);
  }
  void Event(const char* name, double ms) const {
    std::printf("%s %.1f\n", name, ms);
    std::fflush(stdout);
  }
};

struct Peaks {
  SIZE_T privateUsage = 0, pagefile = 0, workingSet = 0;
  unsigned samples = 0;
  void Sample(HANDLE process) {
    PROCESS_MEMORY_COUNTERS_EX c = {};
    c.cb = sizeof(c);
    if (!GetProcessMemoryInfo(process, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&c), sizeof(c))) return;
    ++samples;
    // Wine reports the peak counters as the current values, so the peaks
    // are also taken over the samples.
    SIZE_T priv = c.PrivateUsage > c.PeakPagefileUsage ? c.PrivateUsage : c.PeakPagefileUsage;
    if (priv > privateUsage) privateUsage = priv;
    if (c.PeakPagefileUsage > pagefile) pagefile = c.PeakPagefileUsage;
    SIZE_T ws = c.PeakWorkingSetSize > c.WorkingSetSize ? c.PeakWorkingSetSize : c.WorkingSetSize;
    if (ws > workingSet) workingSet = ws;
  }
};

int Fail(const char* text) {
  std::printf("error %s\n", text);
  std::fflush(stdout);
  return 1;
}

std::wstring Quote(const std::wstring& arg) {
  if (!arg.empty() && arg.find_first_of(L" \t\"") == std::wstring::npos) return arg;
  std::wstring out = L"\"";
  for (wchar_t c : arg) {
    if (c == L'"') out += L'\\';
    out += c;
  }
  return out + L"\"";
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  DWORD interval = 100;
  double timeoutS = 600;
  int i = 1;
  for (; i + 1 < argc && argv[i][0] == L'-' && argv[i][1] == L'-'; i += 2) {
    std::wstring name = argv[i];
    if (name == L"--interval")
      interval = static_cast<DWORD>(std::wcstoul(argv[i + 1], nullptr, 10));
    else if (name == L"--timeout")
      timeoutS = std::wcstod(argv[i + 1], nullptr);
    else
      break;
  }
  if (i >= argc || interval == 0) {
    std::fprintf(stderr, "usage: player_probe [--interval MS] [--timeout S] PLAYER.exe [ARGS...]\n");
    return 2;
  }
  std::wstring command;
  for (int a = i; a < argc; ++a) command += (a > i ? L" " : L"") + Quote(argv[a]);

  Probe probe;
  QueryPerformanceFrequency(&probe.frequency);
  STARTUPINFOW si = {};
  si.cb = sizeof(si);
  PROCESS_INFORMATION pi = {};
  QueryPerformanceCounter(&probe.t0);
  if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi))
    return Fail("the player could not be started");
  CloseHandle(pi.hThread);

  Peaks peaks;
  State last;
  HWND window = nullptr;
  double windowMs = -1, paintMs = -1, playingMs = -1, stoppedMs = -1;
  bool closeSent = false;
  for (unsigned tick = 0;; ++tick) {
    peaks.Sample(pi.hProcess);
    if (WaitForSingleObject(pi.hProcess, interval) == WAIT_OBJECT_0) break;
    if (probe.Now() > timeoutS * 1000) {
      TerminateProcess(pi.hProcess, 1);
      return Fail("timed out");
    }
    if (tick % kStateEvery != 0 || closeSent) continue;
    if (!window) {
      window = qvdriver::FindPlayer(0);
      if (!window) continue;
      windowMs = probe.Now();
      probe.Event("window", windowMs);
    }
    State s = Parse(qvdriver::QueryState(window, 5000));
    if (s.empty()) continue;
    last = s;
    long long firstPaint = Number(s, L"firstPaintQpc");
    if (paintMs < 0 && firstPaint > 0) {
      paintMs = probe.Ms(firstPaint);
      probe.Event("paint", paintMs);
    }
    long long status = Number(s, L"status");
    if (playingMs < 0 && status == 1) {
      playingMs = probe.Now();
      probe.Event("playing", playingMs);
    } else if (playingMs >= 0 && status == 0) {
      stoppedMs = probe.Now();
      probe.Event("stopped", stoppedMs);
      PostMessageW(window, WM_COMMAND, kCommandExit, 0);
      closeSent = true;
    } else if (playingMs < 0 && Number(s, L"started") == 1 && probe.Now() > 60000) {
      PostMessageW(window, WM_COMMAND, kCommandExit, 0);
      closeSent = true;  // never played: close and report
    }
  }
  DWORD code = 0;
  GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  if (paintMs < 0) return Fail("the player painted no frame");
  if (playingMs < 0 || stoppedMs < 0) return Fail("the player did not play the track");

  std::printf("result {\"first_paint_ms\": %.1f, \"window_ms\": %.1f, \"playing_ms\": %.1f, \"play_ms\": %.1f, "
              "\"peak_private_bytes\": %lu, \"peak_pagefile_bytes\": %lu, \"peak_working_set_bytes\": %lu, "
              "\"memory_samples\": %u, \"exit_code\": %lu, \"length_ms\": %lld, \"effects\": {",
              paintMs, windowMs, playingMs, stoppedMs - playingMs, static_cast<unsigned long>(peaks.privateUsage),
              static_cast<unsigned long>(peaks.pagefile), static_cast<unsigned long>(peaks.workingSet), peaks.samples,
              static_cast<unsigned long>(code), Number(last, L"length"));
  bool first = true;
  for (const auto& kv : last) {
    if (kv.first.compare(0, 3, L"fx.") != 0) continue;
    std::printf("%s\"%ls\": %lld", first ? "" : ", ", kv.first.c_str() + 3, Number(last, kv.first.c_str()));
    first = false;
  }
  std::printf("}}\n");
  std::fflush(stdout);
  return 0;
}
