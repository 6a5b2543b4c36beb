// The stereo effects on PCM blocks: settings that change nothing leave the
// bytes identical, mono and unsupported blocks pass untouched, out-of-range
// steps act as their clamped values, and every object has its own state.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "dsp/qbs_effect.h"
#include "dsp/sample_convert.h"
#include "tests/dsp/qbs_helpers.h"

namespace qv::test {
namespace {

// Runs the effect over the PCM in blocks of the given sizes, in turn.
template <typename T>
void RunBlocks(QbsEffect& effect, std::vector<T>& pcm, int channels, const std::vector<size_t>& blocks) {
  const size_t frames = pcm.size() / channels;
  for (size_t at = 0, i = 0; at < frames; ++i) {
    const size_t n = std::min(blocks[i % blocks.size()], frames - at);
    // A buffer of exactly the block, so that AddressSanitizer sees any overrun.
    const size_t bytes = n * channels * sizeof(T);
    std::unique_ptr<uint8_t[]> block(new uint8_t[bytes]);
    std::memcpy(block.get(), pcm.data() + at * channels, bytes);
    effect.Process(block.get(), bytes);
    std::memcpy(pcm.data() + at * channels, block.get(), bytes);
    at += n;
  }
}

std::vector<uint8_t> To8(const std::vector<int16_t>& pcm) {
  std::vector<uint8_t> out(pcm.size());
  for (size_t i = 0; i < pcm.size(); ++i) out[i] = static_cast<uint8_t>((pcm[i] >> 8) + 128);
  return out;
}

QbsParams Both(const QbsParams& wide, const QbsParams& reverb) {
  QbsParams p = wide;
  p.reverbOn = reverb.reverbOn;
  p.reverbPreset = reverb.reverbPreset;
  p.reverbFeedback = reverb.reverbFeedback;
  p.reverbShortDelay = reverb.reverbShortDelay;
  p.reverbLongDelay = reverb.reverbLongDelay;
  return p;
}

struct IdentityCase {
  const char* name;
  QbsParams params;
};

class QbsIdentity : public ::testing::TestWithParam<IdentityCase> {};

TEST_P(QbsIdentity, BlocksAreByteIdentical) {
  const std::vector<size_t> blocks = {4096, 1, 333, 2049, 7000};
  const std::vector<int16_t> pcm16 = MusicPcm16(30000, 2, 21);
  std::vector<int16_t> out16 = pcm16;
  QbsEffect effect16;
  effect16.Format(16, 44100, 2);
  effect16.SetParams(GetParam().params);
  RunBlocks(effect16, out16, 2, blocks);
  EXPECT_EQ(pcm16, out16);

  const std::vector<uint8_t> pcm8 = To8(pcm16);
  std::vector<uint8_t> out8 = pcm8;
  QbsEffect effect8;
  effect8.SetParams(GetParam().params);
  effect8.Format(8, 22050, 2);
  RunBlocks(effect8, out8, 2, blocks);
  EXPECT_EQ(pcm8, out8);
}

INSTANTIATE_TEST_SUITE_P(
    Settings, QbsIdentity,
    ::testing::Values(IdentityCase{"BothOff", [] {
                                     QbsParams p = Both(WideRecord(1, 10, 10), ReverbRecord(1, 0, 0, 0));
                                     p.wideOn = p.reverbOn = 0;
                                     return p;
                                   }()},
                      IdentityCase{"WideSurround0Bass0", WideRecord(0, 0, 0)},
                      IdentityCase{"WideMode1Surround0Bass0", WideRecord(1, 0, 0)},
                      IdentityCase{"ReverbBothTaps0", ReverbRecord(3, 10, 0, 0)},
                      IdentityCase{"BothAtZero", Both(WideRecord(1, 0, 0), ReverbRecord(3, 7, 0, 0))},
                      IdentityCase{"NegativeStepsClampToZero", Both(WideRecord(0, -5, -1), ReverbRecord(3, 4, -9, -1))}),
    [](const ::testing::TestParamInfo<IdentityCase>& info) { return std::string(info.param.name); });

// Only 2-channel 8-bit and 16-bit blocks are processed.
TEST(QbsEffect, OtherLayoutsPassUntouched) {
  const QbsParams everything = Both(WideRecord(1, 10, 10), ReverbRecord(2, 0, 0, 0));
  for (int channels : {1, 3, 6}) {
    const std::vector<int16_t> pcm = MusicPcm16(6000, channels, 4);
    std::vector<int16_t> out = pcm;
    QbsEffect effect;
    effect.Format(16, 44100, channels);
    effect.SetParams(everything);
    RunBlocks(effect, out, channels, {1000, 777, 5});
    EXPECT_EQ(pcm, out) << channels << " channels";
  }
  const std::vector<int16_t> pcm = MusicPcm16(6000, 2, 4);
  std::vector<int16_t> out = pcm;
  QbsEffect effect24;
  effect24.Format(24, 44100, 2);
  effect24.SetParams(everything);
  RunBlocks(effect24, out, 2, {999});
  EXPECT_EQ(pcm, out);

  QbsEffect noFormat;
  noFormat.SetParams(everything);
  RunBlocks(noFormat, out, 2, {999});
  EXPECT_EQ(pcm, out);

  // The same record does change a stereo stream.
  QbsEffect stereo;
  stereo.Format(16, 44100, 2);
  stereo.SetParams(everything);
  RunBlocks(stereo, out, 2, {999});
  EXPECT_NE(pcm, out);
}

// Steps outside 0 to 10 act as the nearest step; a preset outside 0 to 3 as
// preset 0. The record is kept as given.
TEST(QbsEffect, OutOfRangeStepsActAsTheirClampedValues) {
  QbsParams wild = Both(WideRecord(7, 200, -3), ReverbRecord(9, 1000, -1, 11));
  wild.qbsFlag = 77;
  const QbsParams tame = Both(WideRecord(7, 10, 0), ReverbRecord(0, 3, 3, 3));
  const std::vector<int16_t> pcm = MusicPcm16(20000, 2, 8);
  std::vector<int16_t> outWild = pcm, outTame = pcm;
  QbsEffect a, b;
  a.Format(16, 48000, 2);
  b.Format(16, 48000, 2);
  a.SetParams(wild);
  b.SetParams(tame);
  RunBlocks(a, outWild, 2, {1024, 3});
  RunBlocks(b, outTame, 2, {1024, 3});
  EXPECT_EQ(outTame, outWild);
  EXPECT_NE(pcm, outWild);

  wild.reverbPreset = 3;  // custom: feedback 10, short 0, long 10
  const QbsParams customTame = Both(WideRecord(7, 10, 0), ReverbRecord(3, 10, 0, 10));
  outWild = outTame = pcm;
  a.SetParams(wild);
  b.SetParams(customTame);
  RunBlocks(a, outWild, 2, {4096});
  RunBlocks(b, outTame, 2, {4096});
  EXPECT_EQ(outTame, outWild);

  const QbsParams kept = a.Params();
  wild.qbsFlag = 0;  // not the effect's to keep
  EXPECT_EQ(0, std::memcmp(&wild, &kept, sizeof kept));
}

// The PCM path is the float path between the two conversions, whatever the
// block and chunk boundaries.
TEST(QbsEffect, PcmBlocksRunTheFloatEffects) {
  const QbsParams params = Both(WideRecord(1, 7, 6), ReverbRecord(1, 0, 0, 0));
  const std::vector<int16_t> pcm = MusicPcm16(12000, 2, 13);
  std::vector<int16_t> out = pcm;
  QbsEffect effect;
  effect.Format(16, 44100, 2);
  effect.SetParams(params);
  RunBlocks(effect, out, 2, {5000, 17});

  std::vector<float> floats(pcm.size());
  PcmToFloats(reinterpret_cast<const uint8_t*>(pcm.data()), 16, floats.data(), floats.size());
  QbsRun run(params);
  floats = run.Frames(floats);
  std::vector<int16_t> want(pcm.size());
  FloatsToPcm(floats.data(), 16, reinterpret_cast<uint8_t*>(want.data()), want.size());
  EXPECT_EQ(want, out);
}

// Two engines run their own effects: interleaving them changes neither.
TEST(QbsEffect, ObjectsKeepTheirOwnState) {
  const QbsParams p1 = Both(WideRecord(1, 10, 10), ReverbRecord(2, 0, 0, 0));
  const QbsParams p2 = Both(WideRecord(0, 4, 3), ReverbRecord(1, 0, 0, 0));
  const std::vector<int16_t> pcm1 = MusicPcm16(9000, 2, 1), pcm2 = MusicPcm16(9000, 2, 2);
  std::vector<int16_t> alone1 = pcm1, alone2 = pcm2;
  {
    QbsEffect e1, e2;
    e1.Format(16, 44100, 2);
    e1.SetParams(p1);
    RunBlocks(e1, alone1, 2, {9000});
    e2.Format(16, 32000, 2);
    e2.SetParams(p2);
    RunBlocks(e2, alone2, 2, {9000});
  }
  std::vector<int16_t> mixed1 = pcm1, mixed2 = pcm2;
  QbsEffect e1, e2;
  e1.Format(16, 44100, 2);
  e2.Format(16, 32000, 2);
  e1.SetParams(p1);
  e2.SetParams(p2);
  for (size_t at = 0; at < 9000; at += 500) {
    std::vector<int16_t> b1(mixed1.begin() + 2 * at, mixed1.begin() + 2 * (at + 500));
    std::vector<int16_t> b2(mixed2.begin() + 2 * at, mixed2.begin() + 2 * (at + 500));
    e1.Process(reinterpret_cast<uint8_t*>(b1.data()), b1.size() * 2);
    e2.Process(reinterpret_cast<uint8_t*>(b2.data()), b2.size() * 2);
    std::copy(b1.begin(), b1.end(), mixed1.begin() + 2 * at);
    std::copy(b2.begin(), b2.end(), mixed2.begin() + 2 * at);
  }
  EXPECT_EQ(alone1, mixed1);
  EXPECT_EQ(alone2, mixed2);
}

// A format change sizes the lines for the new rate and starts from silence.
TEST(QbsEffect, FormatRestartsForTheNewRate) {
  const QbsParams params = ReverbRecord(3, 0, 10, 0);
  QbsEffect effect;
  effect.SetParams(params);
  effect.Format(16, 44100, 2);
  std::vector<float> impulse(2 * 5000, 0.0f);
  impulse[0] = 0.5f;
  std::vector<float> out = impulse;
  effect.ProcessFrames(out.data(), 2500);
  effect.Format(16, 96000, 2);
  out = impulse;
  effect.ProcessFrames(out.data(), 5000);
  // The first line is 1440 frames long at 96000 Hz.
  for (size_t n = 1; n < 1440; ++n) ASSERT_EQ(0.0f, out[2 * n]) << n;
  EXPECT_NE(0.0f, out[2 * 1440]);
}

// Below 1000 Hz the bass shelf has no stable design and runs away; its
// memories start again from silence at the next block instead of staying
// non-finite for the rest of the stream.
TEST(QbsEffect, RunawayFilterRecoversAtTheNextBlock) {
  QbsEffect effect;
  effect.Format(16, 800, 2);
  effect.SetParams(WideRecord(0, 10, 10));
  std::vector<int16_t> music = MusicPcm16(4 * 2000, 2, 6);
  RunBlocks(effect, music, 2, {2000});
  const std::vector<int16_t> silence(2 * 2000, 0);
  std::vector<int16_t> out;
  for (int block = 0; block < 3; ++block) {
    out = silence;
    RunBlocks(effect, out, 2, {2000});
  }
  EXPECT_EQ(silence, out);
}

}  // namespace
}  // namespace qv::test
