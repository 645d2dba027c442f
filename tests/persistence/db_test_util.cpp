#include "db_test_util.h"

#include <sqlite3.h>
#include <stdlib.h>

namespace qavo::testing {

TempDir::TempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "qavo-db-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        ADD_FAILURE() << "cannot create a temporary directory";
        return;
    }
    path_ = pattern;
}

TempDir::~TempDir() {
    std::error_code ignored;
    if (!path_.empty()) std::filesystem::remove_all(path_, ignored);
}

namespace {

sqlite3* OpenRaw(const std::filesystem::path& file) {
    sqlite3* db = nullptr;
    if (sqlite3_open_v2(file.c_str(), &db, SQLITE_OPEN_READWRITE | SQLITE_OPEN_CREATE, nullptr) !=
        SQLITE_OK) {
        ADD_FAILURE() << "cannot open " << file << ": " << sqlite3_errmsg(db);
        sqlite3_close(db);
        return nullptr;
    }
    return db;
}

}  // namespace

void ExecSql(const std::filesystem::path& file, const std::string& sql) {
    sqlite3* db = OpenRaw(file);
    if (db == nullptr) return;
    char* error = nullptr;
    if (sqlite3_exec(db, sql.c_str(), nullptr, nullptr, &error) != SQLITE_OK) {
        ADD_FAILURE() << sql << ": " << (error != nullptr ? error : "?");
    }
    sqlite3_free(error);
    sqlite3_close(db);
}

Rows QuerySql(const std::filesystem::path& file, const std::string& sql) {
    Rows rows;
    sqlite3* db = OpenRaw(file);
    if (db == nullptr) return rows;
    sqlite3_stmt* stmt = nullptr;
    if (sqlite3_prepare_v2(db, sql.c_str(), -1, &stmt, nullptr) != SQLITE_OK) {
        ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db);
    } else {
        int rc;
        while ((rc = sqlite3_step(stmt)) == SQLITE_ROW) {
            std::vector<std::string>& row = rows.emplace_back();
            for (int i = 0; i < sqlite3_column_count(stmt); ++i) {
                const unsigned char* text = sqlite3_column_text(stmt, i);
                row.emplace_back(text != nullptr ? reinterpret_cast<const char*>(text) : "<null>");
            }
        }
        if (rc != SQLITE_DONE) ADD_FAILURE() << sql << ": " << sqlite3_errmsg(db);
    }
    sqlite3_finalize(stmt);
    sqlite3_close(db);
    return rows;
}

void DatabaseFixture::Open() {
    ASSERT_TRUE(db_.OpenDatabase(prompter_, file().string()));
    ASSERT_TRUE(prompter_.asked().empty());
}

std::vector<std::string> DatabaseFixture::Messages() const {
    std::vector<std::string> texts;
    for (const BoxRequest& box : prompter_.asked())
        texts.push_back(box.text);
    return texts;
}

}  // namespace qavo::testing
