#pragma once

#include <cstddef>
#include <functional>
#include <initializer_list>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "persistence/console_database.h"
#include "persistence/db_schema.h"

namespace qavo {

// The three ways the console uses a table (read the first row, update the
// first row, replace all rows), plus appending and clearing. The first row
// is the row that the table's unfiltered select delivers first, the oldest.
// Each operation opens the table with OpenTable first and gives kOpenFailed
// when that fails; any later error gives kError.

struct FirstRow {
    DbStatus status = DbStatus::kOpenFailed;
    bool has_row = false;
    // The columns asked for, in the order asked. With kError: those read
    // before the column that failed.
    std::vector<std::string> values;
};

FirstRow ReadFirstRow(ConsoleDatabase& db, Table table,
                      std::initializer_list<std::string_view> columns);

struct ColumnValue {
    std::string_view column;
    std::string_view value;
};

// Writes `values` into the first row. An empty table, or a column that the
// table does not have, is an error.
DbStatus UpdateFirstRow(ConsoleDatabase& db, Table table,
                        std::initializer_list<ColumnValue> values);

// Appends one row; `row` holds every column in the table's column order.
DbStatus AppendRow(ConsoleDatabase& db, Table table, std::span<const std::string_view> row);
inline DbStatus AppendRow(ConsoleDatabase& db, Table table,
                          std::initializer_list<std::string_view> row) {
    return AppendRow(db, table, std::span<const std::string_view>(row.begin(), row.size()));
}

// Writes the values of row `index` into `out`, one per column in the table's
// column order. The texts must stay alive until the next call.
using RowFiller = std::function<void(std::size_t index, std::span<std::string_view> out)>;

// Deletes every row and appends `row_count` rows, in one transaction: when
// anything fails (or the process dies) on the way, the table keeps its old
// rows.
DbStatus ReplaceAll(ConsoleDatabase& db, Table table, std::size_t row_count, const RowFiller& fill);
// The same with rows given whole; a row of the wrong width is an error and
// nothing is changed.
DbStatus ReplaceAll(ConsoleDatabase& db, Table table,
                    std::span<const std::vector<std::string>> rows);

DbStatus DeleteAll(ConsoleDatabase& db, Table table);

}  // namespace qavo
