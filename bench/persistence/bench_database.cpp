// Replacing and reading back the event log table: the database layer next to
// hand-written SQLite (one transaction, one prepared insert, one prepared
// select) on the same rows, in the same run. Prints medians; never fails on
// time.
#include <sqlite3.h>
#include <stdlib.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

#include "../bench_stats.h"
#include "persistence/console_database.h"
#include "persistence/log_table.h"
#include "platform/prompter.h"

namespace {

using qavo::bench::Median;
using qavo::bench::Millis;
using qavo::bench::SilentPrompter;

using Clock = std::chrono::steady_clock;

constexpr int kRows = 5000;
constexpr int kRounds = 9;

std::vector<qavo::LogRow> MakeRows() {
    std::vector<qavo::LogRow> rows;
    rows.reserve(kRows);
    for (int i = 0; i < kRows; ++i) {
        char calendar[32];
        std::snprintf(calendar, sizeof calendar, "20%.2d-%.2d-%.2d,%.2d:%.2d:%.2d", 24, 1 + i % 12,
                      1 + i % 28, i % 24, i % 60, (i * 7) % 60);
        char context[64];
        std::snprintf(context, sizeof context, "Host %.2d zone %.2d line A open circuit.",
                      1 + i % 20, 1 + i % 8);
        rows.push_back(
            {std::to_string(i + 1), calendar, i % 3 ? "Amplifier status" : "Host online", context});
    }
    return rows;
}

struct Times {
    double write_ms;
    double read_ms;
};

Times ThroughLayer(qavo::ConsoleDatabase& db, const std::vector<qavo::LogRow>& rows) {
    auto start = Clock::now();
    if (qavo::ReplaceLog(db, rows) != qavo::DbStatus::kOk) std::fprintf(stderr, "replace failed\n");
    auto written = Clock::now();
    qavo::LogRows back = qavo::LoadLog(db);
    auto read = Clock::now();
    if (back.rows.size() != rows.size())
        std::fprintf(stderr, "layer read %zu rows\n", back.rows.size());
    return {Millis(written - start), Millis(read - written)};
}

bool Exec(sqlite3* db, const char* sql) {
    return sqlite3_exec(db, sql, nullptr, nullptr, nullptr) == SQLITE_OK;
}

Times Raw(sqlite3* db, const std::vector<qavo::LogRow>& rows) {
    auto start = Clock::now();
    sqlite3_stmt* insert = nullptr;
    sqlite3_prepare_v2(db,
                       "insert into log (\"order\", calendar, event_type, event_context) "
                       "values (?, ?, ?, ?)",
                       -1, &insert, nullptr);
    bool ok = Exec(db, "begin immediate") && Exec(db, "delete from log");
    for (const qavo::LogRow& row : rows) {
        sqlite3_bind_text(insert, 1, row.order.data(), static_cast<int>(row.order.size()),
                          SQLITE_STATIC);
        sqlite3_bind_text(insert, 2, row.calendar.data(), static_cast<int>(row.calendar.size()),
                          SQLITE_STATIC);
        sqlite3_bind_text(insert, 3, row.event_type.data(), static_cast<int>(row.event_type.size()),
                          SQLITE_STATIC);
        sqlite3_bind_text(insert, 4, row.event_context.data(),
                          static_cast<int>(row.event_context.size()), SQLITE_STATIC);
        ok = ok && sqlite3_step(insert) == SQLITE_DONE;
        sqlite3_reset(insert);
    }
    sqlite3_finalize(insert);
    ok = ok && Exec(db, "commit");
    if (!ok) std::fprintf(stderr, "raw insert failed: %s\n", sqlite3_errmsg(db));
    auto written = Clock::now();

    std::vector<qavo::LogRow> back;
    sqlite3_stmt* select = nullptr;
    sqlite3_prepare_v2(db, "select * from  log", -1, &select, nullptr);
    auto text = [select](int column) {
        const unsigned char* value = sqlite3_column_text(select, column);
        return std::string(value ? reinterpret_cast<const char*>(value) : "",
                           static_cast<size_t>(sqlite3_column_bytes(select, column)));
    };
    while (sqlite3_step(select) == SQLITE_ROW) {
        back.push_back({text(0), text(1), text(2), text(3)});
    }
    sqlite3_finalize(select);
    auto read = Clock::now();
    if (back.size() != rows.size()) std::fprintf(stderr, "raw read %zu rows\n", back.size());
    return {Millis(written - start), Millis(read - written)};
}

}  // namespace

int main() {
    const auto made = qavo::bench::MakeTempDir("qavo-bench-db");
    if (!made) return 1;
    const std::filesystem::path dir = *made;
    const std::vector<qavo::LogRow> rows = MakeRows();

    SilentPrompter prompter;
    qavo::ConsoleDatabase layer_db;
    layer_db.OpenDatabase(prompter, (dir / "layer.db").string());
    // The same schema, created by the layer, then used by hand.
    {
        qavo::ConsoleDatabase creator;
        creator.OpenDatabase(prompter, (dir / "raw.db").string());
    }
    sqlite3* raw_db = nullptr;
    sqlite3_open((dir / "raw.db").c_str(), &raw_db);

    std::vector<double> layer_write, layer_read, layer_total, raw_write, raw_read, raw_total;
    ThroughLayer(layer_db, rows);  // warm-up, both sides
    Raw(raw_db, rows);
    for (int round = 0; round < kRounds; ++round) {
        Times layer = ThroughLayer(layer_db, rows);
        Times raw = Raw(raw_db, rows);
        layer_write.push_back(layer.write_ms);
        layer_read.push_back(layer.read_ms);
        layer_total.push_back(layer.write_ms + layer.read_ms);
        raw_write.push_back(raw.write_ms);
        raw_read.push_back(raw.read_ms);
        raw_total.push_back(raw.write_ms + raw.read_ms);
    }
    sqlite3_close(raw_db);
    layer_db.Close();
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);

    std::printf("log table, %d rows, median of %d rounds (ms)\n", kRows, kRounds);
    std::printf("%-14s %10s %10s %10s\n", "", "replace", "read back", "total");
    std::printf("%-14s %10.2f %10.2f %10.2f\n", "layer", Median(layer_write), Median(layer_read),
                Median(layer_total));
    std::printf("%-14s %10.2f %10.2f %10.2f\n", "raw sqlite", Median(raw_write), Median(raw_read),
                Median(raw_total));
    std::printf("%-14s %10.2f %10.2f %10.2f   (target: total at most 1.50)\n", "ratio",
                Median(layer_write) / Median(raw_write), Median(layer_read) / Median(raw_read),
                Median(layer_total) / Median(raw_total));
    return 0;
}
