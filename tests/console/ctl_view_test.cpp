// The control view: lists, buttons, notifications, lamps, menu and layout.
#include <QAction>
#include <QGroupBox>
#include <QLabel>
#include <QMenu>
#include <QPushButton>

#include "ctl_view_fixture.h"
#include "link/frame.h"

namespace qavo {
namespace {

TEST_F(CtlViewTest, StartsWithTheGroupsAndTheAllZonesView) {
    CCtlView& v = View();
    EXPECT_EQ(v.viewId(), 101);

    QTreeWidget* groups = GroupList();
    ASSERT_EQ(groups->topLevelItemCount(), 3);
    EXPECT_EQ(groups->headerItem()->text(1), " GROUP ID");
    EXPECT_EQ(groups->headerItem()->text(2), "GROUP NAME");
    EXPECT_EQ(groups->topLevelItem(0)->text(1), "      01");
    EXPECT_EQ(groups->topLevelItem(1)->text(2), "Hall B");
    EXPECT_EQ(groups->topLevelItem(2)->text(2), "Garage");
    EXPECT_TRUE(groups->isColumnHidden(0));
    EXPECT_EQ(groups->selectionMode(), QAbstractItemView::ExtendedSelection);

    ZoneList* zones = Zones();
    EXPECT_EQ(zones->headerItem()->text(1), " HOST ID");
    EXPECT_EQ(zones->headerItem()->text(2), "         ");
    EXPECT_EQ(ZoneTable(), kAllZonesIdle);
    EXPECT_FALSE(zones->topLevelItem(0)->icon(2).isNull());

    for (QTreeWidget* list : {groups, static_cast<QTreeWidget*>(zones)}) {
        EXPECT_EQ(list->palette().color(QPalette::Base), QColor(204, 204, 204));
        EXPECT_EQ(list->palette().color(QPalette::Text), QColor(0, 0, 255));
    }
    EXPECT_EQ(v.palette().color(QPalette::Window), QColor(153, 153, 153));
    EXPECT_EQ(Find<QGroupBox>("systemBox")->title(), "SYSTEM ");
    EXPECT_EQ(Find<QGroupBox>("lineBox")->title(), "LINE INPUT AUDIO");
    EXPECT_TRUE(prompter.asked().empty());
    EXPECT_TRUE(TakeJobs().empty());
}

TEST_F(CtlViewTest, ButtonsCarryTheirTintsTextsAndPictures) {
    View();
    struct Expect {
        const char* name;
        const char* text;
        QColor tint;
        bool icon;
    };
    const Expect expected[] = {
        {"qavoButton", "QAVO", {255, 55, 55}, false},
        {"alertButton", "ALERT", {255, 255, 100}, false},
        {"line1Button", "LINE 01", {55, 255, 55}, false},
        {"line6Button", "LINE 06", {55, 255, 55}, false},
        {"allZonesButton", "ALL ZONES", {55, 255, 255}, true},
        {"ackResetButton", "ACK / RESET", {55, 55, 255}, true},
        {"offButton", "OFF", {255, 102, 0}, true},
    };
    for (const Expect& e : expected) {
        ShadeButton* b = Button(e.name);
        ASSERT_NE(b, nullptr);
        EXPECT_EQ(b->text(), e.text) << e.name;
        EXPECT_EQ(b->tint(), e.tint) << e.name;
        EXPECT_EQ(!b->icon().isNull(), e.icon) << e.name;
        EXPECT_EQ(b->dot().has_value(), !e.icon) << e.name;
    }
}

TEST_F(CtlViewTest, GroupClickShowsItsZonesAndQavoSendsThem) {
    SetFlags(kFlagEmergency);
    View();
    ClickGroup(1);
    EXPECT_EQ(ZoneTable(), (std::vector<std::vector<std::string>>{{"    01", "ZONE 05:0"},
                                                                  {"    02", "ZONE 01:0"}}));
    ClickGroup(2, Qt::ControlModifier);
    EXPECT_EQ(view->panel().last_group(), 2);
    EXPECT_EQ(ZoneTable(),
              (std::vector<std::vector<std::string>>{
                  {"    01", "ZONE 05:0"}, {"    02", "ZONE 01:0"}, {"    03", "ZONE 08:4"}}));

    QTest::mouseClick(Button("qavoButton"), Qt::LeftButton);

    const auto queued = TakeJobs();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].job_kind, JobKind::kAudioControl);
    EXPECT_EQ(queued[0].job_param, 1);
    const AudioRequest expected{0x22, 0x10, 0x01, 0x80};
    EXPECT_EQ(queued[0].audio_request, expected);
    EXPECT_TRUE(GroupList()->selectedItems().isEmpty());
    EXPECT_EQ(ZoneTable(), kAllZonesIdle);
    EXPECT_EQ(view->panel().last_group(), -1);
    EXPECT_TRUE(prompter.asked().empty());
}

TEST_F(CtlViewTest, RefusalsAskTheOperatorAndSendNothing) {
    struct Case {
        const char* button;
        uint8_t flags;
        bool select_group;
        const char* text;
        bool groups_left;
    };
    const Case cases[] = {
        {"qavoButton", kFlagEmergency, false, "Please select a valid group!", false},
        {"alertButton", kFlagEmergency, false, "Please select a valid group!", false},
        {"offButton", kFlagEmergency, false, "Please select a valid group!", false},
        {"qavoButton", kFlagFault, true,
         "The operation is not valid. Please enter the emergency mode and try again!", false},
        {"alertButton", 0, true,
         "The operation is not valid. Please enter the emergency mode and try again!", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.button) + " " + c.text);
        SetFlags(c.flags);
        View();
        if (c.select_group) ClickGroup(0);
        const size_t asked_before = prompter.asked().size();
        QTest::mouseClick(Button(c.button), Qt::LeftButton);
        const auto asked = prompter.asked();
        ASSERT_EQ(asked.size(), asked_before + 1);
        EXPECT_EQ(asked.back(),
                  (BoxRequest{c.text, "Zones control", BoxButtons::kOk, BoxIcon::kWarning}));
        EXPECT_TRUE(TakeJobs().empty());
        EXPECT_EQ(!GroupList()->selectedItems().isEmpty(), c.groups_left);
    }
}

TEST_F(CtlViewTest, LineButtonsWithAndWithoutGroups) {
    View();
    ClickGroup(0);
    QTest::mouseClick(Button("line3Button"), Qt::LeftButton);
    QTest::mouseClick(Button("line4Button"), Qt::LeftButton);
    const auto queued = TakeJobs();
    ASSERT_EQ(queued.size(), 2u);
    EXPECT_EQ(queued[0].job_param, 1);
    EXPECT_EQ(queued[0].audio_request, (AudioRequest{0x27, 0x03}));
    EXPECT_EQ(queued[1].job_param, 2);  // no group: the last zones again
    EXPECT_EQ(queued[1].audio_request, (AudioRequest{0x28, 0x03}));
    EXPECT_TRUE(prompter.asked().empty());
}

TEST_F(CtlViewTest, EmptySpaceInTheGroupListReturnsToAllZones) {
    View();
    ClickGroup(2);
    ASSERT_EQ(ZoneTable().size(), 1u);
    QTreeWidget* list = GroupList();
    const QRect last = list->visualItemRect(list->topLevelItem(2));
    QTest::mouseClick(list->viewport(), Qt::LeftButton, {}, QPoint(20, last.bottom() + 40));
    EXPECT_TRUE(list->selectedItems().isEmpty());
    EXPECT_EQ(view->panel().last_group(), -1);
    EXPECT_EQ(ZoneTable(), kAllZonesIdle);
}

TEST_F(CtlViewTest, AllZonesSelectsEveryGroupThenNone) {
    View();
    ClickGroup(1);
    ShadeButton* all = Button("allZonesButton");
    QTest::mouseClick(all, Qt::LeftButton);
    EXPECT_EQ(GroupList()->selectedItems().size(), 3);
    EXPECT_EQ(view->panel().last_group(), -1);
    EXPECT_EQ(ZoneTable(), kAllZonesIdle);
    QTest::mouseClick(all, Qt::LeftButton);
    EXPECT_TRUE(GroupList()->selectedItems().isEmpty());
    EXPECT_TRUE(TakeJobs().empty());
}

TEST_F(CtlViewTest, AckResetOnlyForAnUnacknowledgedFault) {
    View();
    for (uint8_t flags : {0x00, 0x02, 0x05, 0x01, 0x03}) {
        SetFlags(flags);
        QTest::mouseClick(Button("ackResetButton"), Qt::LeftButton);
    }
    // Only the last two presses met a fault that was not acknowledged.
    ASSERT_EQ(sent_to_main.size(), 2u);
    EXPECT_EQ(sent_to_main[0].first, WM_ACK_RESET);
    EXPECT_EQ(sent_to_main[1].first, WM_ACK_RESET);
    EXPECT_TRUE(TakeJobs().empty());
}

TEST_F(CtlViewTest, NotificationsRefreshDotsAndZones) {
    View();
    EXPECT_EQ(Button("qavoButton")->dot(), DotColour(StateDot::kGrey));
    const auto set_live = [this](uint8_t main_source, uint8_t lines, uint8_t on_air) {
        auto lock = model.Lock();
        model.live.audio_source[0] = main_source;
        model.live.qavo_message_count = main_source == 0x23 ? 0 : 1;
        model.live.zone_lines[0][1] = lines;  // 0x20: host 1, zone 4, line A open
        model.live.zones_on_air[1] = on_air;  // host 2, zone 1
        model.live.audio_source[1] = 0x26;
    };

    set_live(0x23, 0x20, 0x01);
    view->notify(WM_SOURCES_CHANGED, 0);
    EXPECT_EQ(Button("qavoButton")->dot(), DotColour(StateDot::kYellow));
    EXPECT_EQ(Button("alertButton")->dot(), DotColour(StateDot::kGreen));
    EXPECT_EQ(Button("line2Button")->dot(), DotColour(StateDot::kGrey));
    EXPECT_EQ(ZoneTable(), kAllZonesIdle);  // the dots only

    for (WindowMessage message : {WM_FLAGS_CHANGED, WM_STATUS_CHANGED}) {
        set_live(0x26, 0x20, 0x01);
        view->notify(message, 0);
        EXPECT_EQ(ZoneTable()[0][4], "ZONE 04:3") << message;
        EXPECT_EQ(ZoneTable()[1][1], "ZONE 01:1") << message;
        EXPECT_EQ(Button("line2Button")->dot(), DotColour(StateDot::kGrey)) << message;
        set_live(0x00, 0x00, 0x00);
        view->notify(message, 0);
        EXPECT_EQ(ZoneTable(), kAllZonesIdle) << message;
    }
    view->notify(WM_SOURCES_CHANGED, 0);
    set_live(0x26, 0, 0);
    view->notify(WM_SOURCES_CHANGED, 0);
    EXPECT_EQ(Button("line2Button")->dot(), DotColour(StateDot::kGreen));
}

TEST_F(CtlViewTest, LampsBlinkOnTheirTicks) {
    SetFlags(kFlagFault | kFlagEmergency);
    View();
    QLabel* fault = Find<QLabel>("faultLamp");
    QLabel* emergency = Find<QLabel>("emergencyLamp");
    // The pictures start from the flags, the blink phases dark.
    EXPECT_TRUE(fault->property("lit").toBool());
    EXPECT_TRUE(emergency->property("lit").toBool());
    EXPECT_FALSE(view->faultLampLit());
    EXPECT_FALSE(fault->pixmap().isNull());

    std::vector<bool> fault_seen, emergency_seen;
    for (uint8_t flags : {0x03, 0x03, 0x07, 0x05, 0x00}) {
        SetFlags(flags);
        view->tickFaultLamp();
        view->tickEmergencyLamp();
        fault_seen.push_back(fault->property("lit").toBool());
        emergency_seen.push_back(emergency->property("lit").toBool());
        EXPECT_EQ(view->faultLampLit(), fault_seen.back());
        EXPECT_EQ(view->emergencyLampLit(), emergency_seen.back());
    }
    EXPECT_EQ(fault_seen, (std::vector<bool>{true, false, true, true, false}));
    EXPECT_EQ(emergency_seen, (std::vector<bool>{true, false, true, false, false}));
}

TEST_F(CtlViewTest, ReflashFromTheContextMenu) {
    View();
    QMenu* menu = view->contextMenu();
    ASSERT_NE(menu, nullptr);
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), "Reflash");
    menu->actions()[0]->trigger();
    const auto queued = TakeJobs();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].job_kind, JobKind::kSingle);
    EXPECT_EQ(queued[0].job_op, READ_STATUS);
    EXPECT_EQ(queued[0].job_param, 255);
}
// Everything on the right fits the view and no text is cut off, on the
// client areas a 1280x800 and a 1920x1080 screen leave.
TEST_F(CtlViewTest, LayoutFitsAndTextsAreWhole) {
    for (QSize size : {QSize(1060, 660), QSize(1700, 930)}) {
        SCOPED_TRACE(size.width());
        CCtlView& v = View(size);
        const QRect area = v.rect();
        for (ShadeButton* b : v.findChildren<ShadeButton*>()) {
            EXPECT_TRUE(area.contains(b->geometry())) << b->objectName().toStdString();
            EXPECT_LE(b->sizeHint().width(), b->width()) << b->objectName().toStdString();
            EXPECT_LE(b->fontMetrics().height(), b->height() - 8);
            const QGroupBox* box = nullptr;
            for (QGroupBox* candidate : v.findChildren<QGroupBox*>()) {
                if (candidate->geometry().contains(b->geometry())) box = candidate;
            }
            EXPECT_NE(box, nullptr) << b->objectName().toStdString();
        }
        for (QGroupBox* box : v.findChildren<QGroupBox*>()) {
            EXPECT_TRUE(area.contains(box->geometry())) << box->title().toStdString();
            EXPECT_LE(box->fontMetrics().horizontalAdvance(box->title()) + 16, box->width());
        }
        for (QLabel* label : v.findChildren<QLabel*>()) {
            if (label->text().isEmpty()) continue;
            EXPECT_LE(label->fontMetrics().horizontalAdvance(label->text()), label->width());
        }
        ZoneList* zones = Zones();
        EXPECT_EQ(zones->geometry().right() + 1, size.width() - 192);
        EXPECT_EQ(GroupList()->width(), (size.width() / 9) * 2);
        // Each zone column is wide enough for its picture and text; on the
        // wide screen all of them fit without scrolling.
        int columns = 0;
        for (int c = 1; c < kZoneColumnCount; ++c) {
            columns += zones->columnWidth(c);
            if (c >= kFirstZoneColumn) {
                EXPECT_GE(zones->columnWidth(c),
                          24 + zones->fontMetrics().horizontalAdvance("ZONE 08") + 8);
            }
        }
        if (size.width() > 1600) {
            EXPECT_LE(columns, zones->viewport()->width());
        }
        QTreeWidget* groups = GroupList();
        EXPECT_LE(groups->columnWidth(1) + groups->columnWidth(2), groups->viewport()->width());
    }
}

}  // namespace
}  // namespace qavo
