#include "link/address_parse.h"

#include <gtest/gtest.h>

namespace qavo {
namespace {

TEST(ParsePort, DecimalHexadecimalAndGarbage) {
    struct Case {
        const char* text;
        uint32_t port;
    };
    const Case cases[] = {
        {"16888", 16888},    {"0x41F8", 16888}, {"0x41f8", 16888},   {"0", 0},         {"", 0},
        {"abc", 0},          {"0x", 0},         {"16888abc", 16888}, {"65535", 65535}, {"65536", 0},
        {"999999999999", 0}, {"0xFFFFF", 0},    {" 16888", 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(ParsePort(c.text), c.port) << '"' << c.text << '"';
}

TEST(ParseIPv4, BothByteOrders) {
    EXPECT_EQ(ParseIPv4("192.168.99.8", ByteOrder::kHost), 0xC0A86308u);
    EXPECT_EQ(ParseIPv4("192.168.99.8", ByteOrder::kNetwork), 0x0863A8C0u);
}

TEST(ParseIPv4, FirmwareEntryStopsAfterTheFourthOctet) {
    uint32_t value = ParseIPv4("192.168.1.5 - Ver1.2", ByteOrder::kNetwork);
    const auto* bytes = reinterpret_cast<const uint8_t*>(&value);
    // In memory order on this (little-endian) machine: first octet first.
    EXPECT_EQ(bytes[0], 192);
    EXPECT_EQ(bytes[1], 168);
    EXPECT_EQ(bytes[2], 1);
    EXPECT_EQ(bytes[3], 5);
}

TEST(ParseIPv4, ShortMalformedAndOversizedText) {
    struct Case {
        const char* text;
        uint32_t host_order;
    };
    const Case cases[] = {
        {"", 0},
        {"10", 0x0A000000},
        {"10.1", 0x0A010000},
        {"1.2.3.", 0x01020300},
        {"1..3.4", 0x01000304},
        {"1 2 3 4", 0x01020304},
        {"1.2.3.4.5.6", 0x01020304},
        {"1234.1.1.1", 0x7B010101},  // a fourth digit is not read
        {"300.1.1.1", 0x2C010101},   // an octet above 255 keeps its low eight bits
        {"127.0.0.1x9", 0x7F000001},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ParseIPv4(c.text, ByteOrder::kHost), c.host_order) << '"' << c.text << '"';
    }
}

}  // namespace
}  // namespace qavo
