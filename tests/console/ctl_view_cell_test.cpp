// The cell button of the zone list.
#include <QPushButton>

#include "ctl_view_fixture.h"
#include "link/frame.h"

namespace qavo {
namespace {

TEST_F(CtlViewTest, CellButtonOpensSendsAndCloses) {
    View();
    ZoneList* zones = Zones();
    const QRect cell = CellRect(1, 3);
    ClickZoneList(cell.center());
    QPushButton* button = view->findChild<QPushButton*>("cellButton");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "ZONE 02");
    EXPECT_EQ(button->geometry(), QRect(cell.x() + 24, cell.y(), cell.width() - 24, cell.height()));
    EXPECT_EQ(zones->cellButtonCell(), (CellRef{1, 3}));

    QTest::mouseClick(button, Qt::LeftButton);
    auto queued = TakeJobs();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].job_op, CELL_COMMAND);
    EXPECT_EQ(queued[0].job_param, 1);
    EXPECT_EQ(queued[0].job_param2, 3);

    // The same cell again (on its image): the button stays and takes the focus.
    GroupList()->setFocus();
    ASSERT_FALSE(button->hasFocus());
    ClickZoneList(QPoint(cell.x() + 8, cell.center().y()));
    EXPECT_EQ(zones->cellButtonCell(), (CellRef{1, 3}));
    EXPECT_TRUE(button->hasFocus());

    // A status update keeps the button over its cell.
    view->notify(WM_STATUS_CHANGED, 0);
    EXPECT_EQ(view->findChild<QPushButton*>("cellButton"), button);

    // Closing writes the caption back to the cell.
    button->setText("ZONE 02*");
    ClickZoneList(CellRect(0, 1).center());
    EXPECT_EQ(view->findChild<QPushButton*>("cellButton"), nullptr);
    EXPECT_EQ(zones->topLevelItem(1)->text(3), "ZONE 02*");
    EXPECT_FALSE(zones->cellButtonCell().has_value());
}

TEST_F(CtlViewTest, CellButtonClosesOnEveryOtherClick) {
    View();
    QTreeWidget* groups = GroupList();
    const auto open = [&] {
        ClickZoneList(CellRect(0, 2).center());
        ASSERT_NE(view->findChild<QPushButton*>("cellButton"), nullptr);
    };
    const auto closed = [&] { return view->findChild<QPushButton*>("cellButton") == nullptr; };

    open();
    ClickZoneList(CellRect(2, 9).center());  // another zone cell
    EXPECT_TRUE(closed());
    open();
    const QPoint below_rows(CellRect(0, 5).center().x(), CellRect(2, 5).bottom() + 40);
    ClickZoneList(below_rows);  // empty space
    EXPECT_TRUE(closed());
    open();
    ClickGroup(0);
    EXPECT_TRUE(closed());
    ClickGroup(0, Qt::ControlModifier);  // back to no selection: group view remains
    open();
    DoubleClick(groups->viewport(), QPoint(20, 200));
    EXPECT_TRUE(closed());
    open();
    DoubleClick(Zones()->viewport(), below_rows);
    EXPECT_TRUE(closed());
    // A double click on a zone's image: its first click opens the button,
    // the double click closes it for good.
    const QPoint image_spot(CellRect(0, 2).x() + 8, CellRect(0, 2).center().y());
    ClickZoneList(image_spot);
    ASSERT_FALSE(closed());
    DoubleClick(Zones()->viewport(), image_spot);
    EXPECT_TRUE(closed());
    // Clicks on the host column never open one.
    ClickZoneList(CellRect(0, 1).center());
    EXPECT_TRUE(closed());
    EXPECT_TRUE(TakeJobs().empty());
}

TEST_F(CtlViewTest, GroupViewCellButtonUsesListPositions) {
    View();
    ClickGroup(2);  // host 3 only, zone 8 in the first zone column
    ClickZoneList(CellRect(0, 3).center());
    EXPECT_EQ(view->findChild<QPushButton*>("cellButton"), nullptr);
    ClickZoneList(CellRect(0, 2).center());
    QPushButton* button = view->findChild<QPushButton*>("cellButton");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(button->text(), "ZONE 08");
    button->click();
    const auto queued = TakeJobs();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].job_param, 0);
    EXPECT_EQ(queued[0].job_param2, 2);
}
}  // namespace
}  // namespace qavo
