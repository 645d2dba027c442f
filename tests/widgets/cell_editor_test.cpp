#include "widgets/cell_editor.h"

#include "users/dialog_test_util.h"

#include <gtest/gtest.h>

#include <QAbstractItemView>
#include <QComboBox>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QSignalSpy>
#include <QTableWidget>
#include <QTreeWidget>
#include <QtTest/QTest>
#include <functional>
#include <memory>

namespace qavo {
namespace {

// A tree list and a table, each with a font of its own, as the report
// lists of the editors are.
std::unique_ptr<QTreeWidget> MakeTree() {
    auto tree = std::make_unique<QTreeWidget>();
    tree->setColumnCount(3);
    tree->setRootIsDecorated(false);
    for (int row = 0; row < 40; ++row)
        new QTreeWidgetItem(tree.get(), {QString::number(row), "Group", "Name"});
    QFont font = tree->font();
    font.setPointSize(font.pointSize() + 3);
    tree->setFont(font);
    tree->resize(400, 200);
    tree->show();
    return tree;
}

std::unique_ptr<QTableWidget> MakeTable() {
    auto table = std::make_unique<QTableWidget>(5, 3);
    for (int row = 0; row < 5; ++row)
        table->setItem(row, 2, new QTableWidgetItem("High"));
    QFont font = table->font();
    font.setItalic(true);
    table->setFont(font);
    table->resize(400, 300);
    table->show();
    return table;
}

TEST(CellEditorTest, AnEditBoxCoversTheCellAndWritesNothingBack) {
    auto tree = MakeTree();
    CellEditor cell;
    QSignalSpy edited(&cell, &CellEditor::lineEdited);
    const QModelIndex index = tree->model()->index(2, 2);
    QLineEdit* edit = cell.OpenLineEdit(tree.get(), index, "Name");
    ASSERT_NE(edit, nullptr);
    EXPECT_EQ(edit->objectName(), "cellEdit");
    EXPECT_EQ(edit->parentWidget(), tree->viewport());
    EXPECT_EQ(edit->geometry(), tree->visualRect(index));
    EXPECT_EQ(edit->font(), tree->font());
    EXPECT_EQ(edit->cursorPosition(), 4);
    EXPECT_TRUE(cell.isOpen());
    EXPECT_EQ(cell.index(), index);

    QTest::keyClicks(edit, "-2");
    EXPECT_EQ(cell.text(), "Name-2");
    EXPECT_EQ(edited.count(), 2);
    EXPECT_EQ(cell.currentIndex(), -1);
    EXPECT_EQ(tree->topLevelItem(2)->text(2), "Name");

    cell.Close();
    EXPECT_FALSE(cell.isOpen());
    EXPECT_EQ(tree->findChild<QLineEdit*>("cellEdit"), nullptr);
    EXPECT_EQ(cell.text(), "");
    EXPECT_EQ(tree->topLevelItem(2)->text(2), "Name");
}

TEST(CellEditorTest, TheControlFollowsItsCell) {
    auto tree = MakeTree();
    CellEditor cell;
    const QModelIndex index = tree->model()->index(3, 1);
    QLineEdit* edit = cell.OpenLineEdit(tree.get(), index, "x");
    const QRect before = edit->geometry();
    struct Change {
        const char* name;
        std::function<void()> apply;
    };
    const Change changes[] = {
        {"an earlier column widens", [&] { tree->setColumnWidth(0, tree->columnWidth(0) + 30); }},
        {"the cell's column narrows", [&] { tree->setColumnWidth(1, 40); }},
        {"the list scrolls", [&] { tree->verticalScrollBar()->setValue(2); }},
    };
    for (const Change& change : changes) {
        SCOPED_TRACE(change.name);
        change.apply();
        EXPECT_EQ(edit->geometry(), tree->visualRect(index));
    }
    EXPECT_NE(edit->geometry(), before);
}

TEST(CellEditorTest, ADropDownListOpensOnItsEntry) {
    struct Case {
        const char* name;
        int selected;
        bool dropped_down;
        int current;
    };
    const Case cases[] = {
        {"an entry, dropped down", 1, true, 1},
        {"no entry, closed", -1, false, -1},
        {"an entry beyond the list", 5, false, -1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        auto table = MakeTable();
        CellEditor cell;
        QSignalSpy moved(&cell, &CellEditor::comboIndexChanged);
        const QModelIndex index = table->model()->index(1, 2);
        QComboBox* combo =
            cell.OpenCombo(table.get(), index, {"Low", "High", "Top"}, c.selected, c.dropped_down);
        ASSERT_NE(combo, nullptr);
        EXPECT_EQ(combo->objectName(), "cellCombo");
        EXPECT_EQ(combo->geometry(), table->visualRect(index));
        EXPECT_EQ(combo->font(), table->font());
        EXPECT_EQ(combo->view()->isVisible(), c.dropped_down);
        EXPECT_EQ(cell.currentIndex(), c.current);
        EXPECT_EQ(moved.count(), 0);  // opening is not a move of the operator's

        combo->hidePopup();
        combo->setCurrentIndex(2);
        ASSERT_EQ(moved.count(), 1);
        EXPECT_EQ(moved.at(0).at(0).toInt(), 2);
        EXPECT_EQ(cell.text(), "Top");
        EXPECT_EQ(table->item(1, 2)->text(), "High");
    }
}

TEST(CellEditorTest, OpeningAnotherReplacesTheOpenControl) {
    auto table = MakeTable();
    CellEditor cell;
    cell.OpenCombo(table.get(), table->model()->index(0, 2), {"A"}, 0, false);
    QLineEdit* edit = cell.OpenLineEdit(table.get(), table->model()->index(3, 1), "t");
    EXPECT_EQ(table->findChild<QComboBox*>("cellCombo"), nullptr);
    EXPECT_EQ(table->findChildren<QLineEdit*>("cellEdit").size(), 1);
    EXPECT_EQ(cell.lineEdit(), edit);
    EXPECT_EQ(cell.combo(), nullptr);
    EXPECT_EQ(cell.index(), table->model()->index(3, 1));
}

}  // namespace
}  // namespace qavo
