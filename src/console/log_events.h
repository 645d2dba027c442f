#pragma once

#include <array>
#include <chrono>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string_view>
#include <vector>

#include "model/live_status.h"
#include "model/param_image.h"
#include "persistence/log_table.h"

namespace qavo {

// The fitted equipment of every host as the live status reports it; the
// power records read the DC supply's fitted bit from it.
using HostConfig = std::array<uint8_t, kMaxHosts>;

// One 14-byte record of the host's event log, at position `index` (from 0),
// as a line of the table `log`.
LogRow DecodeLogRecord(std::span<const uint8_t, kHostLogRecordSize> record, size_t index,
                       const HostConfig& host_config);

// Every record of the host log area: as many as its count says, never more
// than 5000 and never past the end of `host_log`.
std::vector<LogRow> DecodeHostLog(std::span<const uint8_t> host_log, const HostConfig& host_config);

// The entries of the log type list, in the order shown; entry 0 ("All")
// selects every type.
inline constexpr std::array<std::string_view, 12> kLogTypeList = {
    "All",
    "Equipment power status",
    "Emergency MIC(PTT)",
    "Alarm info",
    "QAVO message",
    "Amplifier status",
    "Speaker partition bus status",
    "Equipment power status",
    "Host online",
    "Fire paing",
    "ACK/Reset info",
    "System test",
};

// The rows that the log view shows for log type entry `type_index` and the
// date filter: with the filter on, whole days from `start` to `end`. An
// index outside the list selects every type, like "All".
LogFilter LogFilterFor(int type_index, bool filter_on, std::chrono::year_month_day start,
                       std::chrono::year_month_day end);

}  // namespace qavo
