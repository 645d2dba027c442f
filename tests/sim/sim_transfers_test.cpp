// Chunked transfers: configuration blocks both ways, the event log, firmware.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <span>
#include <utility>

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

// A file of `length` bytes; files of another `seed` differ in every byte.
Bytes FirmwareFile(size_t length, uint8_t seed = 0) {
    Bytes file(length);
    for (size_t i = 0; i < length; ++i)
        file[i] = static_cast<uint8_t>(((i * 31) ^ (i >> 8)) + seed);
    return file;
}

std::vector<Bytes> ChunksOf(const Bytes& file) {
    std::vector<Bytes> chunks;
    for (uint16_t n = 0; n <= file.size() / kChunkSize; ++n)
        chunks.push_back(FwChunk(n, file));
    return chunks;
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

// Two devices at addresses of their own, each with its own socket.
constexpr uint32_t kDeviceA = 0x7F000002;
constexpr uint32_t kDeviceB = 0x7F000003;

SimOptions TwoDevices() {
    SimOptions options;
    options.ready_delay_ms = 20;
    options.devices = {SimDevice{kDeviceA, 1, 0}, SimDevice{kDeviceB, 2, 7}};
    return options;
}

void ExpectReportOfFile(const SimHost& sim, uint32_t device, const Bytes& file) {
    SCOPED_TRACE(FormatAddress(device));
    auto report = sim.FirmwareReportOf(device);
    ASSERT_TRUE(report.has_value());
    EXPECT_TRUE(report->ok) << report->text;
    EXPECT_EQ(report->device, device);
    EXPECT_EQ(report->declared, file.size());
    EXPECT_EQ(report->received, file.size());
    EXPECT_EQ(report->crc, Crc32(file));
}

struct TwoTransfers {
    const char* name;
    bool interleaved;  // both begun first, then their chunks in turn
};

class SimTwoDevicesTest : public SimFixture, public ::testing::WithParamInterface<TwoTransfers> {};

TEST_P(SimTwoDevicesTest, EachDeviceReportsItsOwnFile) {
    StartSim(TwoDevices());
    const Bytes file_a = FirmwareFile(2500, 0);
    const Bytes file_b = FirmwareFile(5200, 91);
    if (!GetParam().interleaved) {
        Transfer(*client_, kDeviceA, file_a.size(), ChunksOf(file_a));
        Transfer(*client_, kDeviceB, file_b.size(), ChunksOf(file_b));
    } else {
        for (auto [device, file] : {std::pair{kDeviceA, &file_a}, std::pair{kDeviceB, &file_b}}) {
            Exchange(*client_, device, FwBegin(file->size()), FW_BEGIN);
            auto ready = client_->Receive();
            ASSERT_TRUE(ready.has_value());
            EXPECT_EQ(ready->data, (Bytes{FW_BEGIN, 0, 0}));
            EXPECT_EQ(ready->from.address, device);
        }
        const auto chunks_a = ChunksOf(file_a);
        const auto chunks_b = ChunksOf(file_b);
        for (size_t i = 0; i < std::max(chunks_a.size(), chunks_b.size()); ++i) {
            if (i < chunks_a.size()) Exchange(*client_, kDeviceA, chunks_a[i], FW_CHUNK);
            if (i < chunks_b.size()) Exchange(*client_, kDeviceB, chunks_b[i], FW_CHUNK);
        }
        Exchange(*client_, kDeviceA, {FW_END, 0, 0}, FW_END);
        Exchange(*client_, kDeviceB, {FW_END, 0, 0}, FW_END);
    }
    ExpectReportOfFile(*sim_, kDeviceA, file_a);
    ExpectReportOfFile(*sim_, kDeviceB, file_b);
    auto last = sim_->LastFirmwareReport();
    ASSERT_TRUE(last.has_value());
    EXPECT_EQ(last->device, kDeviceB);
}

INSTANTIATE_TEST_SUITE_P(Table, SimTwoDevicesTest,
                         ::testing::Values(TwoTransfers{"OneAfterTheOther", false},
                                           TwoTransfers{"Interleaved", true}),
                         [](const auto& info) { return std::string(info.param.name); });

// The device's answers leave in the order they were queued, so whatever it
// answered to the requests before a DISCOVER arrives before its DEVICE_INFO:
// the next datagram tells whether the last request was answered, with no
// waiting for a time-out. Returns that answer, or nullopt when the
// DEVICE_INFO came first.
std::optional<Bytes> AnswerBeforeProbe(TestClient& client, uint32_t device) {
    client.SendTo(device, {DISCOVER, 0, 0});
    auto first = client.Receive();
    if (!first.has_value()) {
        ADD_FAILURE() << "no DEVICE_INFO from " << FormatAddress(device);
        return std::nullopt;
    }
    EXPECT_EQ(first->from.address, device);
    if (first->data.size() >= 1 && first->data[0] == DEVICE_INFO && first->data[1] != 0) {
        return std::nullopt;
    }
    auto info = client.Receive();
    EXPECT_TRUE(info.has_value() && info->data[0] == DEVICE_INFO);
    return first->data;
}

// Sends `chunk` as the console does, at most twice; true when acknowledged.
bool SendChunkAtMostTwice(TestClient& client, uint32_t device, const Bytes& chunk) {
    for (int attempt = 0; attempt < 2; ++attempt) {
        client.SendTo(device, chunk);
        if (auto answer = AnswerBeforeProbe(client, device)) {
            EXPECT_EQ(*answer, (Bytes{FW_CHUNK, 0, 0}));
            return true;
        }
    }
    return false;
}

TEST_F(SimTransferTest, ADeviceThatNeverSaysReadyGetsNoImageAndTheNextDoes) {
    SimOptions options = TwoDevices();
    options.ready_delay_ms = 0;  // a "ready" would be queued before the probe's answer
    StartSim(options);
    ASSERT_EQ(sim_->Command("firmware 127.0.0.2 ready off").rfind("ok:", 0), 0u);
    const Bytes file = FirmwareFile(3000);
    // Device A: FW_BEGIN acknowledged, then no "ready": the console gives up on
    // it without FW_END and goes on to the next device.
    Exchange(*client_, kDeviceA, FwBegin(file.size()), FW_BEGIN);
    EXPECT_EQ(AnswerBeforeProbe(*client_, kDeviceA), std::nullopt);
    Transfer(*client_, kDeviceB, file.size(), ChunksOf(file));
    EXPECT_FALSE(sim_->FirmwareReportOf(kDeviceA).has_value());
    ExpectReportOfFile(*sim_, kDeviceB, file);
    EXPECT_TRUE(DiagnosticContains("device 127.0.0.2 does not say it is ready (as told)"));
    // Told to be ready again, device A takes the file.
    ASSERT_EQ(sim_->Command("firmware 127.0.0.2 ready on").rfind("ok:", 0), 0u);
    Transfer(*client_, kDeviceA, file.size(), ChunksOf(file));
    ExpectReportOfFile(*sim_, kDeviceA, file);
}

struct LostChunk {
    const char* name;
    unsigned chunk;
    const char* times;  // as the command takes it
    bool second_try_arrives;
};
void PrintTo(const LostChunk& c, std::ostream* os) {
    *os << c.name;
}

class SimLostChunkTest : public SimFixture, public ::testing::WithParamInterface<LostChunk> {};

// A chunk that is not acknowledged is sent once more; when that is lost too
// the console sends no further chunk, ends with FW_END, and the device
// reports the image incomplete. The other device is not affected.
TEST_P(SimLostChunkTest, IsSentAgainOrEndsTheTransfer) {
    const LostChunk& c = GetParam();
    StartSim(TwoDevices());
    const std::string command =
        "firmware 127.0.0.2 lose " + std::to_string(c.chunk) + " " + c.times;
    ASSERT_EQ(sim_->Command(command).rfind("ok:", 0), 0u);
    const Bytes file = FirmwareFile(3000);  // chunks 0, 1 full; chunk 2 counts 952
    const auto chunks = ChunksOf(file);
    ASSERT_LT(c.chunk, chunks.size());

    Exchange(*client_, kDeviceA, FwBegin(file.size()), FW_BEGIN);
    auto ready = client_->Receive();
    ASSERT_TRUE(ready.has_value());
    ASSERT_EQ(ready->data, (Bytes{FW_BEGIN, 0, 0}));
    size_t sent = 0;
    bool failed = false;
    for (const Bytes& chunk : chunks) {
        if (!SendChunkAtMostTwice(*client_, kDeviceA, chunk)) {
            failed = true;
            break;
        }
        ++sent;
    }
    Exchange(*client_, kDeviceA, {FW_END, 0, 0}, FW_END);
    EXPECT_TRUE(DiagnosticContains("device 127.0.0.2 lost chunk " + std::to_string(c.chunk)));

    auto report = sim_->FirmwareReportOf(kDeviceA);
    ASSERT_TRUE(report.has_value());
    if (c.second_try_arrives) {
        EXPECT_FALSE(failed);
        ExpectReportOfFile(*sim_, kDeviceA, file);
    } else {
        EXPECT_TRUE(failed);
        EXPECT_EQ(sent, c.chunk);
        EXPECT_FALSE(report->ok);
        const size_t taken = std::min(file.size(), size_t{c.chunk} * kChunkSize);
        EXPECT_EQ(report->received, taken);
        EXPECT_EQ(report->crc, Crc32(std::span(file).first(taken)));
        EXPECT_NE(report->text.find("incomplete"), std::string::npos) << report->text;
    }
    // Device B gets the whole file meanwhile.
    Transfer(*client_, kDeviceB, file.size(), chunks);
    ExpectReportOfFile(*sim_, kDeviceB, file);
}

INSTANTIATE_TEST_SUITE_P(Table, SimLostChunkTest,
                         ::testing::Values(LostChunk{"FirstChunkOnce", 0, "1", true},
                                           LostChunk{"LastChunkOnce", 2, "1", true},
                                           LostChunk{"MiddleChunkOnBothTries", 1, "2", false},
                                           LostChunk{"FirstChunkAlways", 0, "always", false},
                                           LostChunk{"LastChunkAlways", 2, "always", false}),
                         [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace qavo::sim::testing
