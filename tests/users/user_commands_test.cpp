#include <gtest/gtest.h>

#include <QLineEdit>
#include <QTableWidget>

#include "dialog_test_util.h"
#include "persistence/db_test_util.h"
#include "users/dialog_credentials_prompt.h"
#include "users/user_commands.h"

namespace qavo::testing {
namespace {

// The user commands with the real dialogs, answered as an operator would.
class UserCommandsTest : public DatabaseFixture {
  protected:
    void SetUp() override { Open(); }
    Rows Accounts() const { return QuerySql(file(), "select * from user_admin"); }

    // In the account editor: double click a cell, replace its text, click
    // below the row.
    static void EditCell(QDialog& dialog, int column, const QString& text) {
        auto* list = dialog.findChild<QTableWidget*>("accountList");
        ASSERT_NE(list, nullptr);
        ASSERT_EQ(list->rowCount(), 1);
        const QRect cell = list->visualRect(list->model()->index(0, column));
        QTest::mouseDClick(list->viewport(), Qt::LeftButton, {}, cell.center());
        auto* edit = dialog.findChild<QLineEdit*>("cellEdit");
        ASSERT_NE(edit, nullptr);
        edit->setText(text);
        QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(5, cell.bottom() + 20));
    }

    static void Type(QDialog& dialog, const char* edit_name, const QString& text) {
        auto* edit = dialog.findChild<QLineEdit*>(edit_name);
        ASSERT_NE(edit, nullptr) << edit_name;
        edit->setText(text);
    }

    UserSession session_;
    DialogCredentialsPrompt prompt_{session_, nullptr};
    UserCommands commands_{db_, prompter_, session_, prompt_, nullptr};
};

TEST_F(UserCommandsTest, AnEditedAccountWithAnEmptyPasswordLogsIn) {
    ExecSql(file(), "insert into user_admin values ('admin', 'qvl704219', 'TRUE');");
    AnswerNextDialog([](QDialog& dialog) {
        EditCell(dialog, 0, "op");
        EditCell(dialog, 1, "");
        ClickButton(dialog, "applyButton");
    });
    commands_.EditAccount();
    EXPECT_EQ(Accounts(), (Rows{{"op", "", "TRUE"}}));

    QString shown_user = "?", shown_password = "?";
    AnswerNextDialog([&](QDialog& dialog) {
        EXPECT_EQ(dialog.windowTitle(), "User Login");
        shown_user = dialog.findChild<QLineEdit*>("userNameEdit")->text();
        shown_password = dialog.findChild<QLineEdit*>("passwordEdit")->text();
        ClickButton(dialog, "okButton");
    });
    EXPECT_TRUE(commands_.Login());
    EXPECT_EQ(shown_user, "op");
    EXPECT_EQ(shown_password, "");
    EXPECT_TRUE(session_.logged_in);
    EXPECT_EQ(session_.entered_user, "op");
    EXPECT_TRUE(prompter_.asked().empty());
}

TEST_F(UserCommandsTest, TheEditorOnAnEmptyTableFailsToStore) {
    AnswerNextDialog([](QDialog& dialog) {
        EditCell(dialog, 0, "op");
        ClickButton(dialog, "applyButton");
    });
    commands_.EditAccount();
    const BoxRequest exchange_error{"Error with database exchange data.", kAppTitle};
    EXPECT_EQ(prompter_.asked(), std::vector<BoxRequest>{exchange_error});
    EXPECT_TRUE(Accounts().empty());
}

TEST_F(UserCommandsTest, CancellingTheEditorStoresNothing) {
    ExecSql(file(), "insert into user_admin values ('admin', 'qvl704219', 'FALSE');");
    AnswerNextDialog([](QDialog& dialog) {
        EditCell(dialog, 1, "new");
        ClickButton(dialog, "cancelButton");
    });
    commands_.EditAccount();
    EXPECT_EQ(Accounts(), (Rows{{"admin", "qvl704219", "FALSE"}}));
}

TEST_F(UserCommandsTest, LogoutAsksThePasswordDialog) {
    ExecSql(file(), "insert into user_admin values ('admin', 'pw', 'TRUE');");
    session_.logged_in = true;
    struct Case {
        const char* button;
        QString typed;
        bool logged_out;
        std::size_t messages;
    };
    const Case cases[] = {
        {"cancelButton", "pw", false, 0},
        {"okButton", "pw2", false, 1},
        {"okButton", "pw", true, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.typed.toStdString() + " " + c.button);
        AnswerNextDialog([&](QDialog& dialog) {
            EXPECT_EQ(dialog.windowTitle(), "User Password Check");
            Type(dialog, "passwordEdit", c.typed);
            ClickButton(dialog, c.button);
        });
        EXPECT_EQ(commands_.Logout(), c.logged_out);
        EXPECT_EQ(session_.logged_in, !c.logged_out);
        EXPECT_EQ(prompter_.asked().size(), c.messages);
    }
}

TEST_F(UserCommandsTest, CheckPrivilegeWithTheDialog) {
    ExecSql(file(), "insert into user_admin values ('admin', 'pw', 'FALSE');");
    session_.lock = false;
    // Closing needs no password without the lock; the protected items always do.
    EXPECT_TRUE(commands_.CheckPrivilege(false));
    AnswerNextDialog([](QDialog& dialog) {
        Type(dialog, "passwordEdit", "pw");
        ClickButton(dialog, "okButton");
    });
    EXPECT_TRUE(commands_.CheckPrivilege(true));
    EXPECT_EQ(session_.check_password, "pw");
    EXPECT_TRUE(prompter_.asked().empty());
}

}  // namespace
}  // namespace qavo::testing
