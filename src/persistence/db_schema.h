#pragma once

#include <span>
#include <string_view>

namespace qavo {

// The console's own database file, in the working directory.
inline constexpr const char* kDatabaseFileName = "qavo900.db";

// Outcome of a table operation.
enum class DbStatus {
    kOk,
    // The table could not be opened (no connection, no such table, the
    // select failed). Callers treat this as an empty table unless they say
    // otherwise; it is never reported by the layer itself.
    kOpenFailed,
    // The database reported an error after the table was opened (a missing
    // column, a refused write, a failed commit). Each caller shows its own
    // message for it.
    kError,
};

// The four tables of the file. Every column holds text.
enum class Table { kNetwork, kUserAdmin, kAutoTiming, kLog };

struct TableSchema {
    std::string_view name;
    std::span<const std::string_view> columns;  // in the order they are created and written
    std::string_view select_all;                // the unfiltered select the console uses
    std::string_view insert;                    // one row, every column, in `columns` order
    std::string_view create;                    // creates the table when it is missing
};

const TableSchema& SchemaOf(Table table);

// The unfiltered selects (two blanks after "from", as the console has always
// written them). An unfiltered select returns rows in insertion order.
inline constexpr std::string_view kSelectNetwork = "select * from  network";
inline constexpr std::string_view kSelectUserAdmin = "select * from  user_admin";
inline constexpr std::string_view kSelectAutoTiming = "select * from  auto_timing";
inline constexpr std::string_view kSelectLog = "select * from  log";

// The filters of the log view. Values are bound, never pasted into the text;
// `calendar` is compared as text, which its fixed-width form
// "20yy-mm-dd,hh:mm:ss" turns into a date comparison.
inline constexpr std::string_view kSelectLogByTypeAndCalendar =
    "select * from log where event_type = ? and  calendar >= ? and calendar <= ?";
inline constexpr std::string_view kSelectLogByCalendar =
    "select * from log where calendar >= ? and calendar <= ?";
inline constexpr std::string_view kSelectLogByType = "select * from log where event_type = ?";

}  // namespace qavo
