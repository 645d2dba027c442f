#include <gtest/gtest.h>

#include <QHeaderView>
#include <QLineEdit>
#include <QTableWidget>

#include "dialog_test_util.h"
#include "users/user_manger_dlg.h"

namespace qavo::testing {
namespace {

class UserMangerDlgTest : public ::testing::Test {
  protected:
    void Make(std::optional<Account> account) {
        dialog_ = std::make_unique<CUserMangerDlg>(
            std::move(account), [this](const Account& a) { applied_.push_back(a); });
        dialog_->show();
        list_ = dialog_->findChild<QTableWidget*>("accountList");
        ASSERT_NE(list_, nullptr);
    }

    QPoint CellCentre(int column) const {
        return list_->visualRect(list_->model()->index(0, column)).center();
    }
    void DoubleClickCell(int column) {
        QTest::mouseDClick(list_->viewport(), Qt::LeftButton, {}, CellCentre(column));
    }
    // A click in the list below the row.
    void ClickBelowTheRow() {
        const QRect row = list_->visualRect(list_->model()->index(0, 0));
        QTest::mouseClick(list_->viewport(), Qt::LeftButton, {}, QPoint(10, row.bottom() + 20));
    }
    QString Cell(int column) const { return list_->item(0, column)->text(); }
    QLineEdit* OpenEdit() const { return dialog_->findChild<QLineEdit*>("cellEdit"); }

    std::unique_ptr<CUserMangerDlg> dialog_;
    QTableWidget* list_ = nullptr;
    std::vector<Account> applied_;
};

TEST_F(UserMangerDlgTest, ShowsTheAccountInTwoColumns) {
    Make(Account{"admin", "qvl704219"});
    EXPECT_EQ(dialog_->windowTitle(), "User Password Modification");
    EXPECT_EQ(dialog_->palette().color(QPalette::Window), QColor(153, 153, 153));
    ASSERT_EQ(list_->columnCount(), 2);
    EXPECT_EQ(list_->horizontalHeaderItem(0)->text(), "   USER NAME");
    EXPECT_EQ(list_->horizontalHeaderItem(1)->text(), "PASSWORD");
    EXPECT_EQ(list_->columnWidth(0), 100);
    EXPECT_EQ(list_->columnWidth(1), 128);
    EXPECT_TRUE(list_->showGrid());
    EXPECT_EQ(list_->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list_->palette().color(QPalette::Base), QColor(204, 204, 204));
    EXPECT_EQ(list_->palette().color(QPalette::Text), QColor(Qt::blue));
    ASSERT_EQ(list_->rowCount(), 1);
    EXPECT_EQ(Cell(0), "admin");
    EXPECT_EQ(Cell(1), "qvl704219");
    EXPECT_EQ(OpenEdit(), nullptr);
}

TEST_F(UserMangerDlgTest, AnUnreadAccountGivesAnEmptyList) {
    Make(std::nullopt);
    EXPECT_EQ(list_->rowCount(), 0);
    DoubleClickCell(0);
    EXPECT_EQ(OpenEdit(), nullptr);
}

TEST_F(UserMangerDlgTest, ADoubleClickOpensAnEditOverTheCell) {
    Make(Account{"admin", "pw"});
    for (int column : {0, 1}) {
        SCOPED_TRACE(column);
        DoubleClickCell(column);
        QLineEdit* edit = OpenEdit();
        ASSERT_NE(edit, nullptr);
        EXPECT_EQ(edit->text(), Cell(column));
        EXPECT_FALSE(edit->hasSelectedText());
        EXPECT_EQ(edit->cursorPosition(), edit->text().size());
        EXPECT_EQ(edit->font(), list_->font());
        const QRect cell = list_->visualRect(list_->model()->index(0, column));
        EXPECT_EQ(edit->geometry(), cell.adjusted(2, 2, -2, -2));
        EXPECT_EQ(dialog_->findChildren<QLineEdit*>("cellEdit").size(), 1);
    }
}

TEST_F(UserMangerDlgTest, EditsAreWrittenBackByAClickOrAnotherDoubleClick) {
    Make(Account{"admin", "pw"});
    // Typing goes after the cell's text: the caret starts at the end.
    DoubleClickCell(0);
    ASSERT_NE(OpenEdit(), nullptr);
    QTest::keyClicks(OpenEdit(), "-2");
    EXPECT_EQ(Cell(0), "admin");  // not yet written back
    DoubleClickCell(1);
    EXPECT_EQ(Cell(0), "admin-2");
    ASSERT_NE(OpenEdit(), nullptr);
    EXPECT_EQ(OpenEdit()->text(), "pw");

    OpenEdit()->clear();
    ClickBelowTheRow();
    EXPECT_EQ(OpenEdit(), nullptr);
    EXPECT_EQ(Cell(1), "");
    EXPECT_EQ(Cell(0), "admin-2");
}

TEST_F(UserMangerDlgTest, ApplicationStoresTheTextsIncludingAnOpenEdit) {
    Make(Account{"admin", "pw"});
    DoubleClickCell(1);
    ASSERT_NE(OpenEdit(), nullptr);
    OpenEdit()->setText("");
    ClickButton(*dialog_, "applyButton");
    EXPECT_EQ(applied_, std::vector<Account>{(Account{"admin", ""})});
    EXPECT_EQ(dialog_->result(), QDialog::Accepted);
    EXPECT_FALSE(dialog_->isVisible());
}

TEST_F(UserMangerDlgTest, CancelStoresNothing) {
    Make(Account{"admin", "pw"});
    DoubleClickCell(0);
    ASSERT_NE(OpenEdit(), nullptr);
    OpenEdit()->setText("changed");
    ClickBelowTheRow();
    ClickButton(*dialog_, "cancelButton");
    EXPECT_TRUE(applied_.empty());
    EXPECT_EQ(dialog_->result(), QDialog::Rejected);
}

}  // namespace
}  // namespace qavo::testing
