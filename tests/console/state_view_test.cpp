// The state list and the host detail dialog: rows from the model, rebuilds,
// double-clicks, the dialog's values and colours, and relay switching.
#include <gtest/gtest.h>

#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <memory>
#include <string>
#include <vector>

#include "console/host_st.h"
#include "console/report_list.h"
#include "console/state_view.h"
#include "persistence/console_database.h"
#include "support/fake_file_picker.h"
#include "support/fake_prompter.h"
#include "support/fake_ui_bus.h"
#include "support/services_harness.h"
#include "users/user_session.h"

namespace qavo {
namespace {

const QColor kBlue(0, 0, 255);
const QColor kOrange(255, 102, 0);
const QColor kRed(255, 0, 0);

class StateViewTest : public ::testing::Test, protected testing::ServicesHarness {
  protected:
    // Three hosts (the second faulty) and two paging consoles.
    StateViewTest() {
        auto lock = model.Lock();
        model.image.Set(fields::host_count, 3);
        model.image.Set(fields::paging_count, 2);
        model.image.Set(fields::paging_type, 1, 1);
        model.live.host_config[0] = 0x0B;  // supervised, DC supply and spare amplifier
        model.live.host_state = {0xFF, 0x41, 0xDB};
        model.live.host_config[1] = 0x60;
        model.live.paging_state = {0x09, 0x02};
    }

    CState& View() {
        view = std::make_unique<CState>(services);
        view->resize(900, 500);
        view->show();
        QApplication::processEvents();
        return *view;
    }
    QTreeWidget* List() { return view->findChild<QTreeWidget*>("stateList"); }
    CHostSt* Dialog() { return view->findChild<CHostSt*>("hostStDialog"); }

    std::vector<std::string> Column(int column) {
        std::vector<std::string> texts;
        for (int r = 0; r < List()->topLevelItemCount(); ++r)
            texts.push_back(List()->topLevelItem(r)->text(column).toStdString());
        return texts;
    }
    std::vector<int> Images() {
        std::vector<int> images;
        for (int r = 0; r < List()->topLevelItemCount(); ++r) {
            const QTreeWidgetItem* item = List()->topLevelItem(r);
            EXPECT_FALSE(item->icon(0).isNull()) << r;
            images.push_back(item->data(0, CState::kImageRole).toInt());
        }
        return images;
    }

    void DoubleClickAt(QPoint at) {
        QWidget* viewport = List()->viewport();
        QTest::mousePress(viewport, Qt::LeftButton, {}, at);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
        QMouseEvent dbl(QEvent::MouseButtonDblClick, at, viewport->mapToGlobal(at), Qt::LeftButton,
                        Qt::LeftButton, {});
        QApplication::sendEvent(viewport, &dbl);
        QTest::mouseRelease(viewport, Qt::LeftButton, {}, at);
    }
    void DoubleClickRow(int row) {
        DoubleClickAt(List()->visualItemRect(List()->topLevelItem(row)).center());
    }

    template <typename T>
    T* InDialog(const QString& name) {
        T* widget = Dialog()->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name.toStdString();
        return widget;
    }
    // The text and colour of a value label, "text@r,g,b".
    std::string Value(const QString& name) {
        const QLabel* label = InDialog<QLabel>(name);
        if (!label) return "missing";
        const QColor c = label->palette().color(QPalette::Active, QPalette::WindowText);
        return label->text().toStdString() + "@" + std::to_string(c.red()) + "," +
               std::to_string(c.green()) + "," + std::to_string(c.blue());
    }

    std::unique_ptr<CState> view;
};

std::string Colour(const QColor& c) {
    return std::to_string(c.red()) + "," + std::to_string(c.green()) + "," +
           std::to_string(c.blue());
}
std::string Blue(const char* text) {
    return std::string(text) + "@" + Colour(kBlue);
}
std::string Orange(const char* text) {
    return std::string(text) + "@" + Colour(kOrange);
}
std::string Red(const char* text) {
    return std::string(text) + "@" + Colour(kRed);
}

TEST_F(StateViewTest, ShowsHostsThenConsolesFromTheModel) {
    CState& v = View();
    EXPECT_EQ(v.viewId(), 359);
    QTreeWidget* list = List();
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->headerItem()->text(0), "   STATE & EQUIPMENT ID");
    EXPECT_EQ(list->headerItem()->text(1), "DETAILED");
    EXPECT_EQ(list->columnWidth(0), 150);
    EXPECT_EQ(list->columnWidth(1), 1024);
    EXPECT_EQ(list->palette().color(QPalette::Base), QColor(204, 204, 204));
    EXPECT_EQ(list->palette().color(QPalette::Text), kBlue);
    EXPECT_EQ(list->selectionBehavior(), QAbstractItemView::SelectRows);
    EXPECT_EQ(list->iconSize(), QSize(16, 16));
    EXPECT_EQ(list->geometry(), v.rect());  // the list covers the view

    EXPECT_EQ(Column(0), (std::vector<std::string>{
                             "                    Host 01", "                    Host 02",
                             "                    Host 03", "                    Panig 01",
                             "                    Panig 02"}));
    EXPECT_EQ(Images(), (std::vector<int>{0, 1, 0, 0, 1}));
    const std::vector<std::string> detail = Column(1);
    EXPECT_EQ(detail[1],
              "Device online: online  |  AC power: normal  |  DC power: fault  |  Main amplifier: "
              "fault  |  Spare amplifier: fault        ...");
    // Host 3 has neither a DC supply nor a spare amplifier.
    EXPECT_EQ(detail[2],
              "Device online: online  |  AC power: normal  |  DC power: normal  |  Main amplifier: "
              "normal  |  Spare amplifier: normal        ...");
    EXPECT_EQ(detail[3], "Device online: online  |  normal  |  remote paging");
    EXPECT_EQ(detail[4], "Device online: offline  |  fault  |  fire paging");

    v.resize(1200, 700);
    QApplication::processEvents();
    EXPECT_EQ(list->geometry(), v.rect());
}

TEST_F(StateViewTest, StatusChangeRebuildsTheList) {
    View();
    {
        auto lock = model.Lock();
        model.live.host_state[1] = 0x80;
        model.live.host_config[1] = 0x00;
        model.image.Set(fields::host_count, 2);
        model.image.Set(fields::paging_count, 3);
        model.image.Set(fields::paging_type, 9, 2);
        model.live.paging_state[2] = 0x0B;
    }
    view->notify(WM_STATUS_CHANGED, 0);
    EXPECT_EQ(Column(0), (std::vector<std::string>{
                             "                    Host 01", "                    Host 02",
                             "                    Panig 01", "                    Panig 02",
                             "                    Panig 03"}));
    EXPECT_EQ(Images(), (std::vector<int>{0, 0, 0, 1, 0}));
    EXPECT_EQ(Column(1)[1],
              "Device online: offline  |  AC power: fault  |  DC power: none  |  Main amplifier: "
              "fault  |  Spare amplifier: none        ...");
    EXPECT_EQ(Column(1)[4], "Device online: online  |  fault  |  touch paging");
}

TEST_F(StateViewTest, DoubleClickOpensTheDialogOnlyForHostLines) {
    struct Case {
        const char* what;
        unsigned host_count;
        int row;              // -1: empty space below the lines
        const char* caption;  // nullptr: nothing opens
    };
    const Case cases[] = {
        {"first host", 3, 0, "Host 01 detailed status"},
        {"third host", 3, 2, "Host 03 detailed status"},
        {"paging console line", 3, 3, nullptr},
        {"empty space", 3, -1, nullptr},
        {"no hosts: the first line is a console", 0, 0, nullptr},
    };
    View();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        {
            auto lock = model.Lock();
            model.image.Set(fields::host_count, c.host_count);
        }
        view->notify(WM_STATUS_CHANGED, 0);
        if (c.row < 0) {
            DoubleClickAt(QPoint(40, List()->viewport()->height() - 5));
        } else {
            DoubleClickRow(c.row);
        }
        CHostSt* dialog = Dialog();
        ASSERT_NE(dialog, nullptr);
        EXPECT_EQ(dialog->isVisible(), c.caption != nullptr);
        if (c.caption) {
            EXPECT_EQ(dialog->windowTitle(), c.caption);
            EXPECT_EQ(dialog->host(), static_cast<unsigned>(c.row));
            EXPECT_TRUE(dialog->isModal());
            EXPECT_EQ(dialog->windowModality(), Qt::ApplicationModal);
            QTest::mouseClick(InDialog<QPushButton>("returnButton"), Qt::LeftButton);
            EXPECT_FALSE(dialog->isVisible());
        }
    }
    EXPECT_FALSE(view->openHostDialog(3));
    EXPECT_FALSE(view->openHostDialog(-1));
    EXPECT_TRUE(sent_to_main.empty());
}

TEST_F(StateViewTest, DialogShowsAFaultyMainHost) {
    {
        auto lock = model.Lock();
        model.live.host_state[0] = kHostOnline | kHostSdCard | kHostSpareAmplifier;
        model.live.host_config[0] = 0x09;  // supervised, spare amplifier, no DC supply
        model.live.zone_lines[0] = {0x09, 0x80, 0x03, 0x00};
        model.live.contact_inputs[0] = 0xC006;
        model.live.relay_outputs[0] = 0x82;
    }
    View();
    ASSERT_TRUE(view->openHostDialog(0));
    CHostSt* dialog = Dialog();
    EXPECT_EQ(dialog->windowTitle(), "Host 01 detailed status");
    EXPECT_EQ(dialog->palette().color(QPalette::Window), QColor(153, 153, 153));
    struct Expect {
        const char* name;
        std::string value;
    };
    const Expect expected[] = {
        {"value1321", Blue("Online")},  {"value1322", Orange("Fault")},
        {"value1323", Blue("None")},    {"value1359", Orange("Fault")},
        {"value1326", Blue("Normal")},  {"value1324", Blue("Normal")},
        {"value1325", Orange("Fault")}, {"zoneA1", Orange("Short")},
        {"zoneB1", Orange("Open")},     {"zoneA2", Blue("Normal")},
        {"zoneB4", Orange("Open")},     {"zoneA5", Blue("Normal")},  // line value 3
        {"zoneB5", Blue("Normal")},     {"zoneB8", Blue("Normal")},
        {"input1", Orange("Open")},     {"input2", Orange("Short")},
        {"input3", Blue("Normal")},     {"input8", Red("Trigger")},
    };
    for (const Expect& e : expected)
        EXPECT_EQ(Value(e.name), e.value) << e.name;
    for (int r = 1; r <= 8; ++r) {
        QCheckBox* relay = InDialog<QCheckBox>(QStringLiteral("relay%1").arg(r));
        ASSERT_NE(relay, nullptr);
        EXPECT_EQ(relay->text(), QString::asprintf("  RELAY %.2d", r));
        EXPECT_EQ(relay->isChecked(), r == 2 || r == 8) << r;
    }
    for (const char* name : {"label1324", "label1325", "value1324", "value1325"})
        EXPECT_TRUE(InDialog<QWidget>(name)->isEnabled()) << name;
    EXPECT_EQ(InDialog<QLabel>("label1325")->text(), "Emergency microphone statu ( PTT )");
    EXPECT_EQ(InDialog<QGroupBox>("zoneBox")->title(), "SPEAKERS PARTITION BUS STATUS");
    EXPECT_EQ(InDialog<QGroupBox>("relayBox")->title(), "CONTACT OUTPUT STATUS");
}

TEST_F(StateViewTest, DialogOfAnExpansionHostDisablesTheMainHostRows) {
    View();
    ASSERT_TRUE(view->openHostDialog(0));  // the main host's values first
    QTest::mouseClick(InDialog<QPushButton>("returnButton"), Qt::LeftButton);
    ASSERT_TRUE(view->openHostDialog(1));
    CHostSt* dialog = Dialog();
    EXPECT_EQ(dialog->windowTitle(), "Host 02 detailed status");
    EXPECT_EQ(Value("value1321"), Blue("Online"));
    EXPECT_EQ(Value("value1322"), Blue("Normal"));
    EXPECT_EQ(Value("value1323"), Orange("Fault"));
    EXPECT_EQ(Value("value1359"), Orange("Fault"));
    EXPECT_EQ(Value("value1326"), Orange("Fault"));
    for (const char* name : {"label1324", "label1325", "value1324", "value1325"})
        EXPECT_FALSE(InDialog<QWidget>(name)->isEnabled()) << name;
    // The main host's values do not stay behind in the disabled rows.
    EXPECT_EQ(InDialog<QLabel>("value1324")->text(), "");
    EXPECT_EQ(InDialog<QLabel>("value1325")->text(), "");
}

TEST_F(StateViewTest, StatusChangeRefreshesTheOpenDialog) {
    View();
    ASSERT_TRUE(view->openHostDialog(2));
    EXPECT_EQ(Value("zoneA3"), Blue("Normal"));
    {
        auto lock = model.Lock();
        model.live.zone_lines[2][1] = 0x02;  // zone 3 line A open
        model.live.host_state[2] = 0x00;
    }
    view->notify(WM_STATUS_CHANGED, 0);
    EXPECT_EQ(Value("zoneA3"), Orange("Open"));
    EXPECT_EQ(Value("value1321"), Orange("Offline"));
    EXPECT_EQ(List()->topLevelItem(2)->data(0, CState::kImageRole).toInt(), 1);
}

TEST_F(StateViewTest, RelayClickWritesTheHostsRelaysAndAsksTheMainWindow) {
    {
        auto lock = model.Lock();
        model.live.relay_outputs[2] = 0x01;
        model.live.relay_outputs[1] = 0x55;
    }
    View();
    ASSERT_TRUE(view->openHostDialog(2));
    QCheckBox* relay4 = InDialog<QCheckBox>("relay4");
    ASSERT_NE(relay4, nullptr);
    QTest::mouseClick(relay4, Qt::LeftButton, {}, QPoint(8, relay4->height() / 2));
    EXPECT_TRUE(relay4->isChecked());
    {
        auto lock = model.Lock();
        EXPECT_EQ(model.live.relay_outputs[2], 0x09);
        EXPECT_EQ(model.live.relay_outputs[1], 0x55);  // other hosts untouched
    }
    ASSERT_EQ(sent_to_main.size(), 1u);
    EXPECT_EQ(sent_to_main[0], (std::pair<WindowMessage, intptr_t>{WM_SET_RELAYS, 3}));

    // The host's answer changes the relays: the refresh sets the check
    // boxes without counting as a click.
    {
        auto lock = model.Lock();
        model.live.relay_outputs[2] = 0xF0;
    }
    view->notify(WM_STATUS_CHANGED, 0);
    EXPECT_FALSE(relay4->isChecked());
    EXPECT_TRUE(InDialog<QCheckBox>("relay5")->isChecked());
    EXPECT_EQ(sent_to_main.size(), 1u);
    {
        auto lock = model.Lock();
        EXPECT_EQ(model.live.relay_outputs[2], 0xF0);
    }

    // Clearing a relay sends the byte without it.
    QTest::mouseClick(InDialog<QCheckBox>("relay8"), Qt::LeftButton, {},
                      QPoint(8, relay4->height() / 2));
    {
        auto lock = model.Lock();
        EXPECT_EQ(model.live.relay_outputs[2], 0x70);
    }
    ASSERT_EQ(sent_to_main.size(), 2u);
    EXPECT_EQ(sent_to_main[1].second, 3);
}

}  // namespace
}  // namespace qavo
