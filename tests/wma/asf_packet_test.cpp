// Data packet and payload headers: the error correction layouts, the length
// types, and every length checked against its packet.
#include <gtest/gtest.h>

#include <ostream>

#include "engine/plugins/wma/asf_packet.h"
#include "tests/wma/asf_builder.h"

namespace qv::test {
namespace {

constexpr uint32_t kPacketSize = 64;

AsfPacketHeader Header(const Bytes& packet, bool* ok) {
  AsfPacketHeader h;
  *ok = ParseAsfPacketHeader(packet.data(), packet.size(), kPacketSize, &h);
  return h;
}

// 0x82 and two bytes of error correction data: the flags are bytes 3 and 4.
TEST(AsfPacket, ErrorCorrectionDataIsSkipped) {
  const Bytes packet = {0x82, 0xEE, 0xEE, 0x09, 0x5D, 0x05, 0x10, 0x32, 0x00, 0x00, 0x07, 0x00, 0x82};
  bool ok = false;
  const AsfPacketHeader h = Header(packet, &ok);
  ASSERT_TRUE(ok);
  EXPECT_TRUE(h.multiplePayloads);
  EXPECT_EQ(h.propertyFlags, 0x5D);
  EXPECT_EQ(h.paddingLength, 5u);  // length type 1: a byte
  EXPECT_EQ(h.sendTime, 0x3210u);
  EXPECT_EQ(h.duration, 7);
  EXPECT_EQ(h.packetLength, kPacketSize) << "no packet length field: the fixed size";
  EXPECT_EQ(h.payloadCount, 2u);
  EXPECT_EQ(h.payloadLengthType, 2u);
  EXPECT_EQ(h.headerLength, 13u);
}

struct LayoutCase {
  const char* name;
  Bytes packet;
  bool parses;
  uint32_t headerLength, packetLength, padding;
};

void PrintTo(const LayoutCase& c, std::ostream* os) { *os << c.name; }

class AsfPacketLayoutTest : public ::testing::TestWithParam<LayoutCase> {};

TEST_P(AsfPacketLayoutTest, Parses) {
  const LayoutCase& c = GetParam();
  bool ok = false;
  const AsfPacketHeader h = Header(c.packet, &ok);
  ASSERT_EQ(ok, c.parses);
  if (!ok) return;
  EXPECT_EQ(h.headerLength, c.headerLength);
  EXPECT_EQ(h.packetLength, c.packetLength);
  EXPECT_EQ(h.paddingLength, c.padding);
}

// Length type flags: 0x08 padding as a byte, 0x09 the same with multiple
// payloads, 0x48 also the packet length as a word, 0x1E sequence and padding
// as double words.
INSTANTIATE_TEST_SUITE_P(
    Layouts, AsfPacketLayoutTest,
    ::testing::Values(
        LayoutCase{"0x90: no error correction bytes", {0x90, 0x08, 0x5D, 0x04, 0, 0, 0, 0, 0, 0}, true, 10, 64, 4},
        LayoutCase{"top bit clear: the flags start at byte 0", {0x08, 0x5D, 0x04, 0, 0, 0, 0, 0, 0}, true, 9, 64, 4},
        LayoutCase{"other error correction layouts", {0x81, 0x00, 0x08, 0x5D, 0x04, 0, 0, 0, 0, 0, 0}, false, 0, 0, 0},
        LayoutCase{"0xA2", {0xA2, 0, 0, 0x08, 0x5D, 0x04, 0, 0, 0, 0, 0, 0}, false, 0, 0, 0},
        LayoutCase{"packet length 40 as a word", {0x82, 0, 0, 0x48, 0x5D, 40, 0, 4, 0, 0, 0, 0, 0, 0}, true, 14, 40, 4},
        LayoutCase{"packet length above the packet size", {0x82, 0, 0, 0x48, 0x5D, 65, 0, 4, 0, 0, 0, 0, 0, 0}, false,
                   0, 0, 0},
        LayoutCase{"packet length 7", {0x82, 0, 0, 0x48, 0x5D, 7, 0, 0, 0, 0, 0, 0, 0, 0}, false, 0, 0, 0},
        LayoutCase{"packet length below the header", {0x82, 0, 0, 0x48, 0x5D, 12, 0, 0, 0, 0, 0, 0, 0, 0}, false, 0,
                   0, 0},
        LayoutCase{"padding beyond the packet", {0x82, 0, 0, 0x08, 0x5D, 53, 0, 0, 0, 0, 0, 0}, false, 0, 0, 0},
        LayoutCase{"padding up to the end", {0x82, 0, 0, 0x08, 0x5D, 52, 0, 0, 0, 0, 0, 0}, true, 12, 64, 52},
        LayoutCase{"sequence and padding as double words",
                   {0x82, 0, 0, 0x1E, 0x5D, 9, 9, 9, 9, 3, 0, 0, 0, 0, 0, 0, 0, 0, 0}, true, 19, 64, 3},
        LayoutCase{"cut inside the send time", {0x82, 0, 0, 0x08, 0x5D, 4, 0, 0}, false, 0, 0, 0},
        LayoutCase{"cut before the payload flags", {0x82, 0, 0, 0x09, 0x5D, 4, 0, 0, 0, 0, 0, 0}, false, 0, 0, 0},
        LayoutCase{"empty", {}, false, 0, 0, 0}));

// A packet (64 bytes, padding as a byte) with two payloads of word lengths:
// stream 1 with 8 bytes of replicated data and 5 bytes of data, stream 2
// without; 44 bytes before the second payload's data.
Bytes TwoPayloads(uint16_t firstLength, uint16_t secondLength, uint8_t padding) {
  Bytes p = {0x82, 0, 0, 0x09, 0x5D, padding, 0, 0, 0, 0, 0, 0, 0x82};
  const Bytes first = {0x81, 0x07, 0x10, 0, 0, 0, 0x08, 1, 2, 3, 4, 5, 6, 7, 8};
  p.insert(p.end(), first.begin(), first.end());
  PutLe(p, firstLength, 2);
  p.resize(p.size() + 5, 0xAA);
  const Bytes second = {0x02, 0x08, 0, 0, 0, 0, 0x00};
  p.insert(p.end(), second.begin(), second.end());
  PutLe(p, secondLength, 2);
  p.resize(kPacketSize, 0xBB);
  return p;
}

TEST(AsfPayload, MultiplePayloadsWithReplicatedData) {
  const Bytes p = TwoPayloads(5, 10, 2);
  bool ok = false;
  const AsfPacketHeader h = Header(p, &ok);
  ASSERT_TRUE(ok);
  AsfPayloadHeader first, second;
  ASSERT_TRUE(ParseAsfPayloadHeader(p.data(), p.size(), h.headerLength, h, &first));
  EXPECT_EQ(first.streamNumber, 1);
  EXPECT_TRUE(first.keyFrame);
  EXPECT_EQ(first.mediaObjectNumber, 7u);
  EXPECT_EQ(first.offsetIntoMediaObject, 0x10u);
  EXPECT_EQ(first.replicatedDataLength, 8u);
  EXPECT_EQ(first.headerLength, 17u);
  EXPECT_EQ(first.payloadLength, 5u);
  const uint32_t next = h.headerLength + first.headerLength + first.payloadLength;
  ASSERT_TRUE(ParseAsfPayloadHeader(p.data(), p.size(), next, h, &second));
  EXPECT_EQ(second.streamNumber, 2);
  EXPECT_FALSE(second.keyFrame);
  EXPECT_EQ(second.payloadLength, 10u);
  EXPECT_EQ(second.headerLength, 9u);
}

struct PayloadCase {
  const char* name;
  uint16_t firstLength, secondLength;
  uint8_t padding;
  bool firstParses, secondParses;
};

void PrintTo(const PayloadCase& c, std::ostream* os) { *os << c.name; }

class AsfPayloadBoundsTest : public ::testing::TestWithParam<PayloadCase> {};

// The payload area is the packet less its padding.
TEST_P(AsfPayloadBoundsTest, PayloadsEndInsideThePacket) {
  const PayloadCase& c = GetParam();
  const Bytes p = TwoPayloads(c.firstLength, c.secondLength, c.padding);
  bool ok = false;
  const AsfPacketHeader h = Header(p, &ok);
  ASSERT_TRUE(ok);
  AsfPayloadHeader first, second;
  ASSERT_EQ(ParseAsfPayloadHeader(p.data(), p.size(), h.headerLength, h, &first), c.firstParses);
  if (!c.firstParses) return;
  const uint32_t next = h.headerLength + first.headerLength + first.payloadLength;
  EXPECT_EQ(ParseAsfPayloadHeader(p.data(), p.size(), next, h, &second), c.secondParses);
}

INSTANTIATE_TEST_SUITE_P(Cases, AsfPayloadBoundsTest,
                         ::testing::Values(PayloadCase{"exactly filling", 5, 20, 0, true, true},
                                           PayloadCase{"one byte too many", 5, 21, 0, true, false},
                                           PayloadCase{"up to the padding", 5, 17, 3, true, true},
                                           PayloadCase{"into the padding", 5, 18, 3, true, false},
                                           PayloadCase{"first far too long", 0xFFFF, 1, 0, false, false},
                                           PayloadCase{"first past the packet", 40, 1, 0, false, false}));

TEST(AsfPayload, LengthTypeZeroWithMultiplePayloadsIsRefused) {
  Bytes p = TwoPayloads(5, 10, 0);
  p[12] = 0x02;  // two payloads, no length type
  bool ok = false;
  const AsfPacketHeader h = Header(p, &ok);
  ASSERT_TRUE(ok);
  AsfPayloadHeader payload;
  EXPECT_FALSE(ParseAsfPayloadHeader(p.data(), p.size(), h.headerLength, h, &payload));
}

TEST(AsfPayload, ReplicatedDataBeyondThePacketIsRefused) {
  Bytes p = TwoPayloads(5, 10, 0);
  p[13 + 6] = 0xF0;
  bool ok = false;
  const AsfPacketHeader h = Header(p, &ok);
  AsfPayloadHeader payload;
  EXPECT_FALSE(ParseAsfPayloadHeader(p.data(), p.size(), h.headerLength, h, &payload));
}

// A single payload takes what the packet leaves after its headers and padding.
TEST(AsfPayload, SinglePayloadLength) {
  PacketLayout layout;
  layout.multiple = false;
  PayloadLayout payload;
  payload.data = Bytes(20, 0x33);
  layout.payloads = {payload};
  const Bytes p = BuildPacket(layout, kPacketSize);
  bool ok = false;
  const AsfPacketHeader h = Header(p, &ok);
  ASSERT_TRUE(ok);
  EXPECT_FALSE(h.multiplePayloads);
  EXPECT_EQ(h.payloadCount, 1u);
  AsfPayloadHeader parsed;
  ASSERT_TRUE(ParseAsfPayloadHeader(p.data(), p.size(), h.headerLength, h, &parsed));
  EXPECT_EQ(parsed.payloadLength, 20u);
  EXPECT_EQ(h.packetLength - h.headerLength - h.paddingLength - parsed.headerLength, 20u);
  // A packet cut short (the end of a file) does not hold its payload.
  EXPECT_FALSE(ParseAsfPayloadHeader(p.data(), h.headerLength + parsed.headerLength + 19, h.headerLength, h, &parsed));
}

}  // namespace
}  // namespace qv::test
