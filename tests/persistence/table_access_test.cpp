#include "persistence/table_access.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

#include <cstdlib>

#include "db_test_util.h"

namespace qavo::testing {
namespace {

class DatabaseTableAccessTest : public DatabaseFixture {
  protected:
    void SetUp() override {
        Open();
        ExecSql(file(),
                "insert into user_admin values ('first', 'one', 'TRUE');"
                "insert into user_admin values ('second', 'two', 'FALSE');");
    }
    Rows Accounts() const { return QuerySql(file(), "select * from user_admin"); }
};

using DatabaseCrashDeathTest = DatabaseTableAccessTest;

TEST_F(DatabaseTableAccessTest, ReadFirstRowTakesTheOldestRow) {
    FirstRow row = ReadFirstRow(db_, Table::kUserAdmin, {"lock", "user"});
    EXPECT_EQ(row.status, DbStatus::kOk);
    EXPECT_TRUE(row.has_row);
    EXPECT_EQ(row.values, (std::vector<std::string>{"TRUE", "first"}));
}

TEST_F(DatabaseTableAccessTest, ReadFirstRowOfAnEmptyTableHasNoRow) {
    FirstRow row = ReadFirstRow(db_, Table::kAutoTiming, {"a_timing"});
    EXPECT_EQ(row.status, DbStatus::kOk);
    EXPECT_FALSE(row.has_row);
    EXPECT_TRUE(row.values.empty());
}

TEST_F(DatabaseTableAccessTest, AMissingColumnIsAnErrorAfterTheColumnsBeforeIt) {
    FirstRow row = ReadFirstRow(db_, Table::kUserAdmin, {"user", "password", "lock"});
    EXPECT_EQ(row.status, DbStatus::kError);
    EXPECT_EQ(row.values, std::vector<std::string>{"first"});
}

TEST_F(DatabaseTableAccessTest, UpdateFirstRowChangesOnlyTheFirstRow) {
    EXPECT_EQ(UpdateFirstRow(db_, Table::kUserAdmin, {{"user", "O'Brien"}, {"code", "a\"b;--"}}),
              DbStatus::kOk);
    EXPECT_EQ(Accounts(), (Rows{{"O'Brien", "a\"b;--", "TRUE"}, {"second", "two", "FALSE"}}));
}

TEST_F(DatabaseTableAccessTest, UpdateFirstRowFailsOnAnEmptyTableOrAForeignColumn) {
    EXPECT_EQ(UpdateFirstRow(db_, Table::kAutoTiming, {{"auto", "FALSE"}}), DbStatus::kError);
    EXPECT_EQ(QuerySql(file(), "select count(*) from auto_timing"), (Rows{{"0"}}));

    EXPECT_EQ(UpdateFirstRow(db_, Table::kUserAdmin, {{"user", "x"}, {"rowid", "5"}}),
              DbStatus::kError);
    EXPECT_EQ(Accounts()[0], (std::vector<std::string>{"first", "one", "TRUE"}));
}

TEST_F(DatabaseTableAccessTest, AppendRowAddsAtTheEnd) {
    EXPECT_EQ(AppendRow(db_, Table::kUserAdmin, {"third", "3", "x"}), DbStatus::kOk);
    EXPECT_EQ(Accounts().back(), (std::vector<std::string>{"third", "3", "x"}));
    EXPECT_EQ(AppendRow(db_, Table::kUserAdmin, {"too", "few"}), DbStatus::kError);
    EXPECT_EQ(Accounts().size(), 3u);
}

TEST_F(DatabaseTableAccessTest, ReplaceAllLeavesExactlyTheNewRows) {
    const Rows replacement = {{"a", "1", "TRUE"}, {"b", "2", "FALSE"}, {"c", "3", ""}};
    for (size_t before : {0u, 1u, 2u}) {
        ExecSql(file(), "delete from user_admin");
        for (size_t i = 0; i < before; ++i) {
            ExecSql(file(), "insert into user_admin values ('old', 'old', 'old')");
        }
        EXPECT_EQ(ReplaceAll(db_, Table::kUserAdmin, replacement), DbStatus::kOk) << before;
        EXPECT_EQ(Accounts(), replacement) << before;
    }
    EXPECT_EQ(ReplaceAll(db_, Table::kUserAdmin, std::span<const std::vector<std::string>>()),
              DbStatus::kOk);
    EXPECT_TRUE(Accounts().empty());
}

TEST_F(DatabaseTableAccessTest, ReplaceAllWithARowOfTheWrongWidthChangesNothing) {
    const Rows bad = {{"a", "1", "TRUE"}, {"b", "2"}};
    EXPECT_EQ(ReplaceAll(db_, Table::kUserAdmin, bad), DbStatus::kError);
    EXPECT_EQ(Accounts().size(), 2u);
}

TEST_F(DatabaseTableAccessTest, AFailingReplaceAllKeepsTheOldRows) {
    ExecSql(file(),
            "create trigger refuse before insert on user_admin when new.user = 'bad' "
            "begin select raise(abort, 'refused'); end;");
    const Rows rows = {{"a", "1", "TRUE"}, {"bad", "2", "TRUE"}, {"c", "3", "TRUE"}};
    EXPECT_EQ(ReplaceAll(db_, Table::kUserAdmin, rows), DbStatus::kError);
    EXPECT_EQ(Accounts(), (Rows{{"first", "one", "TRUE"}, {"second", "two", "FALSE"}}));

    // The failed attempt left no transaction behind: the next one is stored.
    const Rows good = {{"a", "1", "TRUE"}};
    EXPECT_EQ(ReplaceAll(db_, Table::kUserAdmin, good), DbStatus::kOk);
    EXPECT_EQ(Accounts(), good);
}

TEST_F(DatabaseTableAccessTest, AWriteLockedFileRefusesTheWritesAndKeepsItsRows) {
    sqlite3* other = nullptr;
    ASSERT_EQ(sqlite3_open(file().c_str(), &other), SQLITE_OK);
    ASSERT_EQ(sqlite3_exec(other, "begin immediate", nullptr, nullptr, nullptr), SQLITE_OK);

    const Rows rows = {{"a", "1", "TRUE"}};
    EXPECT_EQ(ReplaceAll(db_, Table::kUserAdmin, rows), DbStatus::kError);
    EXPECT_EQ(UpdateFirstRow(db_, Table::kUserAdmin, {{"lock", "FALSE"}}), DbStatus::kError);
    EXPECT_EQ(DeleteAll(db_, Table::kUserAdmin), DbStatus::kError);

    sqlite3_exec(other, "rollback", nullptr, nullptr, nullptr);
    sqlite3_close(other);
    EXPECT_EQ(Accounts(), (Rows{{"first", "one", "TRUE"}, {"second", "two", "FALSE"}}));
}

TEST_F(DatabaseTableAccessTest, DeleteAllEmptiesTheTable) {
    EXPECT_EQ(DeleteAll(db_, Table::kUserAdmin), DbStatus::kOk);
    EXPECT_TRUE(Accounts().empty());
}

TEST_F(DatabaseCrashDeathTest, DyingInTheMiddleOfAReplaceKeepsTheOldRows) {
    db_.Close();
    GTEST_FLAG_SET(death_test_style, "fast");  // the child must see this test's file
    EXPECT_EXIT(
        {
            ConsoleDatabase db;
            FakePrompter prompter;
            if (!db.OpenDatabase(prompter, file().string())) std::_Exit(1);
            ReplaceAll(db, Table::kUserAdmin, 3, [](size_t index, std::span<std::string_view> row) {
                if (index == 2) std::_Exit(42);  // two new rows written, not committed
                row[0] = "new";
                row[1] = "new";
                row[2] = "new";
            });
            std::_Exit(0);
        },
        ::testing::ExitedWithCode(42), "");
    // The next connection rolls the interrupted change back.
    ASSERT_TRUE(db_.OpenDatabase(prompter_, file().string()));
    EXPECT_EQ(Accounts(), (Rows{{"first", "one", "TRUE"}, {"second", "two", "FALSE"}}));
}

}  // namespace
}  // namespace qavo::testing
