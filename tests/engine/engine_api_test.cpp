// The call interface: null handles, records, options, extensions, time text,
// effect records and the calls that have no source behind them yet.
#include <gtest/gtest.h>

#include <cstring>

#include "engine/source_ops.h"
#include "platform/text/utf16.h"
#include "tests/engine/engine_test_support.h"

namespace qv::test {
namespace {

TEST(EngineApi, EveryCallWithANullHandleDoesNothingAndReturnsZero) {
  TrackInfo info{};
  TagInfo tags{};
  EngineOptions options{};
  StreamingOptions streaming{};
  EffectParams effects{};
  QbsParams qbs{};
  SmallEffectParams small{};
  SpectrumBands bands{};
  uint32_t total = 7, queued = 7;
  char16_t text[kPathChars] = u"x";
  const std::vector<std::pair<const char*, std::function<int()>>> calls = {
      {"Destroy", [] { return Engine_Destroy(nullptr); }},
      {"OpenFile", [] { return Engine_OpenFile(nullptr, u"a.wav"); }},
      {"OpenStream", [] { return Engine_OpenStream(nullptr, u"http://x/"); }},
      {"CloseFile", [] { return Engine_CloseFile(nullptr); }},
      {"Play", [] { return Engine_Play(nullptr); }},
      {"Pause", [] { return Engine_Pause(nullptr); }},
      {"Stop", [] { return Engine_Stop(nullptr); }},
      {"Seek", [] { return Engine_Seek(nullptr, 10); }},
      {"SetVolume", [] { return Engine_SetVolume(nullptr, 100); }},
      {"CloseDevice", [] { return Engine_CloseDevice(nullptr); }},
      {"GetStatus", [] { return Engine_GetStatus(nullptr); }},
      {"GetSourceKind", [] { return Engine_GetSourceKind(nullptr); }},
      {"GetLength", [] { return int(Engine_GetLength(nullptr)); }},
      {"GetPosition", [] { return int(Engine_GetPosition(nullptr)); }},
      {"GetTrackInfo", [&] { return Engine_GetTrackInfo(nullptr, &info); }},
      {"GetTags", [&] { return Engine_GetTags(nullptr, &tags); }},
      {"GetFileTags", [&] { return Engine_GetFileTags(nullptr, u"a.mp3", &tags); }},
      {"GetOptions", [&] { return Engine_GetOptions(nullptr, &options); }},
      {"SetOptions", [&] { return Engine_SetOptions(nullptr, &options); }},
      {"GetBufferInfo", [&] { return Engine_GetBufferInfo(nullptr, &total, &queued); }},
      {"GetStreamState", [] { return Engine_GetStreamState(nullptr); }},
      {"GetStreamBufferPercent", [] { return Engine_GetStreamBufferPercent(nullptr); }},
      {"GetStreamInfo", [&] { return Engine_GetStreamInfo(nullptr, text, text, text); }},
      {"GetStreamTitle", [&] { return Engine_GetStreamTitle(nullptr, text); }},
      {"SetStreamingOptions", [&] { return Engine_SetStreamingOptions(nullptr, &streaming); }},
      {"GetStreamingOptions", [&] { return Engine_GetStreamingOptions(nullptr, &streaming); }},
      {"GetPluginCount", [] { return Engine_GetPluginCount(nullptr); }},
      {"GetPlugin", [] { return Engine_GetPlugin(nullptr, 0) ? 1 : 0; }},
      {"SetEffectParams", [&] { return Engine_SetEffectParams(nullptr, &effects); }},
      {"GetEffectParams", [&] { return Engine_GetEffectParams(nullptr, &effects); }},
      {"SetSurroundParams", [&] { return Engine_SetSurroundParams(nullptr, &qbs); }},
      {"GetSurroundParams", [&] { return Engine_GetSurroundParams(nullptr, &qbs); }},
      {"SetEffectByType", [&] { return Engine_SetEffectByType(nullptr, 0, &small); }},
      {"GetEffectByType", [&] { return Engine_GetEffectByType(nullptr, 0, &small); }},
      {"EnableSpectrum", [] { return Engine_EnableSpectrum(nullptr, 1); }},
      {"SetSpectrumMode", [] { return Engine_SetSpectrumMode(nullptr, 1); }},
      {"GetSpectrum", [&] { return Engine_GetSpectrum(nullptr, &bands); }},
      {"SetNotifyWindow", [] { return Engine_SetNotifyWindow(nullptr, nullptr); }},
  };
  for (const auto& [name, call] : calls) EXPECT_EQ(call(), 0) << name;
  EXPECT_EQ(total, 7u);
  EXPECT_EQ(text[0], u'x');
}

TEST(EngineApi, CreatedEngineHasTheDefaultOptionsAndNoSource) {
  TestEngine t;
  EngineOptions o{};
  ASSERT_EQ(Engine_GetOptions(t.handle(), &o), 1);
  EXPECT_EQ(o.ThreadPriority, 1);
  EXPECT_EQ(o.OutputBufferLen, 500);
  EXPECT_EQ(o.OutputPrebuffer, 10);
  EXPECT_EQ(o.ScanCompletely, 0);
  EXPECT_EQ(o.OutputFade, 0);
  EXPECT_EQ(o.SuppressZeroSamples, 0);
  EXPECT_EQ(o.AlwaysOpenDev, 0);
  EXPECT_EQ(Engine_GetStatus(t.handle()), 0);
  EXPECT_EQ(Engine_GetSourceKind(t.handle()), 0);
  EXPECT_EQ(Engine_GetLength(t.handle()), 0);
  EXPECT_EQ(Engine_Play(t.handle()), 0);
  EXPECT_EQ(Engine_Seek(t.handle(), 0), 0);
  TrackInfo info{};
  info.Channels = 99;
  EXPECT_EQ(Engine_GetTrackInfo(t.handle(), &info), 0);
  EXPECT_EQ(info.Channels, 99) << "untouched without a source";
}

TEST(EngineApi, TimeTextFormats) {
  const std::vector<std::pair<int32_t, std::u16string>> cases = {
      {0, u"00:00"},          {187000, u"03:07"},      {59999, u"00:59"},     {3599999, u"59:59"},
      {3600000, u"01:00:00"}, {3725000, u"01:02:05"},  {36300000, u"10:05:00"},
  };
  for (const auto& [ms, text] : cases) {
    char16_t out[kTimeTextChars] = {};
    FormatTimeText(ms, out);
    EXPECT_EQ(std::u16string(out), text) << ms;
  }
}

TEST(EngineApi, SetOptionsValidation) {
  struct Case {
    const char* name;
    std::function<void(EngineOptions&)> change;
    bool accepted;
  };
  const std::vector<Case> cases = {
      {"prebuffer 100", [](EngineOptions& o) { o.OutputPrebuffer = 100; }, true},
      {"prebuffer 0", [](EngineOptions& o) { o.OutputPrebuffer = 0; }, true},
      {"prebuffer 101", [](EngineOptions& o) { o.OutputPrebuffer = 101; }, false},
      {"prebuffer -1", [](EngineOptions& o) { o.OutputPrebuffer = -1; }, false},
      {"buffer 10", [](EngineOptions& o) { o.OutputBufferLen = 10; }, true},
      {"buffer 9", [](EngineOptions& o) { o.OutputBufferLen = 9; }, false},
      {"buffer 5000 always open", [](EngineOptions& o) { o.OutputBufferLen = 5000, o.AlwaysOpenDev = 1; }, true},
      {"scan and suppress", [](EngineOptions& o) { o.ScanCompletely = 1, o.SuppressZeroSamples = 1; }, true},
  };
  for (const auto& c : cases) {
    TestEngine t;
    EngineOptions before{}, after{};
    Engine_GetOptions(t.handle(), &before);
    EngineOptions wanted = before;
    c.change(wanted);
    EXPECT_EQ(Engine_SetOptions(t.handle(), &wanted), c.accepted ? 1 : 0) << c.name;
    Engine_GetOptions(t.handle(), &after);
    const EngineOptions& expected = c.accepted ? wanted : before;
    EXPECT_EQ(std::memcmp(&after, &expected, sizeof after), 0) << c.name << ": refused options leave the old ones";
  }
}

TEST(EngineApi, SetOptionsIsRefusedWhilePlaying) {
  TestEngine t(VirtualWaveOut::Pace::RealTime);
  ASSERT_TRUE(WriteBytes(TempPath("options_playing.wav"), PcmWav(1, 8000, 16, Pcm16(16000, 1, RampSample))));
  ASSERT_EQ(Engine_OpenFile(t.handle(), TempPath("options_playing.wav").c_str()), 1);
  ASSERT_EQ(Engine_Play(t.handle()), 1);
  ASSERT_TRUE(t.sink().WaitForStatus(1));
  EngineOptions o{}, after{};
  Engine_GetOptions(t.handle(), &o);
  o.OutputPrebuffer = 50;
  EXPECT_EQ(Engine_SetOptions(t.handle(), &o), 0);
  Engine_GetOptions(t.handle(), &after);
  EXPECT_EQ(after.OutputPrebuffer, 10);
  Engine_Stop(t.handle());
}

TEST(EngineApi, ExtensionsMatchAllLowerOrAllUpperOnly) {
  const std::vector<std::pair<std::u16string, SourceKind>> cases = {
      {u"song.mp3", SourceKind::MpegAudio},  {u"song.MP3", SourceKind::MpegAudio},
      {u"song.Mp3", SourceKind::None},       {u"a.rmp", SourceKind::MpegAudio},
      {u"a.MPA", SourceKind::MpegAudio},     {u"a.mp2", SourceKind::MpegAudio},
      {u"a.ogg", SourceKind::OggVorbis},     {u"a.Ogg", SourceKind::None},
      {u"a.wav", SourceKind::Wave},          {u"a.WAV", SourceKind::Wave},
      {u"a.Wav", SourceKind::None},          {u"D:\\Track01.cda", SourceKind::CdAudio},
      {u"a.flac", SourceKind::Plugin},       {u"a.APE", SourceKind::Plugin},
      {u"a.wma", SourceKind::Plugin},        {u"a.wmv", SourceKind::None},
      {u"a.apl", SourceKind::None},          {u"noextension", SourceKind::None},
      {u"dir.wav/name", SourceKind::None},   {u"dir.wav\\name", SourceKind::None},
      {u"x.tar.wav", SourceKind::Wave},
  };
  for (const auto& [path, kind] : cases)
    EXPECT_EQ(KindForExtension(PathExtension(path)), kind) << ToUtf8(path);
}

TEST(EngineApi, OpenFileFollowsTheExtensionRules) {
  TestEngine t;
  const Bytes wav = PcmWav(1, 8000, 16, Pcm16(800, 1, RampSample));
  const std::vector<std::pair<std::string, int>> cases = {
      {"rule.wav", 1}, {"rule.WAV", 1}, {"rule.Wav", 0}, {"rule.txt", 0},
      // Kinds that are not built in yet fail to open, even with valid content.
      {"rule.mp3", 0}, {"rule.ogg", 0}, {"rule.flac", 0},
  };
  for (const auto& [name, expected] : cases) {
    ASSERT_TRUE(WriteBytes(TempPath(name), wav));
    EXPECT_EQ(Engine_OpenFile(t.handle(), TempPath(name).c_str()), expected) << name;
    EXPECT_EQ(Engine_GetSourceKind(t.handle()), expected ? int(SourceKind::Wave) : 0) << name;
  }
}

TEST(EngineApi, FailedOpenLeavesTheEngineClosed) {
  TestEngine t;
  ASSERT_TRUE(WriteBytes(TempPath("closed_a.wav"), PcmWav(2, 44100, 16, Pcm16(44100, 2, RampSample))));
  ASSERT_EQ(Engine_OpenFile(t.handle(), TempPath("closed_a.wav").c_str()), 1);
  EXPECT_EQ(Engine_GetLength(t.handle()), 1000);
  EXPECT_EQ(Engine_OpenFile(t.handle(), TempPath("does_not_exist.wav").c_str()), 0);
  EXPECT_EQ(Engine_GetSourceKind(t.handle()), 0);
  EXPECT_EQ(Engine_GetLength(t.handle()), 0);
  EXPECT_EQ(Engine_Play(t.handle()), 0);
}

TEST(EngineApi, TrackInfoFillsNumbersAndOnlyAnEmptyTimeText) {
  TestEngine t;
  ASSERT_TRUE(WriteBytes(TempPath("info.wav"), PcmWav(2, 44100, 16, Pcm16(44100 * 3 + 100, 2, RampSample))));
  ASSERT_EQ(Engine_OpenFile(t.handle(), TempPath("info.wav").c_str()), 1);
  TrackInfo info{};
  ASSERT_EQ(Engine_GetTrackInfo(t.handle(), &info), 1);
  EXPECT_EQ(info.MpegVersion, 0);
  EXPECT_EQ(info.MpegLayer, 0);
  EXPECT_EQ(info.Channels, 2);
  EXPECT_EQ(info.SampleRate, 44100);
  EXPECT_EQ(info.BitrateKbps, 1411);
  EXPECT_EQ(info.DurationMs, 3002);
  EXPECT_EQ(std::u16string(info.TimeText), u"00:03");
  TrackInfo keep{};
  std::memcpy(keep.TimeText, u"keep", 10);
  ASSERT_EQ(Engine_GetTrackInfo(t.handle(), &keep), 1);
  EXPECT_EQ(std::u16string(keep.TimeText), u"keep");
  EXPECT_EQ(keep.DurationMs, 3002);
}

TEST(EngineApi, EffectRecordsAreStoredAndReturned) {
  TestEngine t;
  EffectParams in{};
  in.lastEqOn = 1;
  in.lastEqGain[30][1] = -7.5f;
  in.drcFlag = 1;
  ASSERT_EQ(Engine_SetEffectParams(t.handle(), &in), 1);
  EffectParams out{};
  ASSERT_EQ(Engine_GetEffectParams(t.handle(), &out), 1);
  EXPECT_EQ(std::memcmp(&in, &out, sizeof in), 0);

  QbsParams qin{1, 1, 7, 3, 1, 3, 4, 5, 6, 1}, qout{};
  Engine_SetSurroundParams(t.handle(), &qin);
  Engine_GetSurroundParams(t.handle(), &qout);
  EXPECT_EQ(std::memcmp(&qin, &qout, sizeof qin), 0);

  struct Case {
    int type;
    SmallEffectParams initial, set, expected;
    int result;
  };
  const std::vector<Case> cases = {
      {0, {0, 100, 20}, {1, 250, 40}, {1, 250, 40}, 1},
      {1, {0, 100, 20}, {1, 5, 6}, {1, 5, 6}, 1},
      {2, {0, 0, 20}, {1, 9, 150}, {1, 0, 100}, 1},  // level clamped, no first value
      {3, {0, -1, 50}, {1, 9, 33}, {1, -1, 33}, 1},  // first value not written
      {4, {-1, -1, -1}, {1, 1, 1}, {-1, -1, -1}, 0},
  };
  for (const auto& c : cases) {
    SmallEffectParams got{-1, -1, -1};
    EXPECT_EQ(Engine_GetEffectByType(t.handle(), c.type, &got), c.result) << c.type;
    EXPECT_EQ(got.on, c.initial.on) << c.type;
    EXPECT_EQ(got.value1, c.initial.value1) << c.type;
    EXPECT_EQ(got.value2, c.initial.value2) << c.type;
    EXPECT_EQ(Engine_SetEffectByType(t.handle(), c.type, &c.set), c.result) << c.type;
    got = SmallEffectParams{-1, -1, -1};
    Engine_GetEffectByType(t.handle(), c.type, &got);
    EXPECT_EQ(got.on, c.expected.on) << c.type;
    EXPECT_EQ(got.value1, c.expected.value1) << c.type;
    EXPECT_EQ(got.value2, c.expected.value2) << c.type;
  }

  SpectrumBands bands;
  std::memset(&bands, 0x55, sizeof bands);
  EXPECT_EQ(Engine_GetSpectrum(t.handle(), &bands), 0);
  EXPECT_EQ(bands.level[0], 0);
  Engine_EnableSpectrum(t.handle(), 1);
  EXPECT_EQ(Engine_GetSpectrum(t.handle(), &bands), 1);
}

TEST(EngineApi, StreamAndPluginCallsWithoutAReader) {
  TestEngine t;
  ASSERT_TRUE(WriteBytes(TempPath("stream_closes.wav"), PcmWav(1, 8000, 16, Pcm16(800, 1, RampSample))));
  ASSERT_EQ(Engine_OpenFile(t.handle(), TempPath("stream_closes.wav").c_str()), 1);
  EXPECT_EQ(Engine_OpenStream(t.handle(), u"http://127.0.0.1/stream"), 0);
  EXPECT_EQ(Engine_GetSourceKind(t.handle()), 0) << "the previous source was closed first";
  EXPECT_EQ(Engine_GetStreamState(t.handle()), 0);
  EXPECT_EQ(Engine_GetStreamBufferPercent(t.handle()), 0);
  char16_t title[kPathChars] = u"old", url[kPathChars] = u"old";
  EXPECT_EQ(Engine_GetStreamInfo(t.handle(), title, nullptr, url), 0);
  EXPECT_EQ(title[0], 0);
  EXPECT_EQ(url[0], 0);
  StreamingOptions so{};
  so.StreamingBuffer = 77;
  EXPECT_EQ(Engine_GetStreamingOptions(t.handle(), &so), 1);
  EXPECT_EQ(so.StreamingPreBuffer, 100);
  EXPECT_EQ(so.StreamingBuffer, 77);
  EXPECT_EQ(Engine_SetStreamingOptions(t.handle(), &so), 0);
  // The built-in plug-ins: WMA, FLAC, APE; an index equal to the count is null.
  EXPECT_EQ(Engine_GetPluginCount(t.handle()), 3);
  EXPECT_EQ(Engine_GetPlugin(t.handle(), 3), nullptr);
  TagInfo tags{};
  EXPECT_EQ(Engine_GetFileTags(t.handle(), TempPath("stream_closes.wav").c_str(), &tags), 0);
}

}  // namespace
}  // namespace qv::test
