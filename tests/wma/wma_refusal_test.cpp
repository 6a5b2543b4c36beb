// Files the WMA plug-in refuses to open: ffmpeg's damaged copies, and
// hand-built files that lack what playing needs. Refusals leave no context;
// file tags come from the header alone.
#include <gtest/gtest.h>

#include <functional>
#include <ostream>

#include "engine/plugins/wma/asf_guids.h"
#include "tests/plugins/plugin_test_support.h"
#include "tests/wma/asf_builder.h"
#include "tests/wma/passthrough_decoder.h"
#include "tests/wma/wma_test_support.h"

namespace qv::test {
namespace {

struct DamagedFixture {
  const char* kind;
  bool headerReadable;  // the tags can still be read
};

void PrintTo(const DamagedFixture& c, std::ostream* os) { *os << c.kind; }

class WmaDamagedFixtureTest : public ::testing::TestWithParam<DamagedFixture> {};

TEST_P(WmaDamagedFixtureTest, FailsToOpen) {
  const std::u16string path = FixturePath(std::string("wma_bad_") + GetParam().kind + ".wma");
  DecoderPlugin p = WmaTable();
  PluginFileInfo info;
  EXPECT_FALSE(OpenWith(p, path, &info));
  EXPECT_EQ(p.Context, nullptr);
  TagInfo tags{};
  EXPECT_EQ(p.GetFileTag(path.c_str(), &tags), GetParam().headerReadable ? 1 : 0);
  if (GetParam().headerReadable) {
    EXPECT_EQ(std::u16string(tags.Title), u"WMA Sweep");
  }
}

INSTANTIATE_TEST_SUITE_P(Fixtures, WmaDamagedFixtureTest,
                         ::testing::Values(DamagedFixture{"truncated_header", false},
                                           DamagedFixture{"object_size_0", false},
                                           DamagedFixture{"object_size_23", false},
                                           DamagedFixture{"object_size_huge", false},
                                           DamagedFixture{"header_size_huge", false},
                                           DamagedFixture{"packet_size_1", true},
                                           DamagedFixture{"packet_count_0", true},
                                           DamagedFixture{"payload_length", true},
                                           DamagedFixture{"no_data_object", true},
                                           DamagedFixture{"data_object_size_0", true}));

// A playable file of PCM (played by the passthrough decoder), changed by
// each case.
AsfLayout PlayableLayout() {
  AsfLayout layout;
  layout.typeData = WaveFormatRecord(1, 2, 8000, 16);
  layout.packetSize = 256;
  layout.packets = PcmPackets(Pcm16(2000, 2, RampSample), 200, 200, 1);
  layout.properties.playDuration = 2500000;
  return layout;
}

Bytes Unknown(uint64_t declaredSize) {
  const Guid other = {0x1806D474, 0xCADF, 0x4509, {0xA4, 0xBA, 0x9A, 0xAB, 0xCB, 0x96, 0xAA, 0xE8}};
  return AsfObject(other, Bytes(40, 0), declaredSize);
}

struct BuiltCase {
  const char* name;
  std::function<void(AsfLayout&)> change;
  bool opens;
};

void PrintTo(const BuiltCase& c, std::ostream* os) { *os << c.name; }

class WmaBuiltRefusalTest : public ::testing::TestWithParam<BuiltCase> {};

TEST_P(WmaBuiltRefusalTest, OpensOnlyWhatCanBePlayed) {
  ScopedPassthrough passthrough;
  AsfLayout layout = PlayableLayout();
  GetParam().change(layout);
  const std::u16string path = TempFile("built.wma", BuildAsf(layout));
  DecoderPlugin p = WmaTable();
  PluginFileInfo info;
  EXPECT_EQ(OpenWith(p, path, &info), GetParam().opens);
  EXPECT_EQ(p.Context != nullptr, GetParam().opens);
  if (p.Context) p.Close(p.Context);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, WmaBuiltRefusalTest,
    ::testing::Values(
        BuiltCase{"playable", [](AsfLayout&) {}, true},
        BuiltCase{"broadcast", [](AsfLayout& s) { s.properties.flags = 1; }, false},
        BuiltCase{"no duration", [](AsfLayout& s) { s.properties.playDuration = 9999; }, false},
        BuiltCase{"variable packet sizes", [](AsfLayout& s) { s.properties.minPacketSize = 128; }, false},
        BuiltCase{"packet size 7", [](AsfLayout& s) { s.properties.minPacketSize = s.properties.maxPacketSize = 7; },
                  false},
        BuiltCase{"packet size 1 GiB",
                  [](AsfLayout& s) { s.properties.minPacketSize = s.properties.maxPacketSize = 1u << 30; }, false},
        BuiltCase{"no packets", [](AsfLayout& s) { s.properties.packetCount = 0, s.packets.clear(); }, false},
        BuiltCase{"wave format record of 14 bytes", [](AsfLayout& s) { s.typeData.resize(14); }, false},
        BuiltCase{"wave format record of 16 bytes", [](AsfLayout& s) { s.typeData.resize(16); }, true},
        BuiltCase{"24 bits", [](AsfLayout& s) { s.typeData = WaveFormatRecord(1, 2, 8000, 24); }, false},
        BuiltCase{"no channels", [](AsfLayout& s) { s.typeData = WaveFormatRecord(1, 0, 8000, 16); }, false},
        BuiltCase{"rate 0", [](AsfLayout& s) { s.typeData = WaveFormatRecord(1, 2, 0, 16); }, false},
        BuiltCase{"an unknown object before the Data object", [](AsfLayout& s) { s.afterHeader = Unknown(0); },
                  true},
        BuiltCase{"an object of size 23 before it", [](AsfLayout& s) { s.afterHeader = Unknown(23); }, false},
        BuiltCase{"an object running past the file", [](AsfLayout& s) { s.afterHeader = Unknown(1ull << 40); },
                  false},
        BuiltCase{"a first packet that does not parse", [](AsfLayout& s) { s.packets[0].firstByte = 0x81; }, false},
        BuiltCase{"a later packet that does not parse", [](AsfLayout& s) { s.packets[3].firstByte = 0x81; }, true}));

// Declared sizes of 0 in Unknown() mean the real size; an object of size 0
// is written by hand.
TEST(WmaRefusal, ObjectOfSizeZeroBeforeTheDataObject) {
  ScopedPassthrough passthrough;
  AsfLayout layout = PlayableLayout();
  layout.afterHeader = Unknown(0);
  PokeLe(layout.afterHeader, 16, 0, 8);
  const std::u16string path = TempFile("size0.wma", BuildAsf(layout));
  DecoderPlugin p = WmaTable();
  PluginFileInfo info;
  EXPECT_FALSE(OpenWith(p, path, &info));
}

TEST(WmaRefusal, DecoderObjectsThatRefuseTheTypes) {
  const std::u16string path = TempFile("refused.wma", BuildAsf(PlayableLayout()));
  DecoderPlugin p = WmaTable();
  PluginFileInfo info;
  {
    PassthroughOptions refusing;
    refusing.refuseInputType = true;
    ScopedPassthrough passthrough(refusing);
    EXPECT_FALSE(OpenWith(p, path, &info));
    EXPECT_EQ(passthrough.log().created, 1);
  }
  // The plug-in's own decoder objects take WMA only.
  EXPECT_FALSE(OpenWith(p, path, &info));
  EXPECT_EQ(p.Context, nullptr);
}

}  // namespace
}  // namespace qv::test
