// The packet and payload walk, exactly, on PCM inside ASF through the
// passthrough decoder object: ffmpeg's files and hand-built ones (fragments,
// other streams, packet layouts), the complete draining of the decoder,
// the discontinuity at the end, seeking by packet, Start and Stop, and
// decoding that ends on a damaged packet.
#include <gtest/gtest.h>

#include <ostream>
#include <tuple>

#include "engine/plugins/wma/wma_stream.h"
#include "tests/plugins/plugin_test_support.h"
#include "tests/wma/asf_builder.h"
#include "tests/wma/passthrough_decoder.h"
#include "tests/wma/wma_test_support.h"

namespace qv::test {
namespace {

struct PcmFixture {
  const char* asf;
  const char* wav;
};

void PrintTo(const PcmFixture& f, std::ostream* os) { *os << f.asf; }

class PcmInAsfTest : public ::testing::TestWithParam<std::tuple<PcmFixture, uint32_t>> {};

// The samples of ffmpeg's PCM-in-ASF files, in buffers of every size, are
// the samples of the WAVs they were made from.
TEST_P(PcmInAsfTest, DeliversTheSamplesExactly) {
  const PcmFixture& f = std::get<0>(GetParam());
  const uint32_t bufferBytes = std::get<1>(GetParam());
  ScopedPassthrough passthrough;
  const WavPcm wav = ReadFixtureWav(f.wav);
  ASSERT_FALSE(wav.data.empty());
  DecoderPlugin p = WmaTable();
  PluginFileInfo info;
  ASSERT_TRUE(OpenWith(p, FixturePath(f.asf), &info));
  EXPECT_EQ(info.Channels, wav.channels);
  EXPECT_EQ(info.SampleRate, wav.rate);
  EXPECT_EQ(info.BitsPerSample, wav.bits);
  EXPECT_EQ(info.BitrateKbps, wav.channels * wav.rate * (wav.bits / 8) / 125);
  const int64_t frames = int64_t(wav.data.size()) / (wav.channels * wav.bits / 8);
  EXPECT_NEAR(info.DurationMs, frames * 1000 / wav.rate, 1);
  ASSERT_EQ(p.Start(p.Context), 1);
  Bytes out;
  int last = 0;
  ASSERT_TRUE(DecodeToEnd(p, bufferBytes, &out, &last)) << last;
  EXPECT_TRUE(out == wav.data) << out.size() << " bytes, expected " << wav.data.size();
  EXPECT_EQ(passthrough.log().refusedInputs, 0);
  EXPECT_EQ(passthrough.log().discontinuities, 1);
  EXPECT_EQ(passthrough.log().inputFormatTag, 1);
  p.Close(p.Context);
}

INSTANTIATE_TEST_SUITE_P(
    Fixtures, PcmInAsfTest,
    ::testing::Combine(::testing::Values(PcmFixture{"asf_pcm_s16_44k_stereo.wma", "plug_s16_44k_stereo.wav"},
                                         PcmFixture{"asf_pcm_s16_22k_mono.wma", "plug_s16_22k_mono.wav"},
                                         PcmFixture{"asf_pcm_u8_22k_mono.wma", "plug_u8_22k_mono.wav"},
                                         PcmFixture{"asf_pcm_1000_packets.wma", "asf_pcm_1000_packets.wav"}),
                       ::testing::Values(4096u, 333u, 1u << 20)));

// A file of `packets` packets of 256 bytes, each holding whole media objects
// of `objectBytes` of 8 kHz mono 16-bit PCM; 50 samples per packet give
// 6.25 ms each.
struct BuiltFile {
  Bytes pcm;
  Bytes file;
  std::u16string path;
};

BuiltFile Build(const std::string& name, int packets, uint32_t objectBytes, uint32_t fragmentBytes,
                int fragmentsPerPacket, uint32_t flags = 2) {
  BuiltFile b;
  const uint32_t perPacket = fragmentBytes * static_cast<uint32_t>(fragmentsPerPacket);
  b.pcm = Pcm16(uint32_t(packets) * perPacket / 2, 1, RampSample);
  AsfLayout layout;
  layout.typeData = WaveFormatRecord(1, 1, 8000, 16);
  layout.packetSize = 256;
  layout.packets = PcmPackets(b.pcm, objectBytes, fragmentBytes, fragmentsPerPacket);
  layout.properties.playDuration = uint64_t(b.pcm.size() / 2) * 10000000 / 8000;
  layout.properties.flags = flags;
  b.file = BuildAsf(layout);
  b.path = TempFile(name, b.file);
  return b;
}

Bytes Tail(const Bytes& pcm, size_t from) { return Bytes(pcm.begin() + static_cast<std::ptrdiff_t>(from), pcm.end()); }

Bytes DecodeRest(WmaStream& s, uint32_t bufferBytes, int* last) {
  Bytes out;
  for (int i = 0; i < 100000; ++i) {
    Bytes buffer(bufferBytes);
    PluginWaveHeader h{buffer.data(), bufferBytes, 0};
    *last = s.Decode(&h);
    out.insert(out.end(), buffer.begin(), buffer.begin() + h.bytesRecorded);
    if (*last != kPluginDecodeMore) break;
  }
  return out;
}

struct StingyCase {
  uint32_t maxOutputPerCall, heldBack, bufferBytes;
};

void PrintTo(const StingyCase& c, std::ostream* os) {
  *os << c.maxOutputPerCall << " bytes a call, " << c.heldBack << " held back, buffer " << c.bufferBytes;
}

class StingyDecoderTest : public ::testing::TestWithParam<StingyCase> {};

// A decoder that gives its output in small pieces and refuses input while
// it holds any is asked for output until it has none before the next
// payload; what it holds back comes out at the end, after one discontinuity.
TEST_P(StingyDecoderTest, IsDrainedCompletelyAfterEachPayload) {
  const StingyCase& c = GetParam();
  PassthroughOptions options;
  options.maxOutputPerCall = c.maxOutputPerCall;
  options.heldBack = c.heldBack;
  ScopedPassthrough passthrough(options);
  const BuiltFile b = Build("stingy.wma", 40, 300, 100, 2);
  auto s = WmaStream::Open(b.path.c_str());
  ASSERT_NE(s, nullptr);
  int last = 0;
  const Bytes out = DecodeRest(*s, c.bufferBytes, &last);
  EXPECT_EQ(last, kPluginDecodeLast);
  EXPECT_TRUE(out == b.pcm) << out.size() << " of " << b.pcm.size();
  EXPECT_EQ(passthrough.log().refusedInputs, 0);
  EXPECT_EQ(passthrough.log().discontinuities, 1);
  Bytes buffer(64);
  PluginWaveHeader h{buffer.data(), 64, 0};
  EXPECT_EQ(s->Decode(&h), kPluginDecodeLast);
  EXPECT_EQ(h.bytesRecorded, 0u);
  EXPECT_EQ(passthrough.log().discontinuities, 1) << "told once";
}

INSTANTIATE_TEST_SUITE_P(Cases, StingyDecoderTest,
                         ::testing::Values(StingyCase{1, 0, 4096}, StingyCase{7, 0, 100}, StingyCase{64, 150, 4096},
                                           StingyCase{1000, 333, 50}, StingyCase{3, 1, 1u << 16}));

// ffmpeg's 1000-packet file (2286 ms, 100-byte packets, media objects of
// 4096 bytes in fragments): the middle is packet 500 at 1143 ms, and the
// output starts at the first media object that begins there.
TEST(WmaSeek, MiddleOfA1000PacketFile) {
  ScopedPassthrough passthrough;
  auto s = WmaStream::Open(FixturePath("asf_pcm_1000_packets.wma").c_str());
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->PacketCount(), 1000u);
  ASSERT_EQ(s->Info().DurationMs, 2286);
  EXPECT_EQ(s->Seek(1143), 1143);
  EXPECT_EQ(s->CurrentPacket(), 500u);
  int last = 0;
  const Bytes out = DecodeRest(*s, 4096, &last);
  EXPECT_EQ(last, kPluginDecodeLast);
  const Bytes wav = ReadFixtureWav("asf_pcm_1000_packets.wav").data;
  const int64_t offset = SuffixOffset(wav, out, 2);
  ASSERT_GE(offset, 0) << "the output is the end of the samples";
  EXPECT_EQ(offset % 4096, 0) << "from the start of a media object";
  const double ms = offset / 2 * 1000.0 / 16000;
  EXPECT_GE(ms, 1143 - 1);
  EXPECT_LE(ms, 1143 + 4096 / 2 * 1000.0 / 16000);
}

struct SeekCase {
  int32_t ms;
  uint64_t packet;
  int32_t reached;
};

void PrintTo(const SeekCase& c, std::ostream* os) { *os << c.ms << " ms"; }

class WmaSeekTest : public ::testing::TestWithParam<SeekCase> {};

// packet = ms / duration x count, truncated; the reached position is
// duration / count x packet. One whole media object per packet, so the
// output starts exactly at the packet's samples.
TEST_P(WmaSeekTest, LandsOnThePacketAndReportsItsTime) {
  ScopedPassthrough passthrough;
  const BuiltFile b = Build("seek.wma", 1000, 100, 100, 1);  // 6250 ms
  auto s = WmaStream::Open(b.path.c_str());
  ASSERT_NE(s, nullptr);
  ASSERT_EQ(s->Info().DurationMs, 6250);
  int last = 0;
  DecodeRest(*s, 777, &last);  // from anywhere, even the end
  EXPECT_EQ(s->Seek(GetParam().ms), GetParam().reached);
  EXPECT_EQ(s->CurrentPacket(), GetParam().packet);
  const Bytes out = DecodeRest(*s, 4096, &last);
  EXPECT_EQ(last, kPluginDecodeLast);
  EXPECT_TRUE(out == Tail(b.pcm, GetParam().packet * 100)) << out.size();
}

INSTANTIATE_TEST_SUITE_P(Positions, WmaSeekTest,
                         ::testing::Values(SeekCase{0, 0, 0}, SeekCase{1, 0, 0}, SeekCase{7, 1, 6},
                                           SeekCase{3124, 499, 3118}, SeekCase{3125, 500, 3125},
                                           SeekCase{6249, 999, 6243}, SeekCase{6250, 1000, 6250},
                                           SeekCase{99999, 1000, 6250}, SeekCase{-5, 0, 0}));

TEST(WmaSeek, NotSeekableFilesRefuse) {
  ScopedPassthrough passthrough;
  const BuiltFile b = Build("noseek.wma", 20, 100, 100, 1, /*flags=*/0);
  DecoderPlugin p = WmaTable();
  PluginFileInfo info;
  ASSERT_TRUE(OpenWith(p, b.path, &info));
  EXPECT_EQ(p.Seek(p.Context, 50), kPluginSeekFailed);
  Bytes out;
  ASSERT_TRUE(DecodeToEnd(p, 4096, &out));
  EXPECT_TRUE(out == b.pcm) << "the refused seek moved nothing";
  p.Close(p.Context);
}

// Media objects of 300 bytes in fragments of 128: after a seek the decoder
// starts at the next object's first fragment, never in the middle of one.
TEST(WmaSeek, FragmentsOfAnObjectBegunEarlierAreSkipped) {
  ScopedPassthrough passthrough;
  const BuiltFile b = Build("fragments.wma", 30, 300, 128, 1);
  auto s = WmaStream::Open(b.path.c_str());
  ASSERT_NE(s, nullptr);
  int last = 0;
  Bytes out = DecodeRest(*s, 1000, &last);
  EXPECT_TRUE(out == b.pcm) << "unbroken from the start";
  const std::vector<bool> sync = passthrough.log().syncPoints;
  ASSERT_GE(sync.size(), 4u);
  EXPECT_EQ(sync[0], true) << "the key frame bits are passed on";
  EXPECT_EQ(sync[1], false);
  EXPECT_EQ(sync[2], false);
  EXPECT_EQ(sync[3], true);
  // Packets: 0 [0, 128), 1 [128, 256), 2 [256, 300), 3 [300, 428) ...
  s->Seek(s->Info().DurationMs / int32_t(s->PacketCount()) + 1);
  ASSERT_EQ(s->CurrentPacket(), 1u);
  out = DecodeRest(*s, 1000, &last);
  EXPECT_TRUE(out == Tail(b.pcm, 300)) << out.size();
}

// Payloads of other streams are skipped; all three packet layouts play.
TEST(WmaStream, OtherStreamsAndPacketLayouts) {
  ScopedPassthrough passthrough;
  const Bytes pcm = Pcm16(600, 2, RampSample);
  AsfLayout layout;
  layout.typeData = WaveFormatRecord(1, 2, 11025, 16);
  layout.streamNumber = 3;
  layout.packetSize = 400;
  layout.properties.playDuration = 600ull * 10000000 / 11025 + 1;
  const uint8_t layouts[] = {0x82, 0x90, 0x00};
  for (int i = 0; i < 12; ++i) {
    PacketLayout packet;
    packet.firstByte = layouts[i % 3];
    PayloadLayout other;
    other.stream = 1;
    other.data = Bytes(40, 0xEE);
    PayloadLayout audio;
    audio.stream = 3;
    audio.object = uint32_t(i);
    audio.keyFrame = i % 2 == 0;
    audio.data.assign(pcm.begin() + i * 200, pcm.begin() + (i + 1) * 200);
    packet.payloads = i % 4 == 3 ? std::vector<PayloadLayout>{audio} : std::vector<PayloadLayout>{other, audio, other};
    packet.multiple = i % 4 != 3;
    layout.packets.push_back(packet);
  }
  const std::u16string path = TempFile("layouts.wma", BuildAsf(layout));
  DecoderPlugin p = WmaTable();
  PluginFileInfo info;
  ASSERT_TRUE(OpenWith(p, path, &info));
  EXPECT_EQ(info.Channels, 2);
  Bytes out;
  ASSERT_TRUE(DecodeToEnd(p, 500, &out));
  EXPECT_TRUE(out == Bytes(pcm.begin(), pcm.begin() + 12 * 200));
  const auto& sync = passthrough.log().syncPoints;
  ASSERT_EQ(sync.size(), 12u);
  for (size_t i = 0; i < sync.size(); ++i) EXPECT_EQ(sync[i], i % 2 == 0) << i;
  p.Close(p.Context);
}

// A compressed payload (one byte of replicated data, a time in the offset
// field) holds whole media objects after a length byte each; they reach the
// decoder one by one, also right after a seek.
TEST(WmaStream, CompressedPayloadsHoldWholeObjects) {
  ScopedPassthrough passthrough;
  const Bytes pcm = Pcm16(20 * 3 * 30, 1, RampSample);  // 20 packets of three 60-byte objects
  AsfLayout layout;
  layout.typeData = WaveFormatRecord(1, 1, 8000, 16);
  layout.packetSize = 256;
  layout.properties.playDuration = uint64_t(pcm.size() / 2) * 10000000 / 8000;
  for (uint32_t i = 0; i < 20; ++i) {
    PayloadLayout payload;
    payload.replicated = {25};  // time delta of the objects
    payload.offset = 4000 + i * 33;
    payload.object = i;
    for (int k = 0; k < 3; ++k) {
      payload.data.push_back(60);
      const auto at = pcm.begin() + (i * 3 + k) * 60;
      payload.data.insert(payload.data.end(), at, at + 60);
    }
    PacketLayout packet;
    packet.payloads = {payload};
    packet.multiple = i % 2 == 0;
    layout.packets.push_back(packet);
  }
  Bytes file = BuildAsf(layout);
  auto s = WmaStream::Open(TempFile("compressed.wma", file).c_str());
  ASSERT_NE(s, nullptr);
  int last = 0;
  EXPECT_TRUE(DecodeRest(*s, 100, &last) == pcm);
  EXPECT_EQ(passthrough.log().inputs, 60);
  for (uint32_t size : passthrough.log().inputSizes) EXPECT_EQ(size, 60u);
  s->Seek(s->Info().DurationMs / 2);
  const uint64_t packet = s->CurrentPacket();
  ASSERT_GT(packet, 0u);
  EXPECT_TRUE(DecodeRest(*s, 100, &last) == Tail(pcm, packet * 180));
  s.reset();

  // A length byte that runs past its payload ends decoding.
  const size_t firstData = file.size() - 20 * 256 + 14 + 1 + 1 + 4 + 1 + 1 + 2;
  ASSERT_EQ(file[firstData], 60);
  file[firstData + 61 + 61] = 61;
  DecoderPlugin p = WmaTable();
  PluginFileInfo info;
  ASSERT_TRUE(OpenWith(p, TempFile("compressed_bad.wma", file), &info));
  Bytes out;
  EXPECT_FALSE(DecodeToEnd(p, 4096, &out, &last));
  EXPECT_EQ(last, kPluginDecodeError);
  p.Close(p.Context);
}

// Stop drops what the decoder and the output hold and keeps the position;
// Start begins a half-fed packet again. A file played to its end stays there.
TEST(WmaStream, StopKeepsThePositionAndStartBeginsThePacketAgain) {
  ScopedPassthrough passthrough;
  const BuiltFile b = Build("stopstart.wma", 50, 100, 100, 1);
  DecoderPlugin p = WmaTable();
  PluginFileInfo info;
  ASSERT_TRUE(OpenWith(p, b.path, &info));
  ASSERT_EQ(p.Start(p.Context), 1);
  Bytes out;
  ASSERT_EQ(DecodeOnce(p, 150, &out), kPluginDecodeMore);  // packet 0 and half of packet 1
  EXPECT_TRUE(out == Bytes(b.pcm.begin(), b.pcm.begin() + 150));
  p.Stop(p.Context);
  ASSERT_EQ(p.Start(p.Context), 1);
  out.clear();
  ASSERT_TRUE(DecodeToEnd(p, 4096, &out));
  EXPECT_TRUE(out == Tail(b.pcm, 100)) << "packet 1 from its start";
  p.Stop(p.Context);
  ASSERT_EQ(p.Start(p.Context), 1);
  out.clear();
  EXPECT_EQ(DecodeOnce(p, 4096, &out), kPluginDecodeLast);
  EXPECT_TRUE(out.empty());
  p.Close(p.Context);
}

struct DamageCase {
  const char* name;
  int packets, damagedPacket;
  bool truncateAtDamage;  // the file ends there instead
  size_t keptOfDamaged;   // bytes of the damaged packet left when truncating
};

void PrintTo(const DamageCase& c, std::ostream* os) { *os << c.name; }

class WmaDamagedPacketTest : public ::testing::TestWithParam<DamageCase> {};

// What came before a damaged packet (or the end of a file that promised
// more packets) is delivered; then Decode fails.
TEST_P(WmaDamagedPacketTest, DeliversWhatCameBeforeThenFails) {
  const DamageCase& c = GetParam();
  ScopedPassthrough passthrough;
  BuiltFile b = Build("damaged.wma", c.packets, 100, 100, 1);
  const size_t firstPacket = b.file.size() - size_t(c.packets) * 256;
  const size_t at = firstPacket + size_t(c.damagedPacket) * 256;
  if (c.truncateAtDamage) {
    b.file.resize(at + c.keptOfDamaged);
  } else {
    // Multiple payloads: 3 + 2 + 2 + 4 + 2 + 1, then the payload header
    // (1 + 1 + 4 + 1 + 8) before its length word.
    PokeLe(b.file, at + 14 + 15, 0xFFFF, 2);
  }
  const std::u16string path = TempFile("damaged.wma", b.file);
  DecoderPlugin p = WmaTable();
  PluginFileInfo info;
  ASSERT_TRUE(OpenWith(p, path, &info));
  Bytes out;
  int last = 0;
  EXPECT_FALSE(DecodeToEnd(p, 100, &out, &last));
  EXPECT_EQ(last, kPluginDecodeError);
  EXPECT_TRUE(out == Bytes(b.pcm.begin(), b.pcm.begin() + c.damagedPacket * 100)) << out.size();
  p.Close(p.Context);
}

INSTANTIATE_TEST_SUITE_P(Cases, WmaDamagedPacketTest,
                         ::testing::Values(DamageCase{"payload length", 20, 10, false, 0},
                                           DamageCase{"last packet", 20, 19, false, 0},
                                           DamageCase{"file cut short", 20, 15, true, 0},
                                           // Packets are read 256 at a time here: the cut
                                           // lies beyond the first read, inside a packet.
                                           DamageCase{"file cut inside a later packet", 600, 400, true, 100}));

}  // namespace
}  // namespace qv::test
