#include "persistence/console_database.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <fstream>
#include <iterator>

#include "db_test_util.h"
#include "persistence/log_table.h"
#include "persistence/settings_store.h"
#include "persistence/table_access.h"

namespace qavo::testing {
namespace {

class DatabaseOpenTest : public DatabaseFixture {};
class DatabaseRecordSetTest : public DatabaseFixture {};

// Name and declared type of every column of `table`, in order.
Rows ColumnsOf(const std::filesystem::path& file, const std::string& table) {
    Rows columns;
    for (const auto& info : QuerySql(file, "pragma table_info(" + table + ")")) {
        columns.push_back({info[1], info[2]});
    }
    return columns;
}

TEST_F(DatabaseOpenTest, CreatesAMissingFileWithTheFourTables) {
    ASSERT_FALSE(std::filesystem::exists(file()));
    Open();
    EXPECT_TRUE(db_.IsOpen());
    EXPECT_TRUE(std::filesystem::exists(file()));

    EXPECT_EQ(ColumnsOf(file(), "network"), (Rows{{"pc_udp_port", "TEXT"},
                                                  {"qavo_host_udp_port", "TEXT"},
                                                  {"qavo_host_ip", "TEXT"},
                                                  {"qavo_host_sub", "TEXT"},
                                                  {"qavo_host_gate", "TEXT"},
                                                  {"qavo_host_sel_ip", "TEXT"}}));
    EXPECT_EQ(ColumnsOf(file(), "user_admin"),
              (Rows{{"user", "TEXT"}, {"code", "TEXT"}, {"lock", "TEXT"}}));
    EXPECT_EQ(ColumnsOf(file(), "auto_timing"), (Rows{{"a_timing", "TEXT"}, {"auto", "TEXT"}}));
    EXPECT_EQ(ColumnsOf(file(), "log"), (Rows{{"order", "TEXT"},
                                              {"calendar", "TEXT"},
                                              {"event_type", "TEXT"},
                                              {"event_context", "TEXT"}}));
    for (const char* table : {"network", "user_admin", "auto_timing", "log"}) {
        EXPECT_EQ(QuerySql(file(), std::string("select count(*) from ") + table), (Rows{{"0"}}))
            << table;
    }
}

TEST_F(DatabaseOpenTest, CreatesOnlyTheMissingTablesAndKeepsStoredRows) {
    ExecSql(file(),
            "create table log (\"order\" text, calendar text, event_type text, event_context "
            "text);"
            "insert into log values ('1', '2024-05-01,10:00:00', 'Host online', 'Host 01');"
            "create table user_admin (user text, code text, lock text);"
            "insert into user_admin values ('op', 'pw', 'FALSE');");
    Open();
    EXPECT_EQ(QuerySql(file(), "select * from log"),
              (Rows{{"1", "2024-05-01,10:00:00", "Host online", "Host 01"}}));
    EXPECT_EQ(QuerySql(file(), "select * from user_admin"), (Rows{{"op", "pw", "FALSE"}}));
    EXPECT_EQ(ColumnsOf(file(), "network").size(), 6u);
    EXPECT_EQ(ColumnsOf(file(), "auto_timing").size(), 2u);
}

TEST_F(DatabaseOpenTest, TheDefaultFileLiesInTheWorkingDirectory) {
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(dir_.path());
    bool opened = db_.OpenDatabase(prompter_);
    db_.Close();
    std::filesystem::current_path(before);
    EXPECT_TRUE(opened);
    EXPECT_TRUE(std::filesystem::exists(dir_.path() / "qavo900.db"));
}

TEST_F(DatabaseOpenTest, CloseLeavesNoConnection) {
    Open();
    db_.Close();
    EXPECT_FALSE(db_.IsOpen());
    EXPECT_FALSE(db_.OpenTable(kSelectLog).IsOpen());
}

TEST_F(DatabaseOpenTest, AFileThatCannotBeOpenedShowsTheMessageAndLeavesNoConnection) {
    const std::filesystem::path garbage = dir_.path() / "garbage.db";
    const std::string garbage_text(4096, 'x');
    std::ofstream(garbage) << garbage_text;
    std::filesystem::create_directory(dir_.path() / "a_directory");

    const std::filesystem::path paths[] = {
        dir_.path() / "no_such_directory" / "qavo900.db",
        garbage,
        dir_.path() / "a_directory",
    };
    for (const auto& path : paths) {
        SCOPED_TRACE(path);
        FakePrompter prompter;
        ConsoleDatabase db;
        EXPECT_FALSE(db.OpenDatabase(prompter, path.string()));
        EXPECT_FALSE(db.IsOpen());
        EXPECT_EQ(
            prompter.asked(),
            (std::vector<BoxRequest>{{"Init database link error.", kAppTitle, BoxButtons::kOk}}));
        EXPECT_FALSE(db.OpenTable(kSelectNetwork).IsOpen());
    }
    std::ifstream in(garbage);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), garbage_text);
    EXPECT_FALSE(std::filesystem::exists(dir_.path() / "no_such_directory"));
}

TEST_F(DatabaseOpenTest, WithoutADatabaseEveryOperationBehavesAsWithoutTables) {
    const std::filesystem::path missing = dir_.path() / "missing" / "qavo900.db";
    ASSERT_FALSE(db_.OpenDatabase(prompter_, missing.string()));
    ASSERT_EQ(Messages(), std::vector<std::string>{"Init database link error."});

    NetworkSettings settings;
    settings.pc_udp_port = "1";
    settings.qavo_host_ip = 1;
    LoadNetworkSettings(db_, prompter_, settings);
    EXPECT_EQ(settings, NetworkSettings{});

    bool lock = false;  // not the initial value, to see that nothing writes it
    AutoTiming timing;
    LoadOperatorAndTiming(db_, prompter_, lock, timing);
    EXPECT_FALSE(lock);
    EXPECT_EQ(timing, AutoTiming{});
    EXPECT_EQ(Messages().size(), 1u);  // loads show nothing

    EXPECT_FALSE(SaveNetworkSettings(db_, prompter_, NetworkSettings{}));
    EXPECT_EQ(Messages(), (std::vector<std::string>{"Init database link error.",
                                                    "Save network card information"}));

    const LogRow row{"1", "2024-01-01,00:00:00", "System test", "x"};
    EXPECT_EQ(LoadLog(db_).status, DbStatus::kOpenFailed);
    EXPECT_EQ(ReplaceLog(db_, std::span(&row, 1)), DbStatus::kOpenFailed);
    EXPECT_EQ(ClearLog(db_), DbStatus::kOpenFailed);
    EXPECT_EQ(ReadFirstRow(db_, Table::kUserAdmin, {"user"}).status, DbStatus::kOpenFailed);
    EXPECT_EQ(UpdateFirstRow(db_, Table::kUserAdmin, {{"user", "x"}}), DbStatus::kOpenFailed);
    EXPECT_EQ(AppendRow(db_, Table::kAutoTiming, {"x", "TRUE"}), DbStatus::kOpenFailed);
    EXPECT_FALSE(std::filesystem::exists(missing.parent_path()));
}

TEST_F(DatabaseRecordSetTest, AnUnfilteredSelectDeliversRowsInInsertionOrder) {
    Open();
    ExecSql(file(),
            "insert into log (\"order\") values ('c');"
            "insert into log (\"order\") values ('a');"
            "insert into log (\"order\") values ('d');"
            "insert into log (\"order\") values ('b');"
            "delete from log where \"order\" = 'd';"
            "insert into log (\"order\") values ('0');");
    RecordSet records = db_.OpenTable(kSelectLog);
    ASSERT_TRUE(records.IsOpen());
    std::vector<std::string> orders;
    while (!records.AtEnd()) {
        orders.push_back(records.Text("order").value_or("?"));
        ASSERT_TRUE(records.MoveNext());
    }
    EXPECT_EQ(orders, (std::vector<std::string>{"c", "a", "b", "0"}));
    EXPECT_FALSE(records.MoveNext());
    EXPECT_FALSE(records.failed());
}

TEST_F(DatabaseRecordSetTest, ReadsEveryValueAsTextByColumnName) {
    Open();
    ExecSql(file(), "insert into log values (7, null, 'O''Brien', '');");
    RecordSet records = db_.OpenTable(kSelectLog);
    ASSERT_TRUE(records.IsOpen());
    ASSERT_FALSE(records.AtEnd());
    EXPECT_EQ(records.column_names(),
              (std::vector<std::string>{"order", "calendar", "event_type", "event_context"}));
    EXPECT_EQ(records.Text("order"), "7");
    EXPECT_EQ(records.Text("ORDER"), "7");  // SQL names ignore letter case
    EXPECT_EQ(records.Text("calendar"), "");
    EXPECT_EQ(records.Text("event_type"), "O'Brien");
    EXPECT_EQ(records.Text("no_such_column"), std::nullopt);
    EXPECT_EQ(records.ColumnIndex("event_context"), 3);
    EXPECT_TRUE(records.MoveNext());
    EXPECT_TRUE(records.AtEnd());
    EXPECT_EQ(records.Text("order"), std::nullopt);
}

TEST_F(DatabaseRecordSetTest, AnEmptyTableOpensAtItsEnd) {
    Open();
    RecordSet records = db_.OpenTable(kSelectUserAdmin);
    EXPECT_TRUE(records.IsOpen());
    EXPECT_TRUE(records.AtEnd());
    EXPECT_EQ(records.Text("user"), std::nullopt);
}

TEST_F(DatabaseRecordSetTest, OpenTableFailsQuietly) {
    Open();
    ExecSql(file(), "insert into log (\"order\") values ('1');");
    struct Case {
        const char* what;
        std::string_view sql;
        std::vector<std::string_view> params;
    };
    const Case cases[] = {
        {"no such table", "select * from  nothing", {}},
        {"not SQL", "selec * from log", {}},
        {"a value too few", kSelectLogByCalendar, {"2024-01-01,00:00:00"}},
        {"a value too many", kSelectLog, {"x"}},
        {"two statements", "select * from log; delete from log", {}},
    };
    for (const Case& c : cases) {
        RecordSet records = db_.OpenTable(c.sql, c.params);
        EXPECT_FALSE(records.IsOpen()) << c.what;
        EXPECT_TRUE(records.AtEnd()) << c.what;
    }
    EXPECT_TRUE(prompter_.asked().empty());
    EXPECT_EQ(QuerySql(file(), "select count(*) from log"), (Rows{{"1"}}));
}

}  // namespace
}  // namespace qavo::testing
