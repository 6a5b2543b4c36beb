// The player's side of the effect-host protocol, against windows of the
// host class made here and against fxprobe in its own process.
#include <gtest/gtest.h>

#include <cstring>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "app/effecthost/effect_host_link.h"
#include "dsp/effect_records.h"
#include "win32_test_support.h"

namespace {

using namespace qv::effecthost;

// A window of the host class that records what it receives.
struct Received {
  UINT message;
  WPARAM wParam;
  LPARAM lParam;
  uint32_t code;
  std::vector<uint8_t> data;
};
std::vector<Received>* g_received = nullptr;

LRESULT CALLBACK RecordingProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  if (g_received && (message == WM_COMMAND || message == WM_COPYDATA || (message >= 1924 && message <= 1926))) {
    Received r{message, wParam, lParam, 0, {}};
    if (message == WM_COPYDATA) {
      auto* copy = reinterpret_cast<const COPYDATASTRUCT*>(lParam);
      r.code = static_cast<uint32_t>(copy->dwData);
      const auto* bytes = static_cast<const uint8_t*>(copy->lpData);
      r.data.assign(bytes, bytes + copy->cbData);
    }
    g_received->push_back(r);
    return 1;
  }
  return DefWindowProcW(hwnd, message, wParam, lParam);
}

class HostWindows : public ::testing::Test {
 protected:
  void SetUp() override {
    g_received = &received_;
    WNDCLASSW wc = {};
    wc.lpfnWndProc = RecordingProc;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = L"QUOVIRA";
    RegisterClassW(&wc);
  }
  void TearDown() override { g_received = nullptr; }
  HWND MakeHost() {
    return CreateWindowExW(WS_EX_TOOLWINDOW, L"QUOVIRA", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                           GetModuleHandleW(nullptr), nullptr);
  }
  std::vector<Received> received_;
};

TEST_F(HostWindows, MessagesToAMissingHostAreSkipped) {
  EffectHostLink link;
  EXPECT_EQ(link.Host(), nullptr);
  EXPECT_FALSE(link.Restored());
  EXPECT_FALSE(link.PanelClosed());
  EXPECT_TRUE(received_.empty());
}

TEST_F(HostWindows, EveryAnnouncementArrivesAsItsMessage) {
  HWND host = MakeHost();
  ASSERT_NE(host, nullptr);
  EffectHostLink link;
  struct Expected {
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
  };
  const Expected expected[] = {
      {WM_COMMAND, cmd::kModeKind0, 0},   {WM_COMMAND, cmd::kModeKind1, 0},  {WM_COMMAND, cmd::kModeKind4To5, 0},
      {WM_COMMAND, cmd::kModeKind6, 0},   {WM_COMMAND, cmd::kModeKind7, 0},  {WM_COMMAND, cmd::kQbs, kQbsKind14},
      {WM_COMMAND, cmd::kPresetApplied, kPresetWe}, {WM_COMMAND, cmd::kMinimized, 0},
      {WM_COMMAND, cmd::kRestored, 0},    {WM_COMMAND, cmd::kTopMost, 1},    {kPanelOpened, 0, 0},
      {kPanelClosed, 0, 0},               {kMainWindowMoved, 0, 0},
  };
  EXPECT_TRUE(link.ModeApplied(cmd::kModeKind0));
  EXPECT_TRUE(link.ModeApplied(cmd::kModeKind1));
  EXPECT_TRUE(link.ModeApplied(cmd::kModeKind4To5));
  EXPECT_TRUE(link.ModeApplied(cmd::kModeKind6));
  EXPECT_TRUE(link.ModeApplied(cmd::kModeKind7));
  EXPECT_TRUE(link.QbsChanged(kQbsKind14));
  EXPECT_TRUE(link.PresetApplied(kPresetWe));
  EXPECT_TRUE(link.Minimized());
  EXPECT_TRUE(link.Restored());
  EXPECT_TRUE(link.TopMostChanged(true));
  EXPECT_TRUE(link.PanelOpened());
  EXPECT_TRUE(link.PanelClosed());
  EXPECT_TRUE(link.MainWindowMoved());
  ASSERT_EQ(received_.size(), std::size(expected));
  for (size_t i = 0; i < received_.size(); ++i) {
    EXPECT_EQ(received_[i].message, expected[i].message) << i;
    EXPECT_EQ(received_[i].wParam, expected[i].wParam) << i;
    EXPECT_EQ(received_[i].lParam, expected[i].lParam) << i;
  }
  DestroyWindow(host);
}

TEST_F(HostWindows, ARecreatedHostIsFoundAgain) {
  HWND first = MakeHost();
  EffectHostLink link;
  ASSERT_EQ(link.Host(), first);
  DestroyWindow(first);
  EXPECT_EQ(link.Host(), nullptr);
  EXPECT_FALSE(link.Restored());
  HWND second = MakeHost();
  EXPECT_EQ(link.Host(), second);
  EXPECT_TRUE(link.Restored());
  ASSERT_EQ(received_.size(), 1u);
  DestroyWindow(second);
}

TEST_F(HostWindows, CopyDataCarriesTheRecordByteForByte) {
  HWND host = MakeHost();
  qv::EffectParams params;
  std::memset(&params, 0, sizeof(params));
  params.qvEqOn = 1;
  params.crossoverHzLeft[1] = 1234;
  params.drcFlag = -7;
  HWND from = reinterpret_cast<HWND>(0x1234);
  EXPECT_TRUE(SendCopyData(host, from, copydata::kEffectParams, &params, sizeof(params)));
  EXPECT_FALSE(SendCopyData(nullptr, from, copydata::kEffectParams, &params, sizeof(params)));
  ASSERT_EQ(received_.size(), 1u);
  EXPECT_EQ(received_[0].code, copydata::kEffectParams);
  EXPECT_EQ(received_[0].wParam, reinterpret_cast<WPARAM>(from));
  ASSERT_EQ(received_[0].data.size(), 1240u);
  EXPECT_EQ(std::memcmp(received_[0].data.data(), &params, sizeof(params)), 0);
  DestroyWindow(host);
}

// fxprobe in its own process, as the player's tests use it.
class Probe : public ::testing::Test {
 protected:
  void SetUp() override {
    folder_ = qvtest::MakeTempFolder(L"probe");
    log_ = folder_ + L"probe.log";
    ready_ = folder_ + L"probe.ready";
    DeleteFileW(ready_.c_str());
  }

  // Starts a process and returns its handle (null on failure).
  HANDLE Start(const std::wstring& arguments) {
    std::wstring command = L"\"" + qvtest::ProgramFolder() + L"fxprobe.exe\" " + arguments;
    STARTUPINFOW si = {};
    si.cb = sizeof(si);
    PROCESS_INFORMATION pi = {};
    if (!CreateProcessW(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return nullptr;
    CloseHandle(pi.hThread);
    return pi.hProcess;
  }

  // Waits for the process while this thread keeps answering its messages.
  DWORD Finish(HANDLE process) {
    qvtest::PumpUntil([&] { return WaitForSingleObject(process, 0) == WAIT_OBJECT_0; }, 60000);
    DWORD code = 999;
    GetExitCodeProcess(process, &code);
    CloseHandle(process);
    return code;
  }

  std::string ReadLog() {
    std::ifstream in(std::string(log_.begin(), log_.end()));
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  std::wstring folder_, log_, ready_;
};

std::string Hex(const void* data, size_t size) {
  static const char kDigits[] = "0123456789abcdef";
  std::string text;
  for (size_t i = 0; i < size; ++i) {
    uint8_t b = static_cast<const uint8_t*>(data)[i];
    text += kDigits[b >> 4];
    text += kDigits[b & 15];
  }
  return text;
}

TEST_F(Probe, LogsCopyDataWithTheExactBytesAndTheHostCommands) {
  HANDLE listener = Start(L"listen --log \"" + log_ + L"\" --ready \"" + ready_ + L"\" --seconds 60");
  ASSERT_NE(listener, nullptr);
  ASSERT_TRUE(qvtest::PumpUntil([&] { return GetFileAttributesW(ready_.c_str()) != INVALID_FILE_ATTRIBUTES; }, 60000));

  qv::EffectParams params;
  auto* bytes = reinterpret_cast<uint8_t*>(&params);
  for (size_t i = 0; i < sizeof(params); ++i) bytes[i] = static_cast<uint8_t>(i * 7 + 3);
  HWND equalizer = FindTopLevel(kEqualizerClass);
  ASSERT_NE(equalizer, nullptr);
  LRESULT answer = 0;
  ASSERT_TRUE(SendCopyData(equalizer, nullptr, copydata::kEffectParams, &params, sizeof(params), &answer));
  EXPECT_EQ(answer, 1);

  EffectHostLink link;
  ASSERT_NE(link.Host(), nullptr);
  EXPECT_TRUE(link.PresetApplied(kPresetEq));
  EXPECT_TRUE(link.MainWindowMoved());
  PostMessageW(link.Host(), WM_CLOSE, 0, 0);
  EXPECT_EQ(Finish(listener), 0u);

  std::string expected = "Equalizer WM_COPYDATA code=1529 size=1240 from=0 data=" + Hex(&params, sizeof(params)) +
                         "\nQUOVIRA WM_COMMAND id=1538 notify=0 lparam=10\nQUOVIRA MSG 1926 wparam=0 lparam=0\n";
  EXPECT_EQ(ReadLog(), expected);
}

// A window of this process that the probe sends to.
std::vector<Received> g_probeTarget;
LRESULT CALLBACK ProbeTargetProc(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
  std::vector<Received>* saved = g_received;
  g_received = &g_probeTarget;
  LRESULT r = RecordingProc(hwnd, message, wParam, lParam);
  if (message == 1125 || message == 1538) {
    g_probeTarget.push_back({message, wParam, lParam, 0, {}});
    r = 0;
  }
  g_received = saved;
  return r;
}

TEST_F(Probe, SendsTheHostsMessagesToAGivenWindow) {
  WNDCLASSW wc = {};
  wc.lpfnWndProc = ProbeTargetProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"QvProbeTarget";
  RegisterClassW(&wc);
  HWND target = CreateWindowExW(0, L"QvProbeTarget", L"", WS_POPUP, 0, 0, 0, 0, nullptr, nullptr,
                                GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(target, nullptr);
  g_probeTarget.clear();

  qv::QbsParams qbs = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10};
  std::wstring dataFile = folder_ + L"qbs.bin";
  ASSERT_TRUE(qvtest::WriteTextFile(dataFile, std::string(reinterpret_cast<const char*>(&qbs), sizeof(qbs))));
  wchar_t handle[32];
  swprintf(handle, 32, L"%#lx", static_cast<unsigned long>(reinterpret_cast<uintptr_t>(target)));

  EXPECT_EQ(Finish(Start(L"send --hwnd " + std::wstring(handle) + L" --copydata 1729 --data-file \"" + dataFile + L"\"")), 0u);
  EXPECT_EQ(Finish(Start(L"send --hwnd " + std::wstring(handle) + L" --copydata 1726 --data 0100000002000000fdffffff04000000")), 0u);
  EXPECT_EQ(Finish(Start(L"send --class QvProbeTarget --message 1125 --lparam 1")), 0u);
  EXPECT_EQ(Finish(Start(L"send --class QvProbeTarget --message 1538 --wparam -1")), 0u);
  EXPECT_EQ(Finish(Start(L"send --class QvNoSuchWindow --message 1125")), 3u);

  ASSERT_EQ(g_probeTarget.size(), 4u);
  EXPECT_EQ(g_probeTarget[0].code, 1729u);
  ASSERT_EQ(g_probeTarget[0].data.size(), sizeof(qbs));
  EXPECT_EQ(std::memcmp(g_probeTarget[0].data.data(), &qbs, sizeof(qbs)), 0);
  EXPECT_NE(g_probeTarget[0].wParam, 0u) << "the sender's window travels as wParam";
  EXPECT_EQ(g_probeTarget[1].code, 1726u);
  qv::TypedSmallEffectParams small;
  ASSERT_EQ(g_probeTarget[1].data.size(), sizeof(small));
  std::memcpy(&small, g_probeTarget[1].data.data(), sizeof(small));
  EXPECT_EQ(small.type, 1);
  EXPECT_EQ(small.params.on, 2);
  EXPECT_EQ(small.params.value1, -3);
  EXPECT_EQ(small.params.value2, 4);
  EXPECT_EQ(g_probeTarget[2].message, 1125u);
  EXPECT_EQ(g_probeTarget[2].lParam, 1);
  EXPECT_EQ(g_probeTarget[3].message, 1538u);
  EXPECT_EQ(static_cast<intptr_t>(g_probeTarget[3].wParam), -1);
  DestroyWindow(target);
}

}  // namespace
