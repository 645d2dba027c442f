#include "persistence/log_table.h"

#include <gtest/gtest.h>

#include "db_test_util.h"

namespace qavo::testing {
namespace {

class DatabaseLogTest : public DatabaseFixture {
  protected:
    void SetUp() override { Open(); }

    static std::vector<std::string> Orders(const LogRows& result) {
        std::vector<std::string> orders;
        for (const LogRow& row : result.rows)
            orders.push_back(row.order);
        return orders;
    }

    // Entries in host order; not sorted by date, so that an ordering by
    // anything but insertion shows.
    const std::vector<LogRow> log_ = {
        {"1", "2024-05-02,00:00:00", "Host online", "Host 01 online."},
        {"2", "2024-05-01,23:59:59", "O'Brien", "it's \"quoted\", with a comma"},
        {"3", "2024-04-30,23:59:59", "O'Brien", "the day before"},
        {"4", "2024-05-01,00:00:00", "Host online", "Host 02 online."},
        {"5", "2024-05-01,12:30:00", "O'Brien", "midday"},
        {"6", "2024-05-01,00:00:00", "O'Brien", "x' or '1'='1"},
    };
};

TEST(DatabaseLogQueryText, EachFilterHasItsSelect) {
    const CalendarRange day{"2024-05-01,00:00:00", "2024-05-01,23:59:59"};
    EXPECT_EQ(LogQueryText({}), "select * from  log");
    EXPECT_EQ(LogQueryText({"Host online", std::nullopt}),
              "select * from log where event_type = ?");
    EXPECT_EQ(LogQueryText({std::nullopt, day}),
              "select * from log where calendar >= ? and calendar <= ?");
    EXPECT_EQ(LogQueryText({"Host online", day}),
              "select * from log where event_type = ? and  calendar >= ? and calendar <= ?");
}

TEST_F(DatabaseLogTest, ReplaceThenLoadGivesTheRowsBackInHostOrder) {
    ASSERT_EQ(ReplaceLog(db_, log_), DbStatus::kOk);
    LogRows all = LoadLog(db_);
    EXPECT_EQ(all.status, DbStatus::kOk);
    EXPECT_EQ(all.rows, log_);

    const std::vector<LogRow> fewer = {{"1", "2025-01-01,08:00:00", "System test", "again"}};
    ASSERT_EQ(ReplaceLog(db_, fewer), DbStatus::kOk);
    EXPECT_EQ(LoadLog(db_).rows, fewer);

    ASSERT_EQ(ReplaceLog(db_, {}), DbStatus::kOk);
    EXPECT_EQ(QuerySql(file(), "select count(*) from log"), (Rows{{"0"}}));
}

TEST_F(DatabaseLogTest, FiltersBindTheirValues) {
    ASSERT_EQ(ReplaceLog(db_, log_), DbStatus::kOk);
    const CalendarRange may_first{"2024-05-01,00:00:00", "2024-05-01,23:59:59"};
    struct Case {
        const char* what;
        LogFilter filter;
        std::vector<std::string> orders;
    };
    const Case cases[] = {
        {"type with a quote", {"O'Brien", std::nullopt}, {"2", "3", "5", "6"}},
        {"other type", {"Host online", std::nullopt}, {"1", "4"}},
        {"type not present", {"System test", std::nullopt}, {}},
        {"pasted SQL is only a value", {"x' or '1'='1", std::nullopt}, {}},
        {"one day, both ends included", {std::nullopt, may_first}, {"2", "4", "5", "6"}},
        {"type and day", {"O'Brien", may_first}, {"2", "5", "6"}},
        {"empty range",
         {std::nullopt, CalendarRange{"2024-06-01,00:00:00", "2024-05-01,23:59:59"}},
         {}},
    };
    for (const Case& c : cases) {
        LogRows result = LoadLog(db_, c.filter);
        EXPECT_EQ(result.status, DbStatus::kOk) << c.what;
        EXPECT_EQ(Orders(result), c.orders) << c.what;
    }
    EXPECT_EQ(LoadLog(db_, {"O'Brien", std::nullopt}).rows[0], log_[1]);
}

TEST_F(DatabaseLogTest, AFailingReplaceKeepsTheOldLog) {
    ASSERT_EQ(ReplaceLog(db_, log_), DbStatus::kOk);
    ExecSql(file(),
            "create trigger refuse before insert on log when new.event_type = 'refused' "
            "begin select raise(abort, 'refused'); end;");
    const std::vector<LogRow> rows = {
        {"1", "2025-01-01,00:00:00", "System test", "kept?"},
        {"2", "2025-01-01,00:00:01", "refused", "no"},
    };
    EXPECT_EQ(ReplaceLog(db_, rows), DbStatus::kError);
    EXPECT_EQ(LoadLog(db_).rows, log_);
}

TEST_F(DatabaseLogTest, ClearEmptiesTheTableUnlessRefused) {
    ASSERT_EQ(ReplaceLog(db_, log_), DbStatus::kOk);
    ExecSql(file(),
            "create trigger keep before delete on log when old.\"order\" = '4' "
            "begin select raise(abort, 'kept'); end;");
    EXPECT_EQ(ClearLog(db_), DbStatus::kError);
    EXPECT_EQ(LoadLog(db_).rows, log_);

    ExecSql(file(), "drop trigger keep");
    EXPECT_EQ(ClearLog(db_), DbStatus::kOk);
    LogRows after = LoadLog(db_);
    EXPECT_EQ(after.status, DbStatus::kOk);
    EXPECT_TRUE(after.rows.empty());
}

TEST_F(DatabaseLogTest, ALogTableWithoutItsColumnsIsAnError) {
    db_.Close();
    ExecSql(file(),
            "drop table log; create table log (\"order\" text, calendar text);"
            "insert into log values ('1', '2024-05-01,00:00:00');");
    Open();
    EXPECT_EQ(LoadLog(db_).status, DbStatus::kError);
    EXPECT_EQ(ReplaceLog(db_, log_), DbStatus::kError);
    EXPECT_EQ(QuerySql(file(), "select * from log"), (Rows{{"1", "2024-05-01,00:00:00"}}));
}

}  // namespace
}  // namespace qavo::testing
