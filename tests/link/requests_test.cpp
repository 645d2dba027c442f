#include "link/requests.h"

#include <gtest/gtest.h>

#include <ctime>
#include <vector>

namespace qavo {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Built(size_t length, const Datagram& d) {
    return Bytes(d.begin(), d.begin() + length);
}

Job Single(int op, int param = 0) {
    Job job;
    job.job_op = op;
    job.job_param = param;
    return job;
}

int64_t LocalTime(int year, int month, int day, int hour, int minute, int second) {
    std::tm tm{};
    tm.tm_year = year - 1900;
    tm.tm_mon = month - 1;
    tm.tm_mday = day;
    tm.tm_hour = hour;
    tm.tm_min = minute;
    tm.tm_sec = second;
    tm.tm_isdst = -1;
    return static_cast<int64_t>(std::mktime(&tm));
}

TEST(Requests, SingleRequestLayouts) {
    Job relays = Single(SET_RELAYS, 2);
    relays.relay_outputs = 0x05;  // relays 1 and 3 on
    Job net = Single(NET_PARAMS, 1);
    net.new_host_ip = 0xC0A86308;       // 192.168.99.8
    net.new_host_mask = 0xFFFFFF00;     // 255.255.255.0
    net.new_host_gateway = 0xC0A86301;  // 192.168.99.1
    net.new_host_port = "16888";
    Job clock = Single(SET_CLOCK);
    clock.clock_to_set = LocalTime(2018, 3, 5, 14, 7, 9);
    Job cell = Single(CELL_COMMAND, 7);
    cell.job_param2 = 3;
    Job set_level = Single(IMPEDANCE, 1);
    set_level.impedance_level = 2;
    Job report_level = Single(IMPEDANCE, 0);
    report_level.impedance_level = 2;

    struct Case {
        const char* name;
        Job job;
        Bytes expected;
    };
    const Case cases[] = {
        {"READ_STATUS all hosts", Single(READ_STATUS, 255), {1, 0, 0, 0, 255}},
        {"SET_RELAYS host 2", relays, {2, 0, 2, 0, 0, 0, 1, 0, 0, 0, 5}},
        {"ACK_RESET", Single(ACK_RESET), {10, 0, 0, 0, 0, 0, 0, 0, 0, 0}},
        {"LOG_COMMAND send", Single(LOG_COMMAND, 0), {11, 0, 0, 0}},
        {"LOG_COMMAND clear", Single(LOG_COMMAND, 1), {11, 0, 0, 1}},
        {"CELL_COMMAND", cell, {13, 0, 0, 7, 3}},
        {"SET_CLOCK 2018-03-05 14:07:09", clock, {15, 0, 0, 0x07, 0xE2, 3, 5, 14, 7, 9}},
        {"NET_PARAMS 192.168.99.8:16888",
         net,
         {16, 0, 0, 1, 8, 99, 168, 192, 0, 255, 255, 255, 1, 99, 168, 192, 0x41, 0xF8}},
        {"NET_PARAMS without addresses", Single(NET_PARAMS, 0), {16, 0, 0, 0}},
        {"IMPEDANCE set", set_level, {17, 0, 0, 1, 2}},
        {"IMPEDANCE report", report_level, {17, 0, 0, 0, 0}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        Datagram d;
        d.fill(0xEE);
        EXPECT_EQ(Built(BuildSingleRequest(c.job, d), d), c.expected);
    }
    Datagram d{};
    EXPECT_EQ(BuildSingleRequest(Single(3), d), 0u);  // not a request
}

TEST(Requests, NetParamsPortInHexadecimal) {
    Job net = Single(NET_PARAMS, 1);
    net.new_host_port = "0x41F9";
    Datagram d{};
    ASSERT_EQ(BuildSingleRequest(net, d), 18u);
    EXPECT_EQ(d[16], 0x41);
    EXPECT_EQ(d[17], 0xF9);
}

TEST(Requests, AudioControlCarriesSourceAndOneMaskPerHost) {
    Job job;
    job.job_kind = JobKind::kAudioControl;
    job.job_op = AUDIO_CONTROL;
    job.job_param = 1;
    job.audio_request = {0x22, 0x0F, 0x01, 0x80, 0xFF, 0xFF};
    Datagram d;
    d.fill(0xEE);
    EXPECT_EQ(Built(BuildAudioControl(job, 3, d), d), (Bytes{12, 0, 0, 1, 0x22, 0x0F, 0x01, 0x80}));
    // A host count out of range never reads past the 20 masks.
    EXPECT_EQ(BuildAudioControl(job, 200, d), 25u);
}

TEST(Requests, HeartbeatAndBlockRead) {
    Datagram d;
    d.fill(0xEE);
    EXPECT_EQ(Built(BuildHeartbeat(14, d), d), (Bytes{14, 0, 0, 14, 0}));
    EXPECT_EQ(Built(BuildBlockRead(4, d), d), (Bytes{9, 0, 0, 2, 4}));
}

TEST(Requests, BlockWriteChunk) {
    Datagram d{};
    const Bytes data = {1, 2, 3};
    EXPECT_EQ(Built(BuildBlockWrite(5, 0, 0x0400, data, d), d),
              (Bytes{9, 0, 0, 0, 5, 0, 3, 0, 0x00, 0x04, 1, 2, 3}));
}

TEST(Requests, FirmwareChunkIsAlways1032BytesWithZeroPadding) {
    Datagram d;
    d.fill(0xEE);
    const Bytes data = {1, 2, 3, 4, 5, 6};
    ASSERT_EQ(BuildFirmwareChunk(1, 8, data, d), 1032u);
    EXPECT_EQ(Built(16, d), (Bytes{7, 0, 0, 1, 0, 8, 0, 0xAA, 1, 2, 3, 4, 5, 6, 0, 0}));
    EXPECT_TRUE(std::all_of(d.begin() + 14, d.begin() + 1032, [](uint8_t b) { return b == 0; }));
}

}  // namespace
}  // namespace qavo
