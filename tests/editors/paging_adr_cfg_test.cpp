#include "editors/paging_adr_cfg.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QTableWidget>

#include "support/fake_prompter.h"
#include "users/dialog_test_util.h"

namespace qavo::testing {
namespace {

class PagingAdrCfgTest : public ::testing::Test {
  protected:
    PagingAdrCfgTest() {
        input_.count = 3;
        input_.types = {1, 2, 0};
        input_.addresses = {1, 2, 255};
        input_.types[10] = 2;
        input_.addresses[10] = 77;
        input_.image_types = input_.types;
        input_.image_addresses = input_.addresses;
        dialog_.setInput(input_);
        dialog_.resize(700, 500);
        connect_ = QObject::connect(&dialog_, &QDialog::accepted, [this] { ++accepted_; });
        dialog_.open();
        table_ = dialog_.findChild<QTableWidget*>("addressTable");
    }
    ~PagingAdrCfgTest() override { QObject::disconnect(connect_); }

    QRect CellRect(int row, int column) const {
        return table_->visualRect(table_->model()->index(row, column));
    }
    void DoubleClickCell(int row, int column) {
        QTest::mouseDClick(table_->viewport(), Qt::LeftButton, {}, CellRect(row, column).center());
    }
    void ClickBelowTheRows() {
        QTest::mouseClick(table_->viewport(), Qt::LeftButton, {},
                          QPoint(10, CellRect(2, 0).bottom() + 20));
    }
    QString Cell(int row, int column) const { return table_->item(row, column)->text(); }
    QComboBox* Combo() const { return dialog_.findChild<QComboBox*>("cellCombo"); }
    // Picks `index` in the open list as the operator would once it is dropped down.
    void Pick(int index) {
        QComboBox* combo = Combo();
        ASSERT_NE(combo, nullptr);
        combo->hidePopup();
        combo->setCurrentIndex(index);
    }

    FakePrompter prompter_;
    CPagingAdrCfg dialog_{prompter_};
    PagingAdrInput input_;
    QTableWidget* table_ = nullptr;
    int accepted_ = 0;
    QMetaObject::Connection connect_;
};

TEST_F(PagingAdrCfgTest, ShowsTheConsolesInTheListLook) {
    ASSERT_NE(table_, nullptr);
    EXPECT_EQ(dialog_.windowTitle(), "Paging Address Configuration");
    EXPECT_EQ(dialog_.palette().color(QPalette::Window), QColor(153, 153, 153));
    EXPECT_EQ(table_->palette().color(QPalette::Base), QColor(204, 204, 204));
    EXPECT_EQ(table_->palette().color(QPalette::Text), QColor(Qt::blue));
    EXPECT_TRUE(table_->showGrid());
    EXPECT_EQ(table_->selectionBehavior(), QAbstractItemView::SelectRows);
    ASSERT_EQ(table_->rowCount(), 3);
    EXPECT_EQ(table_->horizontalHeaderItem(3)->text(), "ADDRESS");
    EXPECT_EQ(Cell(0, 1), "Paing 01");
    EXPECT_EQ(Cell(1, 2), "Touch paing");
    EXPECT_EQ(Cell(2, 3), "255");
    EXPECT_TRUE(table_->item(0, 0)->textAlignment() & Qt::AlignHCenter);
    EXPECT_FALSE(table_->item(0, 2)->textAlignment() & Qt::AlignHCenter);
    // The columns keep their tenths of the table as the dialog grows.
    for (QSize size : {QSize(700, 500), QSize(1000, 700)}) {
        dialog_.resize(size);
        const int width = table_->viewport()->width();
        SCOPED_TRACE(width);
        EXPECT_EQ(table_->columnWidth(0), width / 10);
        EXPECT_EQ(table_->columnWidth(1), width * 2 / 10);
        EXPECT_EQ(table_->columnWidth(3), width * 2 / 10);
    }
    EXPECT_NE(dialog_.findChild<QPushButton*>("okButton"), nullptr);
    EXPECT_NE(dialog_.findChild<QPushButton*>("cancelButton"), nullptr);
}

TEST_F(PagingAdrCfgTest, ListsOverTheCellsSetTheValuesThatOkHandsBack) {
    DoubleClickCell(0, 2);
    QComboBox* combo = Combo();
    ASSERT_NE(combo, nullptr);
    EXPECT_EQ(combo->parentWidget(), table_->viewport());
    EXPECT_EQ(combo->geometry(), CellRect(0, 2));
    EXPECT_EQ(combo->font(), table_->font());
    EXPECT_TRUE(combo->view()->isVisible());  // dropped down
    EXPECT_EQ(combo->count(), 3);
    EXPECT_EQ(combo->currentText(), "Fire paging");
    Pick(2);
    EXPECT_EQ(Cell(0, 2), "Fire paing");  // not written before it is committed

    // A double click on another list cell commits the first one.
    DoubleClickCell(1, 3);
    EXPECT_EQ(Cell(0, 2), "Touch paging");
    ASSERT_NE(Combo(), nullptr);
    EXPECT_EQ(dialog_.findChildren<QComboBox*>("cellCombo").size(), 1);
    EXPECT_EQ(Combo()->geometry(), CellRect(1, 3));
    EXPECT_EQ(Combo()->currentText(), "02");
    Pick(2);
    ClickBelowTheRows();
    EXPECT_EQ(Combo(), nullptr);
    EXPECT_EQ(Cell(1, 3), "03");

    // A list still open on "OK" is dropped.
    DoubleClickCell(2, 2);
    Pick(1);
    ClickButton(dialog_, "okButton");
    EXPECT_EQ(accepted_, 1);
    EXPECT_FALSE(dialog_.isVisible());
    EXPECT_EQ(Combo(), nullptr);
    std::array<uint8_t, 32> types = input_.types;
    types[0] = 2;
    std::array<uint8_t, 32> addresses = input_.addresses;
    addresses[1] = 3;  // and 255 stays 255
    EXPECT_EQ(dialog_.types(), types);
    EXPECT_EQ(dialog_.addresses(), addresses);
    EXPECT_TRUE(prompter_.asked().empty());
}

TEST_F(PagingAdrCfgTest, CancelAfterAChangeAsksBeforeGivingUp) {
    DoubleClickCell(1, 2);
    Pick(0);
    ClickBelowTheRows();
    prompter_.Script({BoxAnswer::kCancel, BoxAnswer::kOk});
    ClickButton(dialog_, "cancelButton");
    EXPECT_TRUE(dialog_.isVisible());
    EXPECT_EQ(Cell(1, 2), "Business paging");
    ClickButton(dialog_, "cancelButton");
    EXPECT_FALSE(dialog_.isVisible());
    EXPECT_EQ(dialog_.result(), QDialog::Rejected);
    EXPECT_EQ(accepted_, 0);
    const std::vector<BoxRequest> asked = prompter_.asked();
    ASSERT_EQ(asked.size(), 2u);
    EXPECT_EQ(asked[0].text, "Are you sure you give up the current configuration?");
    EXPECT_EQ(asked[0].caption, "QAVO system grouping configuration");
    EXPECT_EQ(asked[0].buttons, BoxButtons::kOkCancel);
}

}  // namespace
}  // namespace qavo::testing
