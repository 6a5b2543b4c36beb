// A scripted decoder plug-in for the contract tests: it accepts files whose
// name ends in "fake.wma", delivers a ramp of 16-bit stereo samples in the
// amounts the script says, and records every call.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "engine/plugins/decoder_plugin.h"
#include "tests/engine/engine_test_support.h"

namespace qv::test {

struct FakeScript {
  uint32_t capabilities = kPluginPlaysFiles | kPluginSeeks | kPluginTags;
  PluginFileInfo info{2, 44100, 16, 1411, 1000};
  int startResult = 1;
  uint32_t totalFrames = 44100;    // frames delivered before the last data
  uint32_t framesPerDecode = 1000;
  int failAfterDecodes = -1;       // Decode returns -1 from this call on
  int32_t seekShiftMs = 0;         // Seek reaches ms + shift (-1 result when the sum is negative)
  bool tagsAnswer = true;
  bool fileTagsAnswer = true;
  bool unterminatedTitle = false;  // GetTag fills the whole title
};

struct FakeLog {
  int init = 0, quit = 0, capabilities = 0, open = 0, start = 0, decode = 0, stop = 0, close = 0;
  int getTag = 0, getFileTag = 0;
  std::vector<int32_t> seeks;
  void* lastContext = nullptr;  // what the per-file entries received
};

// The script and log shared by all fake tables (one test at a time).
FakeScript& Script();
FakeLog& Log();
void ResetFake();

// The sample the fake delivers at frame f, channel c.
int FakeSample(uint32_t frame, int channel);
Bytes FakePcm(uint32_t firstFrame, uint32_t frames);

// The fake's table, complete and valid.
DecoderPlugin* GetFakePlugin();

// The file name the fake accepts (other plug-ins refuse it: not FLAC by
// name, not APE by content, and the WMA plug-in takes nothing yet).
std::u16string FakeFilePath();

}  // namespace qv::test
