// Exporting the event log to a workbook: the export layer (temporary file,
// checked calls, flush to disk and rename) next to a bare libxlsxwriter
// write of the same cells to the same directory, in the same run. Prints
// medians and their ratio; never fails on time.
#include <stdlib.h>
#include <xlsxwriter.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "../bench_stats.h"
#include "persistence/log_export.h"

namespace {

using qavo::bench::Median;
using qavo::bench::Millis;

using Clock = std::chrono::steady_clock;

constexpr int kRows = 5000;
constexpr int kRounds = 9;

std::vector<qavo::LogRow> MakeRows() {
    const char* types[] = {"Host online", "Amplifier status", "Line fault", "Emergency mode"};
    std::vector<qavo::LogRow> rows;
    rows.reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
        char calendar[32];
        std::snprintf(calendar, sizeof calendar, "20%.2d-%.2d-%.2d,%.2d:%.2d:%.2d", 24, 1 + i % 12,
                      1 + i % 28, i % 24, i % 60, (i * 7) % 60);
        char context[96];
        std::snprintf(context, sizeof context,
                      "Host %.2d zone %.2d line %c open circuit, event %d.", 1 + i % 20, 1 + i % 8,
                      i % 2 ? 'B' : 'A', i);
        rows.push_back({std::to_string(i + 1), calendar, types[i % 4], context});
    }
    return rows;
}

double ThroughLayer(const std::string& path, const std::vector<qavo::LogRow>& rows) {
    const auto start = Clock::now();
    const qavo::FileResult r = qavo::ExportLogWorkbook(path, rows);
    const auto end = Clock::now();
    if (!r.ok) std::fprintf(stderr, "layer: %s\n", r.error.c_str());
    return Millis(end - start);
}

// The same workbook, straight to its name, no checks, no flush.
double Raw(const std::string& path, const std::vector<qavo::LogRow>& rows) {
    const auto start = Clock::now();
    lxw_workbook* workbook = workbook_new(path.c_str());
    lxw_worksheet* sheet = workbook_add_worksheet(workbook, "QAVO system log");
    const double widths[] = {5, 20, 25, 100};
    const char* headers[] = {"ID", "CALENDAR", "LOG TYPE", "DETAILED"};
    for (lxw_col_t c = 0; c < 4; ++c) {
        worksheet_set_column(sheet, c, c, widths[c], nullptr);
        worksheet_write_string(sheet, 0, c, headers[c], nullptr);
    }
    worksheet_freeze_panes(sheet, 1, 0);
    lxw_row_t r = 1;
    for (const qavo::LogRow& row : rows) {
        worksheet_write_string(sheet, r, 0, row.order.c_str(), nullptr);
        worksheet_write_string(sheet, r, 1, row.calendar.c_str(), nullptr);
        worksheet_write_string(sheet, r, 2, row.event_type.c_str(), nullptr);
        worksheet_write_string(sheet, r, 3, row.event_context.c_str(), nullptr);
        ++r;
    }
    const lxw_error e = workbook_close(workbook);
    const auto end = Clock::now();
    if (e != LXW_NO_ERROR) std::fprintf(stderr, "raw: %s\n", lxw_strerror(e));
    return Millis(end - start);
}

}  // namespace

int main() {
    const auto made = qavo::bench::MakeTempDir("qavo-bench-xlsx");
    if (!made) return 1;
    const std::filesystem::path dir = *made;
    const std::string layer_file = (dir / "layer.xlsx").string();
    const std::string raw_file = (dir / "raw.xlsx").string();
    const std::vector<qavo::LogRow> rows = MakeRows();

    ThroughLayer(layer_file, rows);  // warm-up, both sides
    Raw(raw_file, rows);
    std::vector<double> layer, raw;
    for (int round = 0; round < kRounds; ++round) {
        layer.push_back(ThroughLayer(layer_file, rows));
        raw.push_back(Raw(raw_file, rows));
    }
    std::error_code ignored;
    const auto layer_size = std::filesystem::file_size(layer_file, ignored);
    const auto raw_size = std::filesystem::file_size(raw_file, ignored);
    std::filesystem::remove_all(dir, ignored);

    std::printf("log export, %d rows, median of %d rounds (ms)\n", kRows, kRounds);
    std::printf("%-18s %10.2f   (%ju bytes)\n", "layer", Median(layer),
                static_cast<uintmax_t>(layer_size));
    std::printf("%-18s %10.2f   (%ju bytes)\n", "raw libxlsxwriter", Median(raw),
                static_cast<uintmax_t>(raw_size));
    std::printf("%-18s %10.2f   (target: at most 1.50)\n", "ratio", Median(layer) / Median(raw));
    return 0;
}
