#include <gtest/gtest.h>

#include "db_test_util.h"
#include "persistence/settings_store.h"

namespace qavo::testing {
namespace {

class DatabaseOperatorAndTimingTest : public DatabaseFixture {
  protected:
    void SetUp() override { Open(); }

    Rows Accounts() const { return QuerySql(file(), "select * from user_admin"); }
    Rows Schedules() const { return QuerySql(file(), "select * from auto_timing"); }

    static AutoTiming Scheduled() { return AutoTiming{"2031/02/03 04:05:06", false}; }
};

TEST_F(DatabaseOperatorAndTimingTest, EmptyTablesGetTheirDefaultRows) {
    bool lock = false;
    AutoTiming timing;
    LoadOperatorAndTiming(db_, prompter_, lock, timing);
    EXPECT_TRUE(lock);
    EXPECT_EQ(timing, AutoTiming{});
    EXPECT_EQ(Accounts(), (Rows{{"admin", "qvl704219", "TRUE"}}));
    EXPECT_EQ(Schedules(), (Rows{{"2018/18/18 23:59:59", "TRUE"}}));
    EXPECT_TRUE(prompter_.asked().empty());
}

TEST_F(DatabaseOperatorAndTimingTest, TheNewScheduleRowCarriesTheTimeInMemory) {
    bool lock = true;
    AutoTiming timing{"06:30:00", false};
    LoadOperatorAndTiming(db_, prompter_, lock, timing);
    EXPECT_EQ(Schedules(), (Rows{{"2018/18/18 06:30:00", "TRUE"}}));
    EXPECT_EQ(timing, (AutoTiming{"06:30:00", false}));
}

TEST_F(DatabaseOperatorAndTimingTest, StoredRowsAreLoadedAndNothingIsAdded) {
    ExecSql(file(),
            "insert into user_admin values ('op', 'pw', 'FALSE');"
            "insert into user_admin values ('other', 'x', 'TRUE');"
            "insert into auto_timing values ('2031/02/03 04:05:06', 'FALSE');"
            "insert into auto_timing values ('2032/01/01 00:00:00', 'TRUE');");
    bool lock = true;
    AutoTiming timing;
    LoadOperatorAndTiming(db_, prompter_, lock, timing);
    EXPECT_FALSE(lock);
    EXPECT_EQ(timing, Scheduled());
    EXPECT_EQ(Accounts().size(), 2u);
    EXPECT_EQ(Schedules().size(), 2u);
}

TEST_F(DatabaseOperatorAndTimingTest, OnlyTheExactTextTRUEIsTrue) {
    struct Case {
        const char* text;
        bool value;
    };
    const Case cases[] = {
        {"TRUE", true},   {"True", false},  {"true", false}, {"tRUE", false}, {"TRUE ", false},
        {" TRUE", false}, {"FALSE", false}, {"", false},     {"1", false},    {"yes", false},
    };
    for (const Case& c : cases) {
        ExecSql(file(), std::string("delete from user_admin; delete from auto_timing;"
                                    "insert into user_admin values ('u', 'c', '") +
                            c.text + "'); insert into auto_timing values ('t', '" + c.text + "');");
        bool lock = !c.value;
        AutoTiming timing{"23:59:59", !c.value};
        LoadOperatorAndTiming(db_, prompter_, lock, timing);
        EXPECT_EQ(lock, c.value) << '"' << c.text << '"';
        EXPECT_EQ(timing.auto_enabled, c.value) << '"' << c.text << '"';
    }
}

TEST_F(DatabaseOperatorAndTimingTest, AnAccountTableThatCannotBeOpenedStopsTheLoad) {
    ExecSql(file(),
            "insert into auto_timing values ('2031/02/03 04:05:06', 'FALSE');"
            "drop table user_admin;");
    bool lock = true;
    AutoTiming timing;
    LoadOperatorAndTiming(db_, prompter_, lock, timing);
    EXPECT_TRUE(lock);
    EXPECT_EQ(timing, AutoTiming{});
    EXPECT_TRUE(prompter_.asked().empty());
}

TEST_F(DatabaseOperatorAndTimingTest, AnAccountErrorShowsItsMessageAndSkipsTheSchedule) {
    struct Case {
        const char* what;
        const char* setup;
    };
    const Case cases[] = {
        {"no lock column",
         "drop table user_admin; create table user_admin (user text, code text);"
         "insert into user_admin values ('admin', 'x');"},
        {"default row refused",
         "create trigger refuse before insert on user_admin "
         "begin select raise(abort, 'refused'); end;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::filesystem::path path = dir.path() / "qavo900.db";
        ExecSql(path,
                "create table auto_timing (a_timing text, auto text);"
                "insert into auto_timing values ('2031/02/03 04:05:06', 'FALSE');"
                "create table user_admin (user text, code text, lock text);");
        ExecSql(path, c.setup);
        FakePrompter prompter;
        ConsoleDatabase db;
        ASSERT_TRUE(db.OpenDatabase(prompter, path.string()));
        bool lock = false;
        AutoTiming timing;
        LoadOperatorAndTiming(db, prompter, lock, timing);
        EXPECT_EQ(prompter.asked(),
                  (std::vector<BoxRequest>{{"Error loading user information!", kAppTitle}}));
        EXPECT_FALSE(lock);
        EXPECT_EQ(timing, AutoTiming{});
    }
}

TEST_F(DatabaseOperatorAndTimingTest, AScheduleErrorShowsItsMessageAndKeepsTheTiming) {
    struct Case {
        const char* what;
        const char* setup;
    };
    const Case cases[] = {
        {"no auto column",
         "drop table auto_timing; create table auto_timing (a_timing text);"
         "insert into auto_timing values ('2031/02/03 04:05:06');"},
        {"default row refused",
         "create trigger refuse before insert on auto_timing "
         "begin select raise(abort, 'refused'); end;"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        const std::filesystem::path path = dir.path() / "qavo900.db";
        ExecSql(path,
                "create table auto_timing (a_timing text, auto text);"
                "create table user_admin (user text, code text, lock text);"
                "insert into user_admin values ('admin', 'x', 'FALSE');");
        ExecSql(path, c.setup);
        FakePrompter prompter;
        ConsoleDatabase db;
        ASSERT_TRUE(db.OpenDatabase(prompter, path.string()));
        bool lock = true;
        AutoTiming timing = Scheduled();
        LoadOperatorAndTiming(db, prompter, lock, timing);
        EXPECT_EQ(prompter.asked(),
                  (std::vector<BoxRequest>{{"Error loading auto timing!", kAppTitle}}));
        EXPECT_FALSE(lock);  // the account was read before
        EXPECT_EQ(timing, Scheduled());
    }
}

TEST_F(DatabaseOperatorAndTimingTest, SavedScheduleReplacesTheRowsAndSurvivesARestart) {
    ExecSql(file(),
            "insert into auto_timing values ('2018/18/18 23:59:59', 'TRUE');"
            "insert into auto_timing values ('2032/01/01 00:00:00', 'TRUE');");
    // An unchecked "Auto" is stored too, so it lasts across a restart.
    for (const AutoTiming& saved :
         {AutoTiming{"2031/02/03 04:05:06", false}, AutoTiming{"2031/02/03 04:05:06", true}}) {
        ASSERT_TRUE(SaveAutoTiming(db_, prompter_, saved));
        EXPECT_EQ(Schedules(), (Rows{{saved.a_timing, saved.auto_enabled ? "TRUE" : "FALSE"}}));
        ConsoleDatabase reopened;
        ASSERT_TRUE(reopened.OpenDatabase(prompter_, file().string()));
        bool lock = false;
        AutoTiming loaded;
        LoadOperatorAndTiming(reopened, prompter_, lock, loaded);
        EXPECT_EQ(loaded, saved);
    }
    EXPECT_TRUE(prompter_.asked().empty());
}

TEST_F(DatabaseOperatorAndTimingTest, SavingTheScheduleReportsADatabaseError) {
    ExecSql(file(),
            "insert into auto_timing values ('2032/01/01 00:00:00', 'TRUE');"
            "create trigger refuse before insert on auto_timing "
            "begin select raise(abort, 'refused'); end;");
    EXPECT_FALSE(SaveAutoTiming(db_, prompter_, Scheduled()));
    EXPECT_EQ(Messages(), std::vector<std::string>{"Error with database exchange data."});
    // One transaction: the old row stays.
    EXPECT_EQ(Schedules(), (Rows{{"2032/01/01 00:00:00", "TRUE"}}));
}

TEST(AutoTimingStore, WithoutADatabaseNothingIsShown) {
    FakePrompter prompter;
    ConsoleDatabase closed;
    EXPECT_FALSE(SaveAutoTiming(closed, prompter, AutoTiming{}));
    EXPECT_TRUE(prompter.asked().empty());
}

}  // namespace
}  // namespace qavo::testing
