#include "persistence/table_access.h"

#include <algorithm>
#include <array>

namespace qavo {
namespace {

// The most columns any table has.
constexpr size_t kMaxColumns = 6;

// One write transaction; rolled back unless committed.
class Transaction {
  public:
    explicit Transaction(ConsoleDatabase& db) : db_(db), active_(db.Execute("begin immediate")) {}
    ~Transaction() {
        if (active_) db_.Execute("rollback");
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    bool active() const { return active_; }
    bool Commit() {
        if (!active_ || !db_.Execute("commit")) return false;
        active_ = false;
        return true;
    }

  private:
    ConsoleDatabase& db_;
    bool active_;
};

// Whether the table can be opened at all, as every access pattern checks
// first. The record set is closed again at once.
bool CanOpen(ConsoleDatabase& db, Table table) {
    return db.OpenTable(SchemaOf(table).select_all).IsOpen();
}

bool IsColumnOf(const TableSchema& schema, std::string_view column) {
    return std::find(schema.columns.begin(), schema.columns.end(), column) != schema.columns.end();
}

// Runs the prepared insert for one row of borrowed texts.
bool InsertRow(Statement& insert, std::span<const std::string_view> row) {
    bool ok = insert.BindTexts(row, Statement::Binding::kBorrow) &&
              insert.Step() == Statement::StepResult::kDone;
    insert.Reset();
    return ok;
}

}  // namespace

FirstRow ReadFirstRow(ConsoleDatabase& db, Table table,
                      std::initializer_list<std::string_view> columns) {
    FirstRow result;
    RecordSet records = db.OpenTable(SchemaOf(table).select_all);
    if (!records.IsOpen()) return result;
    result.status = DbStatus::kOk;
    if (records.AtEnd()) return result;
    result.has_row = true;
    for (std::string_view column : columns) {
        std::optional<std::string> value = records.Text(column);
        if (!value) {
            result.status = DbStatus::kError;
            break;
        }
        result.values.push_back(std::move(*value));
    }
    return result;
}

DbStatus UpdateFirstRow(ConsoleDatabase& db, Table table,
                        std::initializer_list<ColumnValue> values) {
    const TableSchema& schema = SchemaOf(table);
    {
        RecordSet records = db.OpenTable(schema.select_all);
        if (!records.IsOpen()) return DbStatus::kOpenFailed;
        if (records.AtEnd()) return DbStatus::kError;  // no row to write into
    }
    if (values.size() == 0) return DbStatus::kOk;
    // Only the table's own column names reach the SQL text; the values are
    // bound.
    std::string sql = "update " + std::string(schema.name) + " set ";
    std::vector<std::string_view> bound;
    for (const ColumnValue& value : values) {
        if (!IsColumnOf(schema, value.column)) return DbStatus::kError;
        if (!bound.empty()) sql += ", ";
        sql += '"' + std::string(value.column) + "\" = ?";
        bound.push_back(value.value);
    }
    sql += " where rowid = (select min(rowid) from " + std::string(schema.name) + ")";
    Statement update = db.Prepare(sql);
    if (!update.valid() || !update.BindTexts(bound, Statement::Binding::kBorrow) ||
        update.Step() != Statement::StepResult::kDone || db.ChangedRows() != 1) {
        return DbStatus::kError;
    }
    return DbStatus::kOk;
}

DbStatus AppendRow(ConsoleDatabase& db, Table table, std::span<const std::string_view> row) {
    const TableSchema& schema = SchemaOf(table);
    if (!CanOpen(db, table)) return DbStatus::kOpenFailed;
    if (row.size() != schema.columns.size()) return DbStatus::kError;
    Statement insert = db.Prepare(schema.insert);
    return InsertRow(insert, row) ? DbStatus::kOk : DbStatus::kError;
}

DbStatus ReplaceAll(ConsoleDatabase& db, Table table, std::size_t row_count,
                    const RowFiller& fill) {
    const TableSchema& schema = SchemaOf(table);
    if (!CanOpen(db, table)) return DbStatus::kOpenFailed;
    if (schema.columns.size() > kMaxColumns) return DbStatus::kError;
    Statement insert = db.Prepare(schema.insert);
    if (!insert.valid()) return DbStatus::kError;
    Transaction transaction(db);
    if (!transaction.active()) return DbStatus::kError;
    if (!db.Execute("delete from " + std::string(schema.name))) return DbStatus::kError;
    std::array<std::string_view, kMaxColumns> buffer{};
    std::span<std::string_view> row(buffer.data(), schema.columns.size());
    for (std::size_t i = 0; i < row_count; ++i) {
        std::fill(row.begin(), row.end(), std::string_view());
        fill(i, row);
        if (!InsertRow(insert, row)) return DbStatus::kError;
    }
    insert.Finalize();
    return transaction.Commit() ? DbStatus::kOk : DbStatus::kError;
}

DbStatus ReplaceAll(ConsoleDatabase& db, Table table,
                    std::span<const std::vector<std::string>> rows) {
    const size_t width = SchemaOf(table).columns.size();
    for (const std::vector<std::string>& row : rows) {
        if (row.size() != width)
            return CanOpen(db, table) ? DbStatus::kError : DbStatus::kOpenFailed;
    }
    return ReplaceAll(db, table, rows.size(),
                      [&](std::size_t index, std::span<std::string_view> out) {
                          std::copy(rows[index].begin(), rows[index].end(), out.begin());
                      });
}

DbStatus DeleteAll(ConsoleDatabase& db, Table table) {
    if (!CanOpen(db, table)) return DbStatus::kOpenFailed;
    return db.Execute("delete from " + std::string(SchemaOf(table).name)) ? DbStatus::kOk
                                                                          : DbStatus::kError;
}

}  // namespace qavo
