#pragma once

#include <initializer_list>
#include <span>
#include <string>
#include <string_view>

#include "persistence/db_schema.h"
#include "persistence/record_set.h"
#include "persistence/statement.h"
#include "platform/prompter.h"

struct sqlite3;

namespace qavo {

// The message of a failed table operation (the network settings, the log
// table, the log export): the system's one text for a database error.
inline constexpr const char* kDatabaseErrorText = "Save network card information";

// The one connection of the process to the console's database file. The
// application opens it once at start and keeps it for the whole run; when
// opening fails the console runs on without a database, and every table
// operation then fails at OpenTable. User-interface thread only.
class ConsoleDatabase {
  public:
    ConsoleDatabase() = default;
    ~ConsoleDatabase();
    ConsoleDatabase(const ConsoleDatabase&) = delete;
    ConsoleDatabase& operator=(const ConsoleDatabase&) = delete;

    // Opens `path` (by default in the working directory) and creates the
    // file and any of its four tables that is missing. On failure shows
    // "Init database link error." and leaves the connection closed.
    bool OpenDatabase(Prompter& prompter, const std::string& path = kDatabaseFileName);
    bool IsOpen() const { return db_ != nullptr; }
    void Close();

    // Opens a record set on `sql` with `params` bound, in order, to its `?`
    // placeholders, and positions it on the first row. The set is not open
    // when there is no connection, the SQL does not compile (no such table),
    // the number of values differs from the placeholders, or the first step
    // fails. Nothing is shown.
    RecordSet OpenTable(std::string_view sql, std::span<const std::string_view> params);
    RecordSet OpenTable(std::string_view sql, std::initializer_list<std::string_view> params = {}) {
        return OpenTable(sql, std::span<const std::string_view>(params.begin(), params.size()));
    }

    // Building blocks of the table operations. Prepare gives an invalid
    // statement without a connection; Execute runs fixed SQL (one or more
    // statements, no values in it) and is false on any error.
    Statement Prepare(std::string_view sql);
    bool Execute(std::string_view sql);
    // Rows changed by the last insert, update or delete.
    int ChangedRows() const;
    // The database's text for the last error, for diagnostics.
    std::string LastError() const;

  private:
    sqlite3* db_ = nullptr;
};

}  // namespace qavo
