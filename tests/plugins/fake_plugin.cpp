#include "tests/plugins/fake_plugin.h"

#include <algorithm>
#include <cstring>
#include <string_view>

namespace qv::test {

namespace {

struct FakeFile {
  uint32_t frame = 0;
  int decodes = 0;
};

FakeFile* File(void* context) { return static_cast<FakeFile*>(context); }

void Init() { ++Log().init; }
void Quit() { ++Log().quit; }
uint32_t Capabilities() {
  ++Log().capabilities;
  return Script().capabilities;
}
int GetName(char16_t* name) {
  std::u16string_view text = u"Fake Plug-in";
  std::copy(text.begin(), text.end(), name);
  name[text.size()] = 0;
  return 1;
}
int SetEqualizer(const void*) { return 0; }
int ShowConfig(WindowHandle) { return 0; }
int GetExtCount() { return 1; }
int GetExt(int, char16_t*, char16_t*) { return 0; }
int IsValidFile(const char16_t*) { return 1; }

int OpenFile(void** context, const char16_t* path, PluginFileInfo* info) {
  ++Log().open;
  const std::u16string_view p(path);
  const std::u16string_view ending = u"fake.wma";
  if (p.size() < ending.size() || p.substr(p.size() - ending.size()) != ending) return 0;
  *context = new FakeFile;
  *info = Script().info;
  return 1;
}

int32_t Seek(void* context, int32_t ms) {
  Log().seeks.push_back(ms);
  Log().lastContext = context;
  const int32_t reached = ms + Script().seekShiftMs;
  if (reached < 0) return kPluginSeekFailed;
  File(context)->frame = uint32_t(uint64_t(reached) * uint32_t(Script().info.SampleRate) / 1000);
  return reached;
}

int Start(void* context) {
  ++Log().start;
  Log().lastContext = context;
  return Script().startResult;
}

int Decode(void* context, PluginWaveHeader* header) {
  ++Log().decode;
  Log().lastContext = context;
  FakeFile* f = File(context);
  if (Script().failAfterDecodes >= 0 && f->decodes >= Script().failAfterDecodes) return kPluginDecodeError;
  ++f->decodes;
  const uint32_t left = Script().totalFrames > f->frame ? Script().totalFrames - f->frame : 0;
  const uint32_t fit = header->bufferLength / 4;
  const uint32_t frames = std::min({left, Script().framesPerDecode, fit});
  const Bytes pcm = FakePcm(f->frame, frames);
  std::memcpy(header->data, pcm.data(), pcm.size());
  header->bytesRecorded = uint32_t(pcm.size());
  f->frame += frames;
  return f->frame >= Script().totalFrames ? kPluginDecodeLast : kPluginDecodeMore;
}

void Stop(void* context) {
  ++Log().stop;
  Log().lastContext = context;
  File(context)->frame = 0;
}

void Close(void* context) {
  ++Log().close;
  Log().lastContext = context;
  delete File(context);
}

void FillTags(TagInfo* tags) {
  std::u16string_view title = u"Fake Title";
  std::copy(title.begin(), title.end(), tags->Title);
  if (Script().unterminatedTitle) std::fill(tags->Title, tags->Title + kTagChars, u'x');
  std::u16string_view artist = u"Fake Artist";
  std::copy(artist.begin(), artist.end(), tags->Artist);
  tags->Year = 1999;
  tags->Track = 4;
}

int GetTag(void* context, TagInfo* tags) {
  ++Log().getTag;
  Log().lastContext = context;
  if (!Script().tagsAnswer) return 0;
  FillTags(tags);
  return 1;
}

int GetFileTag(const char16_t*, TagInfo* tags) {
  ++Log().getFileTag;
  if (!Script().fileTagsAnswer) return 0;
  FillTags(tags);
  return 1;
}

int OpenStreaming(void*, void*, void*) { return 0; }
int DecodeStreaming(void*, void*, void*, void*) { return -1; }
void CloseStreaming() {}

}  // namespace

FakeScript& Script() {
  static FakeScript script;
  return script;
}

FakeLog& Log() {
  static FakeLog log;
  return log;
}

void ResetFake() {
  Script() = FakeScript{};
  Log() = FakeLog{};
}

int FakeSample(uint32_t frame, int channel) { return RampSample(frame, channel); }

Bytes FakePcm(uint32_t firstFrame, uint32_t frames) {
  return Pcm16(frames, 2, [firstFrame](uint32_t f, int c) { return FakeSample(firstFrame + f, c); });
}

DecoderPlugin* GetFakePlugin() {
  static DecoderPlugin table;
  table = DecoderPlugin{kPluginVersion, kPluginCharWidth, nullptr, nullptr, Init, Quit, Capabilities, GetName,
                        SetEqualizer, ShowConfig, GetExtCount, GetExt, IsValidFile, OpenFile, Seek, Start, Decode,
                        Stop, Close, GetTag, GetFileTag, OpenStreaming, DecodeStreaming, CloseStreaming};
  return &table;
}

std::u16string FakeFilePath() {
  // Content that is no APE stream.
  const std::u16string path = TempPath("fake.wma");
  WriteBytes(path, Bytes(64, 0x55));
  return path;
}

}  // namespace qv::test
