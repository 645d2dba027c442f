#pragma once

#include <array>
#include <span>
#include <string>
#include <string_view>

#include "persistence/file_replace.h"
#include "persistence/log_table.h"

namespace qavo {

// The workbook of the exported event log: one worksheet, a frozen header
// row, then one row per row of the table `log`, every cell as text.
inline constexpr std::string_view kLogSheetName = "QAVO system log";

struct LogColumn {
    std::string_view header;
    double width;  // in the spreadsheet's character units
};
inline constexpr std::array<LogColumn, 4> kLogColumns = {{
    {"ID", 5},
    {"CALENDAR", 20},
    {"LOG TYPE", 25},
    {"DETAILED", 100},
}};

// Writes the workbook for `rows` under `path`. An existing file is replaced
// only by a complete new workbook; on any failure it stays as it was, no
// temporary file is left behind and the error says what went wrong.
FileResult ExportLogWorkbook(const std::string& path, std::span<const LogRow> rows);

}  // namespace qavo
