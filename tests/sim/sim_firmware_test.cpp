#include "sim_firmware.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "link/frame.h"

namespace qavo::sim {
namespace {

using Bytes = std::vector<uint8_t>;

TEST(SimCrc32, MatchesTheStandardCheckValueAndContinues) {
    const std::string text = "123456789";
    Bytes data(text.begin(), text.end());
    EXPECT_EQ(Crc32(data), 0xCBF43926u);
    EXPECT_EQ(Crc32(std::span(data).subspan(4), Crc32(std::span(data).first(4))), Crc32(data));
    EXPECT_EQ(Crc32({}), 0u);
}

Bytes File(size_t length) {
    Bytes file(length);
    for (size_t i = 0; i < length; ++i)
        file[i] = static_cast<uint8_t>(i * 13 + 5);
    return file;
}

// Chunk `number` of `file` as the console builds it.
Bytes Chunk(const Bytes& file, uint16_t number) {
    Bytes m(kFirmwareChunkDatagram, 0);
    m[0] = 7;
    WriteLe16(&m[3], number);
    size_t offset = size_t{number} * kChunkSize;
    size_t n = offset < file.size() ? std::min(kChunkSize, file.size() - offset) : 0;
    WriteLe16(&m[5], static_cast<uint16_t>(n == kChunkSize ? n : (n + 3) / 4 * 4));
    m[7] = kFirmwareChunkMarker;
    std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(offset), n, m.begin() + 8);
    return m;
}

std::vector<Bytes> AllChunks(const Bytes& file) {
    std::vector<Bytes> chunks;
    for (uint16_t n = 0; n <= file.size() / kChunkSize; ++n)
        chunks.push_back(Chunk(file, n));
    return chunks;
}

FirmwareReport Transfer(uint64_t declared, const std::vector<Bytes>& chunks) {
    FirmwareReceiver receiver(0x7F000001);
    receiver.Begin(declared);
    for (const Bytes& c : chunks)
        receiver.Chunk(c);
    return receiver.End();
}

TEST(SimFirmwareReceiver, CompleteTransfersAreOk) {
    for (size_t length : {1024u, 1030u, 1031u, 2048u, 4097u}) {
        SCOPED_TRACE(length);
        const Bytes file = File(length);
        FirmwareReport report = Transfer(length, AllChunks(file));
        EXPECT_TRUE(report.ok) << report.text;
        EXPECT_EQ(report.received, length);
        EXPECT_EQ(report.crc, Crc32(file));
        EXPECT_NE(report.text.find("127.0.0.1"), std::string::npos);
        EXPECT_NE(report.text.find(std::to_string(length)), std::string::npos);
        EXPECT_EQ(report.text.substr(report.text.size() - 2), "ok");
    }
}

TEST(SimFirmwareReceiver, AChunkSentAgainAfterALostAcknowledgementIsNoFault) {
    const Bytes file = File(3000);
    auto chunks = AllChunks(file);
    chunks.insert(chunks.begin() + 1, chunks[0]);
    FirmwareReport report = Transfer(file.size(), chunks);
    EXPECT_TRUE(report.ok) << report.text;
    EXPECT_EQ(report.crc, Crc32(file));
}

struct Fault {
    const char* name;
    void (*spoil)(std::vector<Bytes>&);
    const char* says;
};
void PrintTo(const Fault& c, std::ostream* os) {
    *os << c.name;
}

class SimFirmwareFaults : public ::testing::TestWithParam<Fault> {};

TEST_P(SimFirmwareFaults, AreReported) {
    const Bytes file = File(2500);  // chunks 0, 1 full, chunk 2 452 bytes counted 452
    auto chunks = AllChunks(file);
    GetParam().spoil(chunks);
    FirmwareReport report = Transfer(file.size(), chunks);
    EXPECT_FALSE(report.ok);
    EXPECT_NE(report.text.find(GetParam().says), std::string::npos) << report.text;
}

INSTANTIATE_TEST_SUITE_P(
    Table, SimFirmwareFaults,
    ::testing::Values(
        Fault{"ChunkSkipped", [](std::vector<Bytes>& c) { c.erase(c.begin() + 1); },
              "out of order"},
        Fault{"Swapped", [](std::vector<Bytes>& c) { std::swap(c[0], c[1]); }, "out of order"},
        Fault{"Missing", [](std::vector<Bytes>& c) { c.pop_back(); }, "incomplete"},
        Fault{"Marker", [](std::vector<Bytes>& c) { c[1][7] = 0x55; }, "bad marker"},
        Fault{"CountedShort", [](std::vector<Bytes>& c) { WriteLe16(&c[2][5], 448); },
              "bad length"},
        Fault{"CountedUnrounded", [](std::vector<Bytes>& c) { WriteLe16(&c[0][5], 1000); },
              "bad length"},
        Fault{"DatagramSize", [](std::vector<Bytes>& c) { c[1].pop_back(); }, "bad length"},
        Fault{"BeyondTheEnd",
              [](std::vector<Bytes>& c) {
                  Bytes extra = c.back();
                  WriteLe16(&extra[3], 3);
                  c.push_back(extra);
              },
              "beyond the end"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SimFirmwareReceiver, NonZeroPaddingIsReported) {
    const Bytes file = File(1030);  // chunk 1: 6 bytes, counted 8
    auto chunks = AllChunks(file);
    chunks[1][8 + 6] = 0x01;
    FirmwareReport report = Transfer(file.size(), chunks);
    EXPECT_FALSE(report.ok);
    EXPECT_NE(report.text.find("non-zero padding in chunk 1"), std::string::npos) << report.text;
    // Bytes past the counted length mean nothing.
    chunks = AllChunks(file);
    chunks[1][8 + 8] = 0x01;
    EXPECT_TRUE(Transfer(file.size(), chunks).ok);
}

TEST(SimFirmwareReceiver, EndWithoutBeginIsReported) {
    FirmwareReceiver receiver(0x7F000002);
    FirmwareReport report = receiver.End();
    EXPECT_FALSE(report.ok);
    EXPECT_NE(report.text.find("without FW_BEGIN"), std::string::npos);
    EXPECT_EQ(report.device, 0x7F000002u);
}

}  // namespace
}  // namespace qavo::sim
