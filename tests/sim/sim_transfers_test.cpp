// Chunked transfers: configuration blocks both ways, the event log, firmware.
#include <gtest/gtest.h>

#include "link/frame.h"
#include "sim_firmware.h"
#include "sim_test_client.h"

namespace qavo::sim::testing {
namespace {

// Reads one block the way the console does and checks each chunk's framing.
Bytes ReadBlock(TestClient& client, uint8_t id) {
    client.Send(BlockRead(id));
    Bytes block;
    for (unsigned chunk = 1;; ++chunk) {
        Bytes m = client.Next();
        if (m.size() < kChunkHeader) {
            ADD_FAILURE() << "chunk " << chunk << " of block " << int{id} << " missing";
            return block;
        }
        EXPECT_EQ(m[0], BLOCK_DATA);
        EXPECT_NE(m[1], 0);
        EXPECT_EQ(m[3], 1);
        EXPECT_EQ(m[4], id);
        const size_t n = ReadLe16(&m[6]);
        EXPECT_LE(n, kChunkSize);
        EXPECT_EQ(m.size(), kChunkHeader + n);
        EXPECT_EQ(ReadLe16(&m[8]), block.size());
        block.insert(block.end(), m.begin() + kChunkHeader, m.end());
        if (m[5] == 0) return block;
        EXPECT_EQ(m[5], chunk);
    }
}

// Writes a whole block in chunks of 1024 as the console does; every chunk
// must be acknowledged.
void WriteBlock(TestClient& client, uint8_t id, const Bytes& data) {
    const size_t chunks = (data.size() + kChunkSize - 1) / kChunkSize;
    for (size_t i = 0; i < chunks; ++i) {
        const size_t offset = i * kChunkSize;
        const size_t n = std::min(kChunkSize, data.size() - offset);
        Bytes part(data.begin() + offset, data.begin() + offset + n);
        client.Send(BlockWriteChunk(id, i + 1 == chunks ? 0 : static_cast<uint8_t>(i + 1),
                                    static_cast<uint16_t>(offset), part));
        ASSERT_EQ(client.Next(), (Bytes{BLOCK_WRITE, 0, 0})) << "chunk " << i + 1;
    }
}

class SimTransferTest : public SimFixture {};

class SimBlockTest : public SimFixture, public ::testing::WithParamInterface<uint8_t> {};

TEST_P(SimBlockTest, ReadGivesTheSimulatorsBlock) {
    StartSim();
    const uint8_t id = GetParam();
    Bytes read = ReadBlock(*client_, id);
    EXPECT_EQ(read.size(), kBlockSize[id]);
    EXPECT_EQ(read, BlockOf(*sim_, id));
}

class SimBlockWriteTest : public SimFixture, public ::testing::WithParamInterface<uint8_t> {};

TEST_P(SimBlockWriteTest, WrittenBlockIsKeptAndReadBackExactly) {
    const uint8_t id = GetParam();
    StartSim();
    Bytes data = BlockOf(*sim_, id);
    // Change every byte, keeping the counts of block 0 in range.
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = static_cast<uint8_t>(data[i] ^ (i * 7 + 1));
    if (id == kEquipmentBlock) {
        data[fields::host_count.offset] = 6;
        data[fields::group_count.offset] = 12;
    }
    WriteBlock(*client_, id, data);
    EXPECT_EQ(BlockOf(*sim_, id), data);
    EXPECT_EQ(ReadBlock(*client_, id), data);
}

auto BlockName = [](const auto& info) { return "Block" + std::to_string(info.param); };
INSTANTIATE_TEST_SUITE_P(EveryBlock, SimBlockTest, ::testing::Range<uint8_t>(0, kBlockCount),
                         BlockName);
// Block 3 is read-only.
INSTANTIATE_TEST_SUITE_P(WritableBlocks, SimBlockWriteTest,
                         ::testing::Values(kEquipmentBlock, kPagingBlock, kFireAlarmBlock,
                                           kGroupsBlock, kAudioPriorityBlock),
                         BlockName);

TEST_F(SimTransferTest, WritingTheHostCountChangesTheStatusLayout) {
    StartSim();
    Bytes data = BlockOf(*sim_, kEquipmentBlock);
    data[fields::host_count.offset] = 6;
    WriteBlock(*client_, kEquipmentBlock, data);
    client_->Send(ReadStatus());
    EXPECT_EQ(client_->Next(), (Bytes{READ_STATUS, 0, 0}));
    EXPECT_EQ(client_->Next().size(), 4u + 2 * 6);
    EXPECT_TRUE(ParseHostStatus(client_->Next(), 6, 4).has_value());
}

struct BadChunk {
    const char* name;
    Bytes datagram;
};
void PrintTo(const BadChunk& c, std::ostream* os) {
    *os << c.name;
}

class SimBadChunkTest : public SimFixture, public ::testing::WithParamInterface<BadChunk> {};

TEST_P(SimBadChunkTest, IsRefusedWithoutAcknowledgement) {
    StartSim();
    const ParamImage before = sim_->Blocks();
    client_->Send(GetParam().datagram);
    // Nothing answers the chunk: the heartbeat reply comes first.
    EXPECT_TRUE(client_->DrainWithHeartbeat().empty());
    EXPECT_EQ(sim_->Blocks(), before);
    EXPECT_TRUE(DiagnosticContains("refused BLOCK_WRITE"));
}

Bytes Chunk(uint8_t id, uint16_t offset, size_t n) {
    return BlockWriteChunk(id, 0, offset, Bytes(n, 0x5A));
}

Bytes Truncated(Bytes m, size_t drop) {
    m.resize(m.size() - drop);
    return m;
}

INSTANTIATE_TEST_SUITE_P(
    OutOfRange, SimBadChunkTest,
    ::testing::Values(BadChunk{"PastTheEnd", Chunk(kEquipmentBlock, 40, 6)},
                      BadChunk{"OffsetBeyond", Chunk(kAudioPriorityBlock, 176, 1)},
                      BadChunk{"LastChunkOfPagingTooLong", Chunk(kPagingBlock, 43008, 401)},
                      BadChunk{"ReadOnlyBlock", Chunk(kReservedBlock, 0, 4)},
                      BadChunk{"NoSuchBlock", Chunk(6, 0, 4)},
                      BadChunk{"MoreThan1024", Chunk(kPagingBlock, 0, 1025)},
                      BadChunk{"ShorterThanItsLength", Truncated(Chunk(kGroupsBlock, 0, 20), 1)}),
    [](const auto& info) { return std::string(info.param.name); });

// Reassembles LOG_DATA chunks by offset; offsets above 65535 come modulo
// 65536 and are unwrapped by their rising order.
Bytes ReadLog(TestClient& client, size_t* chunks = nullptr) {
    client.Send(LogCommand(0));
    EXPECT_EQ(client.Next(), (Bytes{LOG_COMMAND, 0, 0}));
    Bytes area;
    size_t previous = 0;
    for (unsigned number = 1;; ++number) {
        Bytes m = client.Next();
        if (m.size() < kChunkHeader) {
            ADD_FAILURE() << "log chunk " << number << " missing";
            return area;
        }
        EXPECT_EQ(m[0], LOG_DATA);
        EXPECT_NE(m[1], 0);
        EXPECT_EQ(m[3], 2);
        const size_t n = ReadLe16(&m[6]);
        EXPECT_LE(n, kChunkSize);
        EXPECT_EQ(m.size(), kChunkHeader + n);
        size_t offset = (previous & ~size_t{0xFFFF}) | ReadLe16(&m[8]);
        if (offset < previous) offset += 0x10000;
        previous = offset;
        if (area.size() < offset + n) area.resize(offset + n);
        std::copy(m.begin() + kChunkHeader, m.end(), area.begin() + offset);
        const uint16_t sequence = ReadLe16(&m[4]);
        if (sequence == 0) {
            if (chunks) *chunks = number;
            return area;
        }
        EXPECT_EQ(sequence, number);
    }
}

TEST_F(SimTransferTest, LogTransferReassemblesToTheSimulatorsLog) {
    StartSim();
    Bytes area = ReadLog(*client_);
    EXPECT_EQ(area, sim_->LogArea());
    EXPECT_EQ(ReadLe16(area.data()), 200);
    EXPECT_EQ(area.size(), kHostLogHeaderSize + 200 * kHostLogRecordSize);
}

TEST_F(SimTransferTest, FullLogOffsetsWrapAndStillReassemble) {
    SimOptions options = DefaultOptions();
    options.log_size = 5000;
    StartSim(options);
    size_t chunks = 0;
    Bytes area = ReadLog(*client_, &chunks);
    EXPECT_EQ(area.size(), kHostLogSize);
    EXPECT_EQ(chunks, (kHostLogSize + kChunkSize - 1) / kChunkSize);
    EXPECT_EQ(area, sim_->LogArea());
}

TEST_F(SimTransferTest, ClearedLogTransfersAsAnEmptyLog) {
    StartSim();
    client_->Send(LogCommand(1));
    EXPECT_EQ(client_->Next(), (Bytes{LOG_COMMAND, 0, 0}));
    EXPECT_EQ(ReadLog(*client_), (Bytes{0, 0, 0, 0}));
    EXPECT_TRUE(sim_->EventRecords().empty());
}

// The console's side of a firmware transfer, chunk by chunk.
Bytes FwBegin(uint64_t length) {
    Bytes m = {FW_BEGIN, 4, 4, 4, 4, 4};
    for (int i = 0; i < 8; ++i)
        m.push_back(static_cast<uint8_t>(length >> (8 * i)));
    return m;
}

Bytes FwChunk(uint16_t number, const Bytes& file) {
    Bytes m(kFirmwareChunkDatagram, 0);
    m[0] = FW_CHUNK;
    WriteLe16(&m[3], number);
    const size_t offset = size_t{number} * kChunkSize;
    const size_t n = offset < file.size() ? std::min(kChunkSize, file.size() - offset) : 0;
    WriteLe16(&m[5], static_cast<uint16_t>(n == kChunkSize ? n : (n + 3) / 4 * 4));
    m[7] = kFirmwareChunkMarker;
    std::copy_n(file.begin() + static_cast<std::ptrdiff_t>(offset), n, m.begin() + 8);
    return m;
}

Bytes FirmwareFile(size_t length) {
    Bytes file(length);
    for (size_t i = 0; i < length; ++i)
        file[i] = static_cast<uint8_t>((i * 31) ^ (i >> 8));
    return file;
}

void Exchange(TestClient& client, uint32_t device, const Bytes& request, uint8_t op) {
    client.SendTo(device, request);
    auto answer = client.Receive();
    ASSERT_TRUE(answer.has_value()) << "no acknowledgement of op " << int{op};
    EXPECT_EQ(answer->data, (Bytes{op, 0, 0}));
    EXPECT_EQ(answer->from.address, device);
}

// Begins (both acknowledgements: received, then ready), sends `chunks`, ends.
void Transfer(TestClient& client, uint32_t device, uint64_t length,
              const std::vector<Bytes>& chunks) {
    Exchange(client, device, FwBegin(length), FW_BEGIN);
    auto ready = client.Receive();
    ASSERT_TRUE(ready.has_value()) << "the device never said it was ready";
    EXPECT_EQ(ready->data, (Bytes{FW_BEGIN, 0, 0}));
    for (const Bytes& chunk : chunks)
        Exchange(client, device, chunk, FW_CHUNK);
    Exchange(client, device, {FW_END, 0, 0}, FW_END);
}

class SimFirmwareTest : public SimFixture, public ::testing::WithParamInterface<size_t> {};

TEST_P(SimFirmwareTest, WholeFileIsReportedOkWithItsCrc) {
    SimOptions options = DefaultOptions();
    options.devices = {SimDevice{0x7F000001, 1, 0}, SimDevice{0x7F000003, 1, 4}};
    StartSim(options);
    const Bytes file = FirmwareFile(GetParam());
    std::vector<Bytes> chunks;
    for (uint16_t n = 0; n <= file.size() / kChunkSize; ++n)
        chunks.push_back(FwChunk(n, file));
    for (uint32_t device : {0x7F000001u, 0x7F000003u}) {
        SCOPED_TRACE(FormatAddress(device));
        Transfer(*client_, device, file.size(), chunks);
        auto report = sim_->LastFirmwareReport();
        ASSERT_TRUE(report.has_value());
        EXPECT_TRUE(report->ok) << report->text;
        EXPECT_EQ(report->device, device);
        EXPECT_EQ(report->declared, file.size());
        EXPECT_EQ(report->received, file.size());
        EXPECT_EQ(report->crc, Crc32(file));
        EXPECT_TRUE(DiagnosticContains(report->text));
    }
}

INSTANTIATE_TEST_SUITE_P(Files, SimFirmwareTest, ::testing::Values(1030, 2048, 10240),
                         [](const auto& info) { return "Bytes" + std::to_string(info.param); });

TEST_F(SimTransferTest, FirmwareChunkOutOfOrderIsReported) {
    StartSim();
    const Bytes file = FirmwareFile(3000);
    Transfer(*client_, 0x7F000001, file.size(),
             {FwChunk(0, file), FwChunk(2, file), FwChunk(1, file)});
    auto report = sim_->LastFirmwareReport();
    ASSERT_TRUE(report.has_value());
    EXPECT_FALSE(report->ok);
    EXPECT_NE(report->text.find("out of order"), std::string::npos) << report->text;
}

TEST_F(SimTransferTest, FirmwareBadPaddingIsReported) {
    StartSim();
    const Bytes file = FirmwareFile(1030);
    Bytes last = FwChunk(1, file);
    last[8 + 7] = 0x01;  // byte 7 of the last chunk: padding up to the counted 8
    Transfer(*client_, 0x7F000001, file.size(), {FwChunk(0, file), last});
    auto report = sim_->LastFirmwareReport();
    ASSERT_TRUE(report.has_value());
    EXPECT_FALSE(report->ok);
    EXPECT_EQ(report->received, file.size());
    EXPECT_NE(report->text.find("padding"), std::string::npos) << report->text;
}

}  // namespace
}  // namespace qavo::sim::testing
