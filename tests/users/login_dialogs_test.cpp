#include <gtest/gtest.h>

#include <QLabel>
#include <QLineEdit>

#include "dialog_test_util.h"
#include "users/password_check.h"
#include "users/user_login.h"
#include "widgets/shade_button.h"

namespace qavo::testing {
namespace {

QLineEdit* Edit(QWidget& dialog, const char* name) {
    auto* edit = dialog.findChild<QLineEdit*>(name);
    EXPECT_NE(edit, nullptr) << name;
    return edit;
}

QColor Grey(const QWidget& dialog) {
    return dialog.palette().color(QPalette::Window);
}

TEST(UserLoginDialogTest, OpensWithTheStoredNameAndAnEmptyHiddenPassword) {
    UserSession session;
    session.entered_password = "typed before";
    CUserLogin dialog(session, "admin");
    EXPECT_EQ(dialog.windowTitle(), "User Login");
    EXPECT_EQ(Grey(dialog), QColor(153, 153, 153));
    QLineEdit* user = Edit(dialog, "userNameEdit");
    QLineEdit* password = Edit(dialog, "passwordEdit");
    ASSERT_TRUE(user && password);
    EXPECT_EQ(user->text(), "admin");
    EXPECT_EQ(password->text(), "");
    EXPECT_EQ(password->echoMode(), QLineEdit::Password);
    EXPECT_EQ(user->echoMode(), QLineEdit::Normal);

    for (const char* name : {"userNameLabel", "passwordLabel"}) {
        auto* label = dialog.findChild<QLabel*>(name);
        ASSERT_NE(label, nullptr) << name;
        EXPECT_EQ(label->font().family(), "Arial");
        EXPECT_EQ(label->font().pointSize(), 10);
        EXPECT_EQ(label->palette().color(QPalette::WindowText), QColor(Qt::blue));
    }
    EXPECT_EQ(dialog.findChild<QLabel*>("userNameLabel")->text(), "User name:");
    EXPECT_EQ(dialog.findChild<QLabel*>("passwordLabel")->text(), "Password:");
    for (const char* name : {"okButton", "cancelButton"}) {
        auto* button = dialog.findChild<ShadeButton*>(name);
        ASSERT_NE(button, nullptr) << name;
        EXPECT_FALSE(button->icon().pixmap(16, 16).isNull()) << name;
    }
}

TEST(UserLoginDialogTest, OkStoresBothFieldsAndCancelNothing) {
    struct Case {
        const char* button;
        QDialog::DialogCode result;
        std::string user;
        std::string password;
    };
    const Case cases[] = {
        {"okButton", QDialog::Accepted, "Op Name", "pa ss"},
        {"cancelButton", QDialog::Rejected, "old user", "old password"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.button);
        UserSession session;
        session.entered_user = "old user";
        session.entered_password = "old password";
        CUserLogin dialog(session, "admin");
        dialog.show();
        QLineEdit* user = Edit(dialog, "userNameEdit");
        ASSERT_NE(user, nullptr);
        user->clear();
        QTest::keyClicks(user, "Op Name");
        QTest::keyClicks(Edit(dialog, "passwordEdit"), "pa ss");
        ClickButton(dialog, c.button);
        EXPECT_EQ(dialog.result(), c.result);
        EXPECT_FALSE(dialog.isVisible());
        EXPECT_EQ(session.entered_user, c.user);
        EXPECT_EQ(session.entered_password, c.password);
        EXPECT_FALSE(session.logged_in);
    }
}

TEST(PasswordCheckDialogTest, StartsEmptyEachTimeAndOkStoresThePassword) {
    UserSession session;
    for (const char* typed : {"first", ""}) {
        SCOPED_TRACE(typed);
        CPasswordCheck dialog(session);
        dialog.show();
        EXPECT_EQ(dialog.windowTitle(), "User Password Check");
        EXPECT_EQ(Grey(dialog), QColor(153, 153, 153));
        QLineEdit* password = Edit(dialog, "passwordEdit");
        ASSERT_NE(password, nullptr);
        EXPECT_EQ(password->text(), "");
        EXPECT_EQ(password->echoMode(), QLineEdit::Password);
        auto* label = dialog.findChild<QLabel*>("passwordLabel");
        ASSERT_NE(label, nullptr);
        EXPECT_EQ(label->text(), "Password:");
        EXPECT_EQ(label->font().family(), "Courier New");
        EXPECT_EQ(label->font().pointSize(), 10);
        QTest::keyClicks(password, typed);
        ClickButton(dialog, "okButton");
        EXPECT_EQ(dialog.result(), QDialog::Accepted);
        EXPECT_EQ(session.check_password, typed);
    }
}

TEST(PasswordCheckDialogTest, CancelKeepsTheLastPassword) {
    UserSession session;
    session.check_password = "kept";
    CPasswordCheck dialog(session);
    dialog.show();
    QTest::keyClicks(Edit(dialog, "passwordEdit"), "other");
    ClickButton(dialog, "cancelButton");
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(session.check_password, "kept");
}

}  // namespace
}  // namespace qavo::testing
