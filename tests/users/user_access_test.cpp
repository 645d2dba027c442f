#include <gtest/gtest.h>

#include <algorithm>

#include "persistence/db_test_util.h"
#include "scripted_prompt.h"
#include "users/account_store.h"
#include "users/user_access.h"

namespace qavo::testing {
namespace {

BoxRequest NameError(int chances) {
    return {"User name error, you have a " + std::to_string(chances) + " chance!", kAppTitle};
}
BoxRequest PasswordError(int chances) {
    return {"User password  error, you have a " + std::to_string(chances) + " chance!", kAppTitle};
}
const BoxRequest kNoPermission{"You do not have permission inadequate.", "", BoxButtons::kOk,
                               BoxIcon::kWarning};
const BoxRequest kLoadError{"Error loading user information!", kAppTitle};

class UserAccessTest : public DatabaseFixture {
  protected:
    void SetUp() override { Open(); }
    void StoreAccount(const std::string& user, const std::string& code) {
        ExecSql(file(), "delete from user_admin; insert into user_admin values ('" + user + "', '" +
                            code + "', 'TRUE');");
    }

    UserSession session_;
    ScriptedPrompt prompt_;
    UserAccess access_{db_, prompter_, session_, prompt_};
};

TEST_F(UserAccessTest, LoginAttempts) {
    const Credentials right{"Operator", "pw-1"};
    const Credentials wrong_name{"Nobody", "pw-1"};
    const Credentials wrong_password{"Operator", "pw-2"};
    const std::optional<Credentials> cancel;
    struct Case {
        const char* what;
        std::vector<std::optional<Credentials>> answers;
        std::vector<BoxRequest> boxes;
        bool logged_in;
    };
    const Case cases[] = {
        {"right at once", {right}, {}, true},
        {"cancelled", {cancel}, {}, false},
        {"three wrong names",
         {wrong_name, wrong_name, wrong_name},
         {NameError(2), NameError(1)},
         false},
        {"three wrong passwords",
         {wrong_password, wrong_password, wrong_password},
         {PasswordError(2), PasswordError(1)},
         false},
        {"wrong name, then wrong password",
         {wrong_name, wrong_password, cancel},
         {NameError(2), PasswordError(1)},
         false},
        {"right at the third attempt",
         {wrong_password, wrong_name, right},
         {PasswordError(2), NameError(1)},
         true},
        {"cancelled after a failure", {wrong_name, cancel}, {NameError(2)}, false},
        {"name checked before password", {Credentials{"x", "y"}, cancel}, {NameError(2)}, false},
        {"name differs in case", {Credentials{"operator", "pw-1"}, cancel}, {NameError(2)}, false},
        {"password differs in case",
         {Credentials{"Operator", "PW-1"}, cancel},
         {PasswordError(2)},
         false},
        {"trailing blank in the name",
         {Credentials{"Operator ", "pw-1"}, cancel},
         {NameError(2)},
         false},
    };
    StoreAccount("Operator", "pw-1");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakePrompter prompter;
        UserSession session;
        ScriptedPrompt prompt;
        prompt.logins.assign(c.answers.begin(), c.answers.end());
        EXPECT_EQ(UserAccess(db_, prompter, session, prompt).Login(), c.logged_in);
        EXPECT_EQ(session.logged_in, c.logged_in);
        EXPECT_EQ(prompter.asked(), c.boxes);
        EXPECT_TRUE(prompt.logins.empty()) << "dialog shown fewer times than expected";
        EXPECT_EQ(prompt.shown_users, std::vector<std::string>(c.answers.size(), "Operator"));
        // The session keeps what was confirmed last.
        const auto last_confirmed = std::find_if(c.answers.rbegin(), c.answers.rend(),
                                                 [](const auto& a) { return a.has_value(); });
        const Credentials kept =
            last_confirmed != c.answers.rend() ? **last_confirmed : Credentials{};
        EXPECT_EQ(session.entered_user, kept.user);
        EXPECT_EQ(session.entered_password, kept.password);
    }
}

TEST_F(UserAccessTest, EveryLoginStartsWithThreeAttempts) {
    StoreAccount("admin", "code");
    for (int login = 0; login < 2; ++login) {
        prompt_.logins = {Credentials{"a", ""}, Credentials{"b", ""}, Credentials{"c", ""}};
        EXPECT_FALSE(access_.Login());
    }
    EXPECT_EQ(prompter_.asked(),
              (std::vector<BoxRequest>{NameError(2), NameError(1), NameError(2), NameError(1)}));
}

TEST_F(UserAccessTest, FirstLoginOnAnEmptyTableUsesTheDefaultAccount) {
    prompt_.logins = {Credentials{"admin", "qvl704219"}};
    EXPECT_TRUE(access_.Login());
    EXPECT_TRUE(session_.logged_in);
    EXPECT_EQ(prompt_.shown_users, std::vector<std::string>{"admin"});
    EXPECT_EQ(QuerySql(file(), "select * from user_admin"), (Rows{{"admin", "qvl704219", "TRUE"}}));
    EXPECT_TRUE(prompter_.asked().empty());
}

TEST_F(UserAccessTest, LoginEndsBeforeTheDialogWhenTheAccountCannotBeRead) {
    struct Case {
        const char* what;
        const char* setup;
        std::vector<BoxRequest> boxes;
    };
    const Case cases[] = {
        {"table cannot be opened", "drop table user_admin", {}},
        {"database error",
         "drop table user_admin; create table user_admin (user text, lock text);",
         {kLoadError}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir dir;
        FakePrompter prompter;
        ConsoleDatabase db;
        ASSERT_TRUE(db.OpenDatabase(prompter, (dir.path() / "qavo900.db").string()));
        ASSERT_TRUE(db.Execute(c.setup));
        UserSession session;
        ScriptedPrompt prompt;
        EXPECT_FALSE(UserAccess(db, prompter, session, prompt).Login());
        EXPECT_FALSE(session.logged_in);
        EXPECT_TRUE(prompt.shown_users.empty());
        EXPECT_EQ(prompter.asked(), c.boxes);
    }
}

TEST_F(UserAccessTest, WithoutADatabaseTheEmptyAccountApplies) {
    ConsoleDatabase closed;
    UserSession session;
    ScriptedPrompt prompt;
    UserAccess access(closed, prompter_, session, prompt);

    prompt.logins = {Credentials{"admin", "qvl704219"}, Credentials{"", ""}};
    EXPECT_TRUE(access.Login());
    EXPECT_EQ(prompt.shown_users, (std::vector<std::string>{"", ""}));
    EXPECT_EQ(prompter_.asked(), std::vector<BoxRequest>{NameError(2)});

    prompt.passwords = {"x", ""};
    EXPECT_FALSE(access.Logout());
    EXPECT_TRUE(session.logged_in);
    EXPECT_TRUE(access.Logout());
    EXPECT_FALSE(session.logged_in);
}

// Log-out and the password check, against the stored password "pw".
TEST_F(UserAccessTest, PasswordQuestions) {
    enum class Call { kLogout, kCheckOnClose, kCheckAlways };
    const std::optional<std::string> not_asked;  // also: cancelled
    struct Case {
        const char* what;
        Call call;
        bool logged_in;
        bool lock;
        std::optional<std::string> answer;  // nothing: the dialog is cancelled
        bool asked;
        bool result;
        bool message;
    };
    const Case cases[] = {
        {"logout, locked, right password", Call::kLogout, true, true, "pw", true, true, false},
        {"logout, locked, wrong password", Call::kLogout, true, true, "PW", true, false, true},
        {"logout, locked, cancelled", Call::kLogout, true, true, not_asked, true, false, false},
        {"logout, not locked", Call::kLogout, true, false, not_asked, false, true, false},
        {"close, logged in, locked, right", Call::kCheckOnClose, true, true, "pw", true, true,
         false},
        {"close, logged in, locked, wrong", Call::kCheckOnClose, true, true, "", true, false, true},
        {"close, logged in, locked, cancelled", Call::kCheckOnClose, true, true, not_asked, true,
         false, false},
        {"close, logged in, not locked", Call::kCheckOnClose, true, false, not_asked, false, true,
         false},
        {"close, logged out, locked", Call::kCheckOnClose, false, true, not_asked, false, true,
         false},
        {"close, logged out, not locked", Call::kCheckOnClose, false, false, not_asked, false, true,
         false},
        {"always, logged out, not locked, right", Call::kCheckAlways, false, false, "pw", true,
         true, false},
        {"always, logged in, not locked, wrong", Call::kCheckAlways, true, false, "pw ", true,
         false, true},
        {"always, logged in, locked, cancelled", Call::kCheckAlways, true, true, not_asked, true,
         false, false},
    };
    StoreAccount("admin", "pw");
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        FakePrompter prompter;
        UserSession session;
        session.logged_in = c.logged_in;
        session.lock = c.lock;
        ScriptedPrompt prompt;
        if (c.asked) prompt.passwords.push_back(c.answer);
        UserAccess access(db_, prompter, session, prompt);
        const bool result = c.call == Call::kLogout         ? access.Logout()
                            : c.call == Call::kCheckOnClose ? access.CheckPrivilege(false)
                                                            : access.CheckPrivilege(true);
        EXPECT_EQ(result, c.result);
        EXPECT_EQ(prompt.password_asks, c.asked ? 1 : 0);
        EXPECT_EQ(prompter.asked(),
                  c.message ? std::vector<BoxRequest>{kNoPermission} : std::vector<BoxRequest>{});
        const bool logged_out = c.call == Call::kLogout && c.result;
        EXPECT_EQ(session.logged_in, c.logged_in && !logged_out);
        EXPECT_EQ(session.lock, c.lock);
        EXPECT_EQ(session.check_password, c.answer.value_or(""));
    }
}

TEST_F(UserAccessTest, AnUnreadablePasswordRefusesWithoutAsking) {
    struct Case {
        const char* what;
        const char* setup;
        std::vector<BoxRequest> boxes;
    };
    const Case cases[] = {
        {"table cannot be opened", "drop table user_admin", {}},
        {"database error",
         "drop table user_admin; create table user_admin (user text, lock text);"
         "insert into user_admin values ('admin', 'TRUE');",
         {kLoadError}},
    };
    for (const Case& c : cases) {
        // Log-out reads the password even when it will not ask for it.
        for (bool lock : {true, false}) {
            SCOPED_TRACE(std::string(c.what) + (lock ? ", locked" : ", not locked"));
            TempDir dir;
            FakePrompter prompter;
            ConsoleDatabase db;
            ASSERT_TRUE(db.OpenDatabase(prompter, (dir.path() / "qavo900.db").string()));
            ASSERT_TRUE(db.Execute(c.setup));
            UserSession session;
            session.logged_in = true;
            session.lock = lock;
            ScriptedPrompt prompt;
            UserAccess access(db, prompter, session, prompt);
            EXPECT_FALSE(access.Logout());
            EXPECT_TRUE(session.logged_in);
            EXPECT_FALSE(access.CheckPrivilege(true));
            EXPECT_EQ(prompt.password_asks, 0);
            std::vector<BoxRequest> twice = c.boxes;
            twice.insert(twice.end(), c.boxes.begin(), c.boxes.end());
            EXPECT_EQ(prompter.asked(), twice);
        }
    }
}

TEST_F(UserAccessTest, AnEditedAccountTakesEffectAtTheNextQuestion) {
    StoreAccount("admin", "qvl704219");
    ASSERT_TRUE(WriteAccount(db_, prompter_, Account{"op", ""}));

    prompt_.logins = {Credentials{"admin", "qvl704219"}, Credentials{"op", ""}};
    EXPECT_TRUE(access_.Login());
    EXPECT_EQ(prompt_.shown_users, (std::vector<std::string>{"op", "op"}));
    EXPECT_EQ(prompter_.asked(), std::vector<BoxRequest>{NameError(2)});

    prompt_.passwords = {""};
    EXPECT_TRUE(access_.CheckPrivilege(true));
    prompt_.passwords = {"qvl704219"};
    EXPECT_FALSE(access_.Logout());
    prompt_.passwords = {""};
    EXPECT_TRUE(access_.Logout());
    EXPECT_FALSE(session_.logged_in);
}

}  // namespace
}  // namespace qavo::testing
