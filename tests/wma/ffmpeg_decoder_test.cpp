// The project's own WMA decoder object: the types it takes, input in any
// slicing, refusing input while it holds output, flushing, and the last
// frame released by a discontinuity; against ffmpeg's decode of the file.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "engine/plugins/wma/asf_file.h"
#include "engine/plugins/wma/ffmpeg_wma_decoder.h"
#include "engine/plugins/wma/wave_format.h"
#include "tests/plugins/plugin_test_support.h"
#include "tests/wma/asf_builder.h"
#include "tests/wma/wma_test_support.h"

namespace qv::test {
namespace {

const char kFixture[] = "wma_v2_44k_stereo_128k";

// The fixture's wave format record, from its header.
Bytes FixtureRecord() {
  WideFile file;
  AsfHeader header;
  uint64_t size = 0;
  if (!file.Open(FixturePath(std::string(kFixture) + ".wma"), FileMode::Read) || !ReadAsfHeader(file, &header, &size))
    return {};
  return header.typeData;
}

MediaType InputType(const Bytes& record) {
  WaveFormat f;
  ParseWaveFormat(record.data(), record.size(), &f);
  return CompressedAudioType(record, f.formatTag);
}

bool Prepare(FfmpegWmaDecoder& d, const Bytes& record) {
  WaveFormat f;
  ParseWaveFormat(record.data(), record.size(), &f);
  return d.SetInputType(InputType(record)) && d.SetOutputType(PcmAudioType(f.channels, f.sampleRate, 16)) &&
         d.AllocateStreamingResources();
}

// Everything the decoder holds, through an output buffer of `bufferBytes`.
Bytes Drain(FfmpegWmaDecoder& d, uint32_t bufferBytes = 65536) {
  Bytes out;
  MediaBufferRef buffer(CMediaBuffer::Create(bufferBytes));
  for (;;) {
    bool more = false;
    buffer->SetLength(0);
    const OutputResult r = d.ProcessOutput(buffer.get(), &more);
    EXPECT_NE(r, OutputResult::Failed);
    out.insert(out.end(), buffer->Data(), buffer->Data() + buffer->Length());
    if (r != OutputResult::Data) break;
  }
  return out;
}

MediaBufferRef BufferOf(const uint8_t* data, size_t size) {
  MediaBufferRef b(CMediaBuffer::Create(static_cast<uint32_t>(size)));
  std::copy(data, data + size, b->Data());
  b->SetLength(static_cast<uint32_t>(size));
  return b;
}

// Feeds the stream in slices, draining whenever the decoder refuses input;
// counts the refusals.
Bytes DecodeSliced(const Bytes& stream, size_t slice, int* refusals) {
  FfmpegWmaDecoder d;
  EXPECT_TRUE(Prepare(d, FixtureRecord()));
  Bytes out;
  *refusals = 0;
  for (size_t at = 0; at < stream.size();) {
    const size_t n = std::min(slice, stream.size() - at);
    MediaBufferRef in = BufferOf(stream.data() + at, n);
    const InputResult r = d.ProcessInput(in.get(), false);
    if (r == InputResult::NotAccepting) {
      ++*refusals;
      const Bytes drained = Drain(d);
      out.insert(out.end(), drained.begin(), drained.end());
      continue;
    }
    EXPECT_EQ(r, InputResult::Accepted);
    at += n;
  }
  Bytes drained = Drain(d);
  out.insert(out.end(), drained.begin(), drained.end());
  d.Discontinuity();
  drained = Drain(d);
  out.insert(out.end(), drained.begin(), drained.end());
  return out;
}

TEST(FfmpegWmaDecoder, AnySlicingOfTheInputGivesFfmpegsDecode) {
  const Bytes stream = ReadFile(FixturePath(std::string(kFixture) + ".blocks"));
  const Bytes ref = ReadFixtureWav(std::string(kFixture) + ".ref.wav").data;
  ASSERT_FALSE(stream.empty());
  ASSERT_FALSE(ref.empty());
  int refusals = 0;
  const Bytes whole = DecodeSliced(stream, stream.size(), &refusals);
  EXPECT_EQ(whole.size(), ref.size());
  EXPECT_GE(SnrDb(ref, whole), 40.0);
  for (size_t slice : {1, 100, 743, 744, 5000}) {
    const Bytes sliced = DecodeSliced(stream, slice, &refusals);
    EXPECT_TRUE(sliced == whole) << "slices of " << slice;
    EXPECT_GT(refusals, 0) << "input is refused while output is held";
  }
}

TEST(FfmpegWmaDecoder, RefusesInputWhileHoldingOutputAndGivesItInPieces) {
  const Bytes stream = ReadFile(FixturePath(std::string(kFixture) + ".blocks"));
  ASSERT_GT(stream.size(), 743u * 3);
  FfmpegWmaDecoder d;
  ASSERT_TRUE(Prepare(d, FixtureRecord()));
  MediaBufferRef in = BufferOf(stream.data(), 743 * 3);
  ASSERT_EQ(d.ProcessInput(in.get(), true), InputResult::Accepted);
  EXPECT_EQ(d.ProcessInput(in.get(), true), InputResult::NotAccepting);
  MediaBufferRef small(CMediaBuffer::Create(100));
  bool more = false;
  ASSERT_EQ(d.ProcessOutput(small.get(), &more), OutputResult::Data);
  EXPECT_EQ(small->Length(), 100u);
  EXPECT_TRUE(more);
  EXPECT_EQ(d.ProcessOutput(small.get(), &more), OutputResult::NoOutput) << "a full buffer takes nothing";
  EXPECT_TRUE(more);
  Drain(d, 100);
  EXPECT_EQ(d.ProcessInput(in.get(), true), InputResult::Accepted);
}

TEST(FfmpegWmaDecoder, FlushDropsEverythingAndStartsAfresh) {
  const Bytes stream = ReadFile(FixturePath(std::string(kFixture) + ".blocks"));
  ASSERT_GT(stream.size(), 743u * 4);
  FfmpegWmaDecoder d;
  ASSERT_TRUE(Prepare(d, FixtureRecord()));
  MediaBufferRef first = BufferOf(stream.data(), 743 * 4);
  ASSERT_EQ(d.ProcessInput(first.get(), true), InputResult::Accepted);
  const Bytes once = Drain(d);
  EXPECT_FALSE(once.empty());
  ASSERT_EQ(d.ProcessInput(first.get(), true), InputResult::Accepted);
  d.Flush();
  EXPECT_TRUE(Drain(d).empty()) << "nothing held after a flush";
  ASSERT_EQ(d.ProcessInput(first.get(), true), InputResult::Accepted);
  EXPECT_TRUE(Drain(d) == once) << "the decoder starts as new";
}

TEST(FfmpegWmaDecoder, DiscontinuityReleasesWhatIsHeldBack) {
  const Bytes stream = ReadFile(FixturePath(std::string(kFixture) + ".blocks"));
  const Bytes ref = ReadFixtureWav(std::string(kFixture) + ".ref.wav").data;
  FfmpegWmaDecoder d;
  ASSERT_TRUE(Prepare(d, FixtureRecord()));
  MediaBufferRef in = BufferOf(stream.data(), stream.size());
  ASSERT_EQ(d.ProcessInput(in.get(), true), InputResult::Accepted);
  const size_t before = Drain(d).size();
  d.Discontinuity();
  const size_t after = Drain(d).size();
  EXPECT_GT(after, 0u);
  EXPECT_EQ(before + after, ref.size());
  EXPECT_TRUE(Drain(d).empty());
}

struct TypeCase {
  const char* name;
  std::function<void(MediaType& input, MediaType& output)> change;
  bool inputTaken, outputTaken;
};

void PrintTo(const TypeCase& c, std::ostream* os) { *os << c.name; }

class FfmpegWmaTypeTest : public ::testing::TestWithParam<TypeCase> {};

TEST_P(FfmpegWmaTypeTest, TakesWmaInAndSixteenBitPcmOut) {
  MediaType input = InputType(WaveFormatRecord(0x0161, 2, 44100, 16, Bytes(10, 0)));
  MediaType output = PcmAudioType(2, 44100, 16);
  GetParam().change(input, output);
  FfmpegWmaDecoder d;
  EXPECT_EQ(d.SetInputType(input), GetParam().inputTaken);
  EXPECT_EQ(d.SetOutputType(output), GetParam().outputTaken);
  EXPECT_EQ(d.AllocateStreamingResources(), GetParam().outputTaken);
}

MediaType Record(uint16_t tag, uint16_t channels, uint32_t rate) {
  return InputType(WaveFormatRecord(tag, channels, rate, 16, Bytes(10, 0)));
}

INSTANTIATE_TEST_SUITE_P(
    Types, FfmpegWmaTypeTest,
    ::testing::Values(
        TypeCase{"WMA v2", [](MediaType&, MediaType&) {}, true, true},
        TypeCase{"WMA v1 mono", [](MediaType& i, MediaType& o) { i = Record(0x0160, 1, 22050), o = PcmAudioType(1, 22050, 16); },
                 true, true},
        TypeCase{"PCM in", [](MediaType& i, MediaType&) { i = InputType(WaveFormatRecord(1, 2, 44100, 16)); }, false,
                 false},
        TypeCase{"three channels", [](MediaType& i, MediaType&) { i = Record(0x0161, 3, 44100); }, false, false},
        TypeCase{"rate 0", [](MediaType& i, MediaType&) { i = Record(0x0161, 2, 0); }, false, false},
        TypeCase{"rate 96000", [](MediaType& i, MediaType&) { i = Record(0x0161, 2, 96000); }, false, false},
        TypeCase{"block align 0", [](MediaType& i, MediaType&) { i.format[12] = i.format[13] = 0; }, false, false},
        TypeCase{"subtype of another tag", [](MediaType& i, MediaType&) { i.subType = AudioSubtype(0x0160); }, false,
                 false},
        TypeCase{"not audio", [](MediaType& i, MediaType&) { i.majorType = kFormatWaveFormatEx; }, false, false},
        TypeCase{"record cut to 14 bytes", [](MediaType& i, MediaType&) { i.format.resize(14); }, false, false},
        TypeCase{"8-bit output", [](MediaType&, MediaType& o) { o = PcmAudioType(2, 44100, 8); }, true, false},
        TypeCase{"output at another rate", [](MediaType&, MediaType& o) { o = PcmAudioType(2, 48000, 16); }, true,
                 false},
        TypeCase{"output of other channels", [](MediaType&, MediaType& o) { o = PcmAudioType(1, 44100, 16); }, true,
                 false}));

TEST(FfmpegWmaDecoder, NothingWithoutTypes) {
  FfmpegWmaDecoder d;
  EXPECT_FALSE(d.SetOutputType(PcmAudioType(2, 44100, 16))) << "the output type follows the input type";
  EXPECT_FALSE(d.AllocateStreamingResources());
  MediaBufferRef b(CMediaBuffer::Create(16));
  b->SetLength(16);
  EXPECT_EQ(d.ProcessInput(b.get(), false), InputResult::Failed);
  bool more = true;
  EXPECT_EQ(d.ProcessOutput(b.get(), &more), OutputResult::Failed);
  EXPECT_FALSE(more);
}

}  // namespace
}  // namespace qv::test
