// The texts of the host's event log records, the decoding of the whole log
// area and the log type list's filters.
#include "console/log_events.h"

#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

namespace qavo {
namespace {

using Record = std::array<uint8_t, kHostLogRecordSize>;

// A record of `kind` on 2024-05-01 12:00:00 with event bytes 8 to 13.
Record MakeRecord(uint8_t kind, std::array<uint8_t, 6> data) {
    Record r{kind, 0xEE, 24, 5, 1, 12, 0, 0};
    std::copy(data.begin(), data.end(), r.begin() + 8);
    return r;
}

// Host 1 has its DC supply fitted (bit 1), host 2 too (bit 5 for an
// expansion host); host 3 has only bit 1, which on an expansion host does
// not mean a DC supply; host 4 has nothing; host 20 has its supply.
HostConfig TestHostConfig() {
    HostConfig config{};
    config[0] = 0x02;
    config[1] = 0x20;
    config[2] = 0x02;
    config[3] = 0x00;
    config[19] = 0x20;
    return config;
}

struct TextCase {
    const char* what;
    uint8_t kind;
    std::array<uint8_t, 6> data;  // bytes 8 to 13
    const char* type;
    const char* context;
};

const TextCase kTextCases[] = {
    {"mic fault", 1, {1}, "Emergency MIC(PTT)", "Emergency MIC fault"},
    {"mic starts", 1, {3}, "Emergency MIC(PTT)", "Emergency MIC start paging."},
    {"mic stops", 1, {4}, "Emergency MIC(PTT)", "Emergency MIC to stop paging."},
    {"mic normal", 1, {0}, "Emergency MIC(PTT)", "Emergency MIC return to normal."},
    {"mic other", 1, {2}, "Emergency MIC(PTT)", "Emergency MIC return to normal."},

    {"messages",
     2,
     {1, 0, 0x02, 0x01, 7, 0},
     "QAVO message",
     "online, QAVO message = 258, Alert message = 007;"},
    {"messages, largest counts",
     2,
     {9, 0, 0xFF, 0xFF, 0xFF, 0xFF},
     "QAVO message",
     "online, QAVO message = 65535, Alert message = 65535;"},
    {"no messages",
     2,
     {0, 0, 5, 0, 6, 0},
     "QAVO message",
     "online,QAVO message = 0, Alart message = 0;"},

    {"main normal, spare fault",
     3,
     {2, 0x08},
     "Amplifier status",
     "Host 02 main amplifier normal,spare amplifier fault."},
    {"main fault, spare normal",
     3,
     {2, 0x10},
     "Amplifier status",
     "Host 02 main amplifier fault,spare amplifier normal."},
    {"both normal",
     3,
     {12, 0xFF},
     "Amplifier status",
     "Host 12 main amplifier normal,spare amplifier normal."},
    {"both fault",
     3,
     {1, 0xE7},
     "Amplifier status",
     "Host 01 main amplifier fault,spare amplifier fault."},

    {"zone lines, one open",
     4,
     {3, 0x02, 0, 0, 0, 0},
     "Speaker partition bus status",
     "Host 03 speaker zone state changed:Zone 01: A-Open,B-Normal. | Zone 02: A-Normal,B-Normal. "
     "| Zone 03: A-Normal,B-Normal. | Zone 04: A-Normal,B-Normal. | Zone 05: A-Normal,B-Normal. | "
     "Zone 06: A-Normal,B-Normal. | Zone 07: A-Normal,B-Normal. | Zone 08: A-Normal,B-Normal."},
    {"zone lines, every state",
     4,
     {20, 0x92, 0x3C, 0x48, 0x06, 0xFF},
     "Speaker partition bus status",
     "Host 20 speaker zone state changed:Zone 01: A-Open,B-Normal. | Zone 02: A-Short,B-Open. | "
     "Zone 03: A-Normal,B-Normal. | Zone 04: A-Normal,B-Normal. | Zone 05: A-Normal,B-Open. | "
     "Zone 06: A-Normal,B-Short. | Zone 07: A-Open,B-Short. | Zone 08: A-Normal,B-Normal."},

    {"main host power normal",
     5,
     {1, 0x03},
     "Equipment power status",
     "Host 01 AC power normal,DC power normal."},
    {"main host DC fault",
     5,
     {1, 0x01},
     "Equipment power status",
     "Host 01 AC power normal,DC power fault."},
    {"expansion host, DC fitted by bit 5",
     5,
     {2, 0x02},
     "Equipment power status",
     "Host 02 AC power fault,DC power normal."},
    {"expansion host, bit 1 is no DC supply",
     5,
     {3, 0x03},
     "Equipment power status",
     "Host 03 AC power normal,DC power not configuration."},
    {"no DC supply",
     5,
     {4, 0x00},
     "Equipment power status",
     "Host 04 AC power fault,DC power not configuration."},
    {"last host",
     5,
     {20, 0x00},
     "Equipment power status",
     "Host 20 AC power fault,DC power fault."},
    {"host 0 is no host",
     5,
     {0, 0x03},
     "Equipment power status",
     "Host 00 AC power normal,DC power unknown (no such host)."},
    {"host 21 is no host",
     5,
     {21, 0x02},
     "Equipment power status",
     "Host 21 AC power fault,DC power unknown (no such host)."},

    {"host online", 6, {7, 1}, "Host online", "Host 07 online."},
    {"host offline", 6, {7, 0}, "Host online", "Host 07 offline."},
    {"host state 2", 6, {19, 2}, "Host online", "Host 19 offline."},

    {"fire console online", 7, {5, 0x41}, "Paing", "Fire paging 05 online."},
    {"remote console offline", 7, {5, 0x00}, "Paing", "Remote paging 05 offline."},
    {"remote console online", 7, {32, 0x31}, "Paing", "Remote paging 32 online."},
    {"touch console (2)", 7, {1, 0x81}, "Paing", "Touch paging 01 online."},
    {"touch console (3)", 7, {1, 0xC2}, "Paing", "Touch paging 01 offline."},

    {"manual fire mode", 8, {1}, "Alarm info", "Host a manual into fire mode."},
    {"manual fire reset", 8, {2}, "Alarm info", "The host fire reset manually."},
    {"contacts 1 and 3",
     8,
     {3, 1, 0x05},
     "Alarm info",
     "Host 01 contact 01 | 03 diagnostic to the fire."},
    {"no contact", 8, {3, 1, 0x00}, "Alarm info", "Host 01 contact  diagnostic to the fire."},
    {"every contact",
     8,
     {4, 12, 0xFF},
     "Alarm info",
     "Host 12 contact 01 | 02 | 03 | 04 | 05 | 06 | 07 | 08 diagnostic to the fire."},
    {"last contact alone",
     8,
     {4, 2, 0x80},
     "Alarm info",
     "Host 02 contact 08 diagnostic to the fire."},
    {"CIE reset", 8, {5}, "Alarm info", "Host CIE reset fire."},
    {"console fire mode", 8, {6, 9}, "Alarm info", "The paging 09 a manually into fire mode."},
    {"console fire reset", 8, {7, 9}, "Alarm info", "The paging 09 fire reset manually."},
    {"contact releases", 8, {8, 4}, "Alarm info", "The host 04 contact releases fire."},
    {"alarm 0", 8, {0, 4}, "Alarm info", "Unknown alarm event 0."},
    {"alarm 9", 8, {9}, "Alarm info", "Unknown alarm event 9."},
    {"alarm 255", 8, {255}, "Alarm info", "Unknown alarm event 255."},

    {"software reset", 9, {0x22, 3}, "ACK/Reset info", "QAVO softeware fault reset."},
    {"console reset names byte 9",
     9,
     {0x21, 4},
     "ACK/Reset info",
     "Fire paging 04 reset manually."},
    {"panel reset", 9, {0, 4}, "ACK/Reset info", "Host panel fault reset."},
    {"panel reset, other byte", 9, {0x20}, "ACK/Reset info", "Host panel fault reset."},

    {"kind 0", 0, {1, 1, 1}, "System test", "System into test mode."},
    {"kind 10", 10, {}, "System test", "System into test mode."},
    {"kind 255", 255, {}, "System test", "System into test mode."},
};

TEST(LogEvents, EveryKindHasItsTexts) {
    const HostConfig config = TestHostConfig();
    for (const TextCase& c : kTextCases) {
        const LogRow row = DecodeLogRecord(MakeRecord(c.kind, c.data), 0, config);
        EXPECT_EQ(row.event_type, c.type) << c.what;
        EXPECT_EQ(row.event_context, c.context) << c.what;
    }
}

TEST(LogEvents, OrderAndCalendarComeFromPositionAndDate) {
    Record r = MakeRecord(6, {1, 1});
    r[2] = 7;  // 2007-12-31 23:59:05
    r[3] = 12;
    r[4] = 31;
    r[5] = 23;
    r[6] = 59;
    r[7] = 5;
    const LogRow row = DecodeLogRecord(r, 41, TestHostConfig());
    EXPECT_EQ(row, (LogRow{"42", "2007-12-31,23:59:05", "Host online", "Host 01 online."}));
}

// A log area with `count` in its count field and records that differ in
// every entry: kind 6, host number and second from the position.
std::vector<uint8_t> LogArea(unsigned count) {
    std::vector<uint8_t> area(kHostLogSize, 0);
    area[0] = static_cast<uint8_t>(count);
    area[1] = static_cast<uint8_t>(count >> 8);
    for (size_t i = 0; i < kHostLogMaxRecords; ++i) {
        uint8_t* r = area.data() + kHostLogHeaderSize + i * kHostLogRecordSize;
        r[0] = 6;
        r[2] = 24;
        r[3] = 1;
        r[4] = 2;
        r[7] = static_cast<uint8_t>(i % 60);
        r[8] = static_cast<uint8_t>(i % 100);
        r[9] = 1;
    }
    return area;
}

TEST(LogEvents, TheWholeAreaGivesAtMost5000Rows) {
    const struct {
        unsigned count;
        size_t rows;
    } cases[] = {{0, 0}, {1, 1}, {4999, 4999}, {5000, 5000}, {5001, 5000}, {65535, 5000}};
    for (const auto& c : cases) {
        const std::vector<LogRow> rows = DecodeHostLog(LogArea(c.count), TestHostConfig());
        ASSERT_EQ(rows.size(), c.rows) << c.count;
        if (rows.empty()) continue;
        const size_t last = c.rows - 1;
        char calendar[24];
        std::snprintf(calendar, sizeof calendar, "2024-01-02,00:00:%.2zu", last % 60);
        char context[24];
        std::snprintf(context, sizeof context, "Host %.2zu online.", last % 100);
        EXPECT_EQ(rows.back(), (LogRow{std::to_string(c.rows), calendar, "Host online", context}))
            << c.count;
        EXPECT_EQ(rows.front().order, "1");
    }
}

TEST(LogEvents, AShortAreaIsReadOnlyToItsEnd) {
    std::vector<uint8_t> area = LogArea(5000);
    area.resize(kHostLogHeaderSize + 3 * kHostLogRecordSize + 13);
    EXPECT_EQ(DecodeHostLog(area, TestHostConfig()).size(), 3u);
    area.resize(3);
    EXPECT_TRUE(DecodeHostLog(area, TestHostConfig()).empty());
}

std::chrono::year_month_day Ymd(int y, unsigned m, unsigned d) {
    return {std::chrono::year(y), std::chrono::month(m), std::chrono::day(d)};
}

TEST(LogEvents, TheTypeListAndTheDatesMakeTheFilter) {
    using std::nullopt;
    const auto may_first = Ymd(2024, 5, 1);
    const struct {
        int index;
        bool filter_on;
        std::chrono::year_month_day start, end;
        std::optional<std::string> type;
        std::optional<std::string> from, to;
    } cases[] = {
        {0, false, may_first, may_first, nullopt, nullopt, nullopt},
        {1, false, may_first, may_first, "Equipment power status", nullopt, nullopt},
        {7, false, may_first, may_first, "Equipment power status", nullopt, nullopt},
        {2, false, may_first, may_first, "Emergency MIC(PTT)", nullopt, nullopt},
        {3, false, may_first, may_first, "Alarm info", nullopt, nullopt},
        {4, false, may_first, may_first, "QAVO message", nullopt, nullopt},
        {5, false, may_first, may_first, "Amplifier status", nullopt, nullopt},
        {6, false, may_first, may_first, "Speaker partition bus status", nullopt, nullopt},
        {8, false, may_first, may_first, "Host online", nullopt, nullopt},
        {9, false, may_first, may_first, "Paing", nullopt, nullopt},
        {10, false, may_first, may_first, "ACK/Reset info", nullopt, nullopt},
        {11, false, may_first, may_first, "System test", nullopt, nullopt},
        {-1, false, may_first, may_first, nullopt, nullopt, nullopt},
        {12, true, may_first, may_first, nullopt, "2024-05-01,00:00:00", "2024-05-01,23:59:59"},
        {0, true, may_first, may_first, nullopt, "2024-05-01,00:00:00", "2024-05-01,23:59:59"},
        {9, true, Ymd(2024, 12, 31), Ymd(2025, 1, 2), "Paing", "2024-12-31,00:00:00",
         "2025-01-02,23:59:59"},
        {1, true, Ymd(2099, 2, 3), Ymd(2000, 10, 9), "Equipment power status",
         "2099-02-03,00:00:00", "2000-10-09,23:59:59"},
    };
    for (const auto& c : cases) {
        const LogFilter f = LogFilterFor(c.index, c.filter_on, c.start, c.end);
        EXPECT_EQ(f.event_type, c.type) << c.index;
        EXPECT_EQ(f.calendar.has_value(), c.from.has_value()) << c.index;
        if (f.calendar && c.from) {
            EXPECT_EQ(f.calendar->from, *c.from) << c.index;
            EXPECT_EQ(f.calendar->to, *c.to) << c.index;
        }
    }
}

TEST(LogEvents, EveryStoredTypeCanBeChosen) {
    std::set<std::string> selectable;
    for (int i = 1; i < static_cast<int>(kLogTypeList.size()); ++i) {
        const LogFilter f = LogFilterFor(i, false, Ymd(2024, 1, 1), Ymd(2024, 1, 1));
        ASSERT_TRUE(f.event_type) << i;
        selectable.insert(*f.event_type);
    }
    for (int kind = 0; kind <= 10; ++kind) {
        const LogRow row = DecodeLogRecord(MakeRecord(static_cast<uint8_t>(kind), {}), 0, {});
        EXPECT_TRUE(selectable.count(row.event_type)) << row.event_type;
    }
}

}  // namespace
}  // namespace qavo
