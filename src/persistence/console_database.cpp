#include "persistence/console_database.h"

#include <sqlite3.h>

#include <string>

namespace qavo {
namespace {

constexpr const char* kInitDatabaseError = "Init database link error.";

}  // namespace

ConsoleDatabase::~ConsoleDatabase() {
    Close();
}

bool ConsoleDatabase::OpenDatabase(Prompter& prompter, const std::string& path) {
    Close();
    sqlite3* db = nullptr;
    int rc =
        sqlite3_open_v2(path.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr);
    if (rc == SQLITE_OK) {
        db_ = db;
        // All four tables or none: a file that is not a database, or that
        // refuses the change, leaves the console without a database.
        std::string schema = "begin immediate;";
        for (Table table : {Table::kNetwork, Table::kUserAdmin, Table::kAutoTiming, Table::kLog}) {
            schema += SchemaOf(table).create;
            schema += ';';
        }
        schema += "commit;";
        if (Execute(schema)) return true;
        if (!sqlite3_get_autocommit(db_)) Execute("rollback");
    }
    sqlite3_close_v2(db);
    db_ = nullptr;
    prompter.Ask(BoxRequest{kInitDatabaseError});
    return false;
}

void ConsoleDatabase::Close() {
    if (db_ != nullptr) {
        sqlite3_close_v2(db_);
        db_ = nullptr;
    }
}

RecordSet ConsoleDatabase::OpenTable(std::string_view sql,
                                     std::span<const std::string_view> params) {
    Statement statement = Prepare(sql);
    if (!statement.valid() || !statement.BindTexts(params, Statement::Binding::kCopy)) return {};
    RecordSet records(std::move(statement));
    if (!records.Start()) return {};
    return records;
}

Statement ConsoleDatabase::Prepare(std::string_view sql) {
    return Statement(db_, sql);
}

bool ConsoleDatabase::Execute(std::string_view sql) {
    if (db_ == nullptr) return false;
    std::string text(sql);
    return sqlite3_exec(db_, text.c_str(), nullptr, nullptr, nullptr) == SQLITE_OK;
}

int ConsoleDatabase::ChangedRows() const {
    return db_ != nullptr ? sqlite3_changes(db_) : 0;
}

std::string ConsoleDatabase::LastError() const {
    return db_ != nullptr ? std::string(sqlite3_errmsg(db_)) : std::string("no database");
}

}  // namespace qavo
