#include <gtest/gtest.h>

#include "persistence/db_test_util.h"
#include "users/account_store.h"

namespace qavo::testing {
namespace {

class UserAccountStoreTest : public DatabaseFixture {
  protected:
    void SetUp() override { Open(); }
    Rows Accounts() const { return QuerySql(file(), "select * from user_admin"); }
};

const BoxRequest kLoadErrorBox{"Error loading user information!", kAppTitle};
const BoxRequest kWriteErrorBox{"Error with database exchange data.", kAppTitle};

TEST_F(UserAccountStoreTest, LoginOnAnEmptyTableStoresAndUsesTheDefaultAccount) {
    EXPECT_EQ(LoadAccountForLogin(db_, prompter_), (Account{"admin", "qvl704219"}));
    EXPECT_EQ(Accounts(), (Rows{{"admin", "qvl704219", "TRUE"}}));
    // Loading again finds the row and adds nothing.
    EXPECT_EQ(LoadAccountForLogin(db_, prompter_), (Account{"admin", "qvl704219"}));
    EXPECT_EQ(Accounts().size(), 1u);
    EXPECT_TRUE(prompter_.asked().empty());
}

TEST_F(UserAccountStoreTest, OnlyTheFirstRowIsRead) {
    ExecSql(file(),
            "insert into user_admin values ('Op', 'Pw', 'FALSE');"
            "insert into user_admin values ('second', 'x', 'TRUE');");
    EXPECT_EQ(LoadAccountForLogin(db_, prompter_), (Account{"Op", "Pw"}));
    EXPECT_EQ(ReadAccount(db_, prompter_), (Account{"Op", "Pw"}));
    EXPECT_EQ(Accounts().size(), 2u);
}

TEST_F(UserAccountStoreTest, OtherReadersLeaveAnEmptyTableEmpty) {
    EXPECT_EQ(ReadAccount(db_, prompter_), Account{});
    EXPECT_TRUE(Accounts().empty());
}

TEST_F(UserAccountStoreTest, WithoutADatabaseTheAccountIsEmpty) {
    ConsoleDatabase closed;
    EXPECT_EQ(LoadAccountForLogin(closed, prompter_), Account{});
    EXPECT_EQ(ReadAccount(closed, prompter_), Account{});
    EXPECT_FALSE(WriteAccount(closed, prompter_, Account{"a", "b"}));
    EXPECT_TRUE(prompter_.asked().empty());
}

TEST_F(UserAccountStoreTest, AFailedReadGivesNothingAndAnErrorShowsItsMessage) {
    struct Case {
        const char* what;
        const char* setup;
        std::vector<BoxRequest> boxes;
    };
    const Case cases[] = {
        {"table cannot be opened", "drop table user_admin;", {}},
        {"no code column",
         "drop table user_admin; create table user_admin (user text, lock text);"
         "insert into user_admin values ('admin', 'TRUE');",
         {kLoadErrorBox}},
    };
    for (const Case& c : cases) {
        for (bool login : {true, false}) {
            SCOPED_TRACE(std::string(c.what) + (login ? ", login" : ", other readers"));
            TempDir dir;
            FakePrompter prompter;
            ConsoleDatabase db;
            ASSERT_TRUE(db.OpenDatabase(prompter, (dir.path() / "qavo900.db").string()));
            ASSERT_TRUE(db.Execute(c.setup));
            std::optional<Account> account =
                login ? LoadAccountForLogin(db, prompter) : ReadAccount(db, prompter);
            EXPECT_FALSE(account.has_value());
            EXPECT_EQ(prompter.asked(), c.boxes);
        }
    }
}

TEST_F(UserAccountStoreTest, ARefusedDefaultRowIsALoadError) {
    ExecSql(file(),
            "create trigger refuse before insert on user_admin "
            "begin select raise(abort, 'refused'); end;");
    EXPECT_FALSE(LoadAccountForLogin(db_, prompter_).has_value());
    EXPECT_EQ(prompter_.asked(), std::vector<BoxRequest>{kLoadErrorBox});
}

TEST_F(UserAccountStoreTest, WritingChangesNameAndPasswordOfTheFirstRowOnly) {
    ExecSql(file(),
            "insert into user_admin values ('admin', 'qvl704219', 'FALSE');"
            "insert into user_admin values ('second', 'x', 'TRUE');");
    const Account cases[] = {{"Operator 1", "s3cret"}, {"", ""}, {" spaced ", "Mixed Case"}};
    for (const Account& account : cases) {
        EXPECT_TRUE(WriteAccount(db_, prompter_, account));
        EXPECT_EQ(Accounts(),
                  (Rows{{account.user, account.code, "FALSE"}, {"second", "x", "TRUE"}}));
        EXPECT_EQ(ReadAccount(db_, prompter_), account);
    }
    EXPECT_TRUE(prompter_.asked().empty());
}

TEST_F(UserAccountStoreTest, WritingIntoAnEmptyTableIsAnExchangeError) {
    EXPECT_FALSE(WriteAccount(db_, prompter_, Account{"a", "b"}));
    EXPECT_EQ(prompter_.asked(), std::vector<BoxRequest>{kWriteErrorBox});
    EXPECT_TRUE(Accounts().empty());
}

TEST_F(UserAccountStoreTest, WritingWhenTheTableCannotBeOpenedShowsNothing) {
    ASSERT_TRUE(db_.Execute("drop table user_admin"));
    EXPECT_FALSE(WriteAccount(db_, prompter_, Account{"a", "b"}));
    EXPECT_TRUE(prompter_.asked().empty());
}

}  // namespace
}  // namespace qavo::testing
