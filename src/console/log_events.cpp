#include "console/log_events.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <string>

#include "platform/text_format.h"

namespace qavo {
namespace {

unsigned Le16(uint8_t low, uint8_t high) {
    return low | (unsigned{high} << 8);
}

// Bytes 8 to 13 of a record: the event's data.
struct EventData {
    uint8_t b8, b9, b10, b11, b12, b13;
};

std::string EmergencyMic(const EventData& e) {
    const char* state = e.b8 == 1   ? "fault"
                        : e.b8 == 4 ? "to stop paging."
                        : e.b8 == 3 ? "start paging."
                                    : "return to normal.";
    return std::string("Emergency MIC ") + state;
}

std::string QavoMessage(const EventData& e) {
    if (e.b8 == 0) return "online,QAVO message = 0, Alart message = 0;";
    return Format("online, QAVO message = %.3u, Alert message = %.3u;", Le16(e.b10, e.b11),
                  Le16(e.b12, e.b13));
}

std::string Amplifier(const EventData& e) {
    return Format("Host %.2d main amplifier ", e.b8) + ((e.b9 & 0x08) ? "normal," : "fault,") +
           ((e.b9 & 0x10) ? "spare amplifier normal." : "spare amplifier fault.");
}

// Line A in bits 0-1 of a zone's nibble, line B in bits 2-3.
const char* LineText(unsigned value, bool line_b) {
    switch (value) {
        case 2:
            return line_b ? "B-Open." : "A-Open,";
        case 1:
            return line_b ? "B-Short." : "A-Short,";
        default:
            return line_b ? "B-Normal." : "A-Normal,";
    }
}

std::string SpeakerZones(const EventData& e) {
    const uint8_t bytes[4] = {e.b9, e.b10, e.b11, e.b12};
    std::string text = Format("Host %.2d speaker zone state changed:", e.b8);
    for (unsigned z = 1; z <= 8; ++z) {
        const uint8_t byte = bytes[(z - 1) / 2];
        const unsigned nibble = (z % 2 == 1) ? (byte & 0x0F) : (byte >> 4);
        if (z > 1) text += " | ";
        text += Format("Zone %.2u: ", z);
        text += LineText(nibble & 0x03, false);
        text += LineText((nibble >> 2) & 0x03, true);
    }
    return text;
}

std::string Power(const EventData& e, const HostConfig& host_config) {
    std::string text =
        Format("Host %.2d AC power ", e.b8) + ((e.b9 & 0x01) ? "normal," : "fault,") + "DC power ";
    if (e.b8 < 1 || e.b8 > kMaxHosts) return text + "unknown (no such host).";
    const unsigned host = e.b8 - 1u;
    if (!DcSupplyFitted(host_config[host], host)) return text + "not configuration.";
    return text + ((e.b9 & 0x02) ? "normal." : "fault.");
}

std::string HostOnline(const EventData& e) {
    return Format("Host %.2d ", e.b8) + (e.b9 == 1 ? "online." : "offline.");
}

std::string Paging(const EventData& e) {
    const unsigned kind = e.b9 >> 6;
    const char* name = kind == 1   ? "Fire paging %.2d "
                       : kind == 0 ? "Remote paging %.2d "
                                   : "Touch paging %.2d ";
    return Format(name, e.b8) + ((e.b9 & 0x0F) == 1 ? "online." : "offline.");
}

std::string ContactAlarm(const EventData& e) {
    std::string text = Format("Host %.2d contact ", e.b9);
    bool first = true;
    for (unsigned j = 0; j < 8; ++j) {
        if (!(e.b10 & (1u << j))) continue;
        text += Format(first ? "%.2u" : " | %.2u", j + 1);
        first = false;
    }
    return text + " diagnostic to the fire.";
}

std::string Alarm(const EventData& e) {
    switch (e.b8) {
        case 1:
            return "Host a manual into fire mode.";
        case 2:
            return "The host fire reset manually.";
        case 3:
        case 4:
            return ContactAlarm(e);
        case 5:
            return "Host CIE reset fire.";
        case 6:
            return Format("The paging %.2d a manually into fire mode.", e.b9);
        case 7:
            return Format("The paging %.2d fire reset manually.", e.b9);
        case 8:
            return Format("The host %.2d contact releases fire.", e.b9);
        default:
            return Format("Unknown alarm event %d.", e.b8);
    }
}

std::string AckReset(const EventData& e) {
    if (e.b8 == 0x22) return "QAVO softeware fault reset.";
    // The console that reset the fire alarm is named by byte 9.
    if (e.b8 == 0x21) return Format("Fire paging %.2d reset manually.", e.b9);
    return "Host panel fault reset.";
}

}  // namespace

LogRow DecodeLogRecord(std::span<const uint8_t, kHostLogRecordSize> r, size_t index,
                       const HostConfig& host_config) {
    LogRow row;
    row.order = std::to_string(index + 1);
    row.calendar = Format("20%.2d-%.2d-%.2d,%.2d:%.2d:%.2d", r[2], r[3], r[4], r[5], r[6], r[7]);
    const EventData e{r[8], r[9], r[10], r[11], r[12], r[13]};
    switch (r[0]) {
        case 1:
            row.event_type = "Emergency MIC(PTT)";
            row.event_context = EmergencyMic(e);
            break;
        case 2:
            row.event_type = "QAVO message";
            row.event_context = QavoMessage(e);
            break;
        case 3:
            row.event_type = "Amplifier status";
            row.event_context = Amplifier(e);
            break;
        case 4:
            row.event_type = "Speaker partition bus status";
            row.event_context = SpeakerZones(e);
            break;
        case 5:
            row.event_type = "Equipment power status";
            row.event_context = Power(e, host_config);
            break;
        case 6:
            row.event_type = "Host online";
            row.event_context = HostOnline(e);
            break;
        case 7:
            row.event_type = "Paing";
            row.event_context = Paging(e);
            break;
        case 8:
            row.event_type = "Alarm info";
            row.event_context = Alarm(e);
            break;
        case 9:
            row.event_type = "ACK/Reset info";
            row.event_context = AckReset(e);
            break;
        default:
            row.event_type = "System test";
            row.event_context = "System into test mode.";
            break;
    }
    return row;
}

std::vector<LogRow> DecodeHostLog(std::span<const uint8_t> host_log,
                                  const HostConfig& host_config) {
    if (host_log.size() < kHostLogHeaderSize) return {};
    const size_t room = (host_log.size() - kHostLogHeaderSize) / kHostLogRecordSize;
    const size_t count =
        std::min({size_t{Le16(host_log[0], host_log[1])}, kHostLogMaxRecords, room});
    std::vector<LogRow> rows;
    rows.reserve(count);
    for (size_t i = 0; i < count; ++i) {
        const auto record = host_log.subspan(kHostLogHeaderSize + i * kHostLogRecordSize)
                                .first<kHostLogRecordSize>();
        rows.push_back(DecodeLogRecord(record, i, host_config));
    }
    return rows;
}

LogFilter LogFilterFor(int type_index, bool filter_on, std::chrono::year_month_day start,
                       std::chrono::year_month_day end) {
    LogFilter filter;
    if (type_index > 0 && type_index < static_cast<int>(kLogTypeList.size())) {
        // The paging consoles' records are stored under the type "Paing".
        const std::string_view type = kLogTypeList[static_cast<size_t>(type_index)];
        filter.event_type = std::string(type == "Fire paing" ? "Paing" : type);
    }
    if (filter_on) {
        auto day = [](std::chrono::year_month_day d, const char* time) {
            return Format("%.4d-%.2u-%.2u,%s", static_cast<int>(d.year()),
                          static_cast<unsigned>(d.month()), static_cast<unsigned>(d.day()), time);
        };
        filter.calendar = CalendarRange{day(start, "00:00:00"), day(end, "23:59:59")};
    }
    return filter;
}

}  // namespace qavo
