#pragma once

#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "persistence/console_database.h"
#include "persistence/db_schema.h"

namespace qavo {

// One row of the table `log`: one entry of the host's event log as text.
struct LogRow {
    std::string order;     // position in the host's log, decimal from 1
    std::string calendar;  // "20yy-mm-dd,hh:mm:ss"
    std::string event_type;
    std::string event_context;
    friend bool operator==(const LogRow&, const LogRow&) = default;
};

// Rows whose `calendar` text lies between `from` and `to`, both included.
struct CalendarRange {
    std::string from;  // for a whole day: "yyyy-mm-dd,00:00:00"
    std::string to;    // "yyyy-mm-dd,23:59:59"
};

struct LogFilter {
    std::optional<std::string> event_type;  // only this type
    std::optional<CalendarRange> calendar;  // only this range
};

// The select that `filter` needs.
std::string_view LogQueryText(const LogFilter& filter);

struct LogRows {
    DbStatus status = DbStatus::kOpenFailed;
    // In the order the table returns them (insertion order). With kError:
    // the rows read before the error.
    std::vector<LogRow> rows;
};

LogRows LoadLog(ConsoleDatabase& db, const LogFilter& filter = {});

// Replaces the whole table by `rows`, in one transaction.
DbStatus ReplaceLog(ConsoleDatabase& db, std::span<const LogRow> rows);

DbStatus ClearLog(ConsoleDatabase& db);

}  // namespace qavo
