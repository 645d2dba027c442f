// The console as an operator uses it, against the simulated host on the
// loopback inside the private network namespace: log in, read the
// configuration, watch a line fault appear, acknowledge it; read the host's
// event log, filter it and export it to a workbook.
#include <gtest/gtest.h>

#include <QComboBox>
#include <QCoreApplication>
#include <QEventLoop>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <functional>

#include "console/ctl_view.h"
#include "console/log_view.h"
#include "console/zone_list.h"
#include "persistence/console_database.h"
#include "persistence/settings_store.h"
#include "shell/file_view.h"
#include "shell/main_frame.h"
#include "sim_host.h"
#include "support/fake_file_picker.h"
#include "support/fake_prompter.h"
#include "support/xlsx_reader.h"
#include "users/scripted_prompt.h"

namespace qavo {
namespace {

constexpr uint32_t kLoopback = 0x7F000001;

bool PumpUntil(const std::function<bool()>& done, int limit_ms = 10000) {
    const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(limit_ms);
    while (!done()) {
        if (std::chrono::steady_clock::now() > end) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 10);
    }
    return true;
}

class ConsoleAgainstSimulator : public ::testing::Test {
  protected:
    void SetUp() override {
        sim::SimOptions options;
        options.port = 0;
        options.host_count = 3;
        options.group_count = 6;
        options.log_size = 300;
        options.diagnostics = [](const std::string&) {};
        host = std::make_unique<sim::SimHost>(options);
        std::string error;
        ASSERT_TRUE(host->Start(&error)) << error;

        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(database.OpenDatabase(prompter, dir.filePath("qavo900.db").toStdString()));
        NetworkSettings network;
        network.pc_udp_port = "0";
        network.qavo_host_ip = kLoopback;
        network.qavo_host_udp_port = std::to_string(host->port());
        ASSERT_TRUE(SaveNetworkSettings(database, prompter, network));

        CMainFrame::Deps deps{sockets,
                              database,
                              Timings{},
                              [](int) {},
                              HostLink::Options{.group_port = 0},
                              &prompter,
                              &files,
                              &credentials,
                              dir.filePath("profile.ini")};
        frame = std::make_unique<CMainFrame>(deps);
        frame->resize(1280, 800);
        frame->show();
    }
    void TearDown() override {
        frame.reset();
        host->Stop();
    }
    CCtlView* control() const { return dynamic_cast<CCtlView*>(frame->view()); }
    ZoneList* zones() const { return control()->findChild<ZoneList*>("zoneList"); }
    int ZoneImage(int row, int zone) const {
        QTreeWidgetItem* item = zones()->topLevelItem(row);
        return item ? item->data(zone + 2, ZoneList::kImageRole).toInt() : -1;
    }

    std::unique_ptr<sim::SimHost> host;
    QTemporaryDir dir;
    testing::FakePrompter prompter;
    testing::FakeFilePicker files;
    testing::ScriptedPrompt credentials;
    PosixSocketFactory sockets;
    ConsoleDatabase database;
    std::unique_ptr<CMainFrame> frame;
};

TEST_F(ConsoleAgainstSimulator, LoginShowsTheSystemAndAFaultIsSeenAndAcknowledged) {
    credentials.logins.push_back(Credentials{"admin", "qvl704219"});
    frame->onLogin();
    ASSERT_TRUE(frame->session().logged_in);
    EXPECT_TRUE(prompter.asked().empty());
    ASSERT_EQ(frame->currentView(), kControlView);
    ASSERT_NE(control(), nullptr);

    // The simulator's groups and hosts.
    auto* groups = control()->findChild<QTreeWidget*>("groupList");
    ASSERT_NE(groups, nullptr);
    ASSERT_EQ(groups->topLevelItemCount(), 6);
    const ParamImage blocks = host->Blocks();
    for (int g = 0; g < 6; ++g) {
        EXPECT_EQ(groups->topLevelItem(g)->text(2).toStdString(),
                  blocks.GetName(fields::group_name, static_cast<uint32_t>(g)));
    }
    ASSERT_TRUE(PumpUntil([&] { return zones()->topLevelItemCount() == 3; }));
    EXPECT_EQ(ZoneImage(1, 2), kCellIdle);

    // Line B of zone 3 of host 2 opens: its cell turns yellow, FAULT blinks.
    host->Command("line 2 3 B open");
    ASSERT_TRUE(PumpUntil([&] { return ZoneImage(1, 2) == kCellLineFault; }));
    EXPECT_TRUE(frame->navigation()->stateFault());
    std::vector<bool> lamp;
    for (int i = 0; i < 4; ++i) {
        control()->tickFaultLamp();
        lamp.push_back(control()->faultLampLit());
    }
    // Unacknowledged: the lamp changes at every tick.
    for (int i = 1; i < 4; ++i)
        EXPECT_NE(lamp[i], lamp[i - 1]);

    // ACK / RESET reaches the simulator; the lamp then stays lit.
    auto* ack = control()->findChild<QAbstractButton*>("ackResetButton");
    ASSERT_NE(ack, nullptr);
    ack->click();
    ASSERT_TRUE(
        PumpUntil([&] { return (host->Live().system_flags & kFlagFaultAcknowledged) != 0; }));
    ASSERT_TRUE(PumpUntil([&] {
        auto lock = frame->model().Lock();
        return (frame->model().live.system_flags & kFlagFaultAcknowledged) != 0;
    }));
    for (int i = 0; i < 4; ++i) {
        control()->tickFaultLamp();
        EXPECT_TRUE(control()->faultLampLit());
    }
}

TEST_F(ConsoleAgainstSimulator, TheHostLogIsReadFilteredAndExported) {
    credentials.logins.push_back(Credentials{"admin", "qvl704219"});
    frame->onLogin();
    ASSERT_TRUE(frame->session().logged_in);
    frame->navigation()->select(NavItem::kLog);
    ASSERT_EQ(frame->currentView(), kLogView);
    auto* list = frame->view()->findChild<QTreeWidget*>("logList");
    ASSERT_NE(list, nullptr);

    // Reflash reads the host's whole log into the list.
    const size_t records = host->EventRecords().size();
    ASSERT_GE(records, 300u);
    frame->onReflash();
    ASSERT_TRUE(
        PumpUntil([&] { return static_cast<size_t>(list->topLevelItemCount()) >= records; }));
    EXPECT_EQ(list->topLevelItem(0)->text(0), "1");
    EXPECT_EQ(list->topLevelItem(static_cast<int>(records) - 1)->text(0), QString::number(records));

    // Only the "Host online" lines: as many as the host holds records of that kind.
    size_t online = 0;
    for (const auto& record : host->EventRecords())
        online += record[0] == 6;
    auto* type = frame->view()->findChild<QComboBox*>("logType");
    ASSERT_NE(type, nullptr);
    type->setCurrentIndex(8);
    emit type->activated(8);
    ASSERT_EQ(static_cast<size_t>(list->topLevelItemCount()), online);
    for (int r = 0; r < list->topLevelItemCount(); ++r)
        EXPECT_EQ(list->topLevelItem(r)->text(2), "Host online");

    // The export holds every row, not only the filtered ones.
    const std::string path = dir.filePath("system log.xlsx").toStdString();
    files.Script(path);
    frame->onSave();
    ASSERT_FALSE(prompter.asked().empty());
    EXPECT_EQ(prompter.asked().back().text, "Current configuration saved successfully completed!");
    const auto sheet = testing::ReadXlsxSheet(path);
    ASSERT_TRUE(sheet);
    EXPECT_EQ(sheet->sheet_names, std::vector<std::string>{"QAVO system log"});
    EXPECT_EQ(sheet->last_row, static_cast<int>(records) + 1);
    EXPECT_EQ(sheet->cells.at("A1"), "ID");
    EXPECT_EQ(sheet->cells.at("A2"), "1");
    const QTreeWidgetItem* first = nullptr;
    type->setCurrentIndex(0);
    emit type->activated(0);
    first = list->topLevelItem(0);
    ASSERT_NE(first, nullptr);
    EXPECT_EQ(sheet->cells.at("B2"), first->text(1).toStdString());
    EXPECT_EQ(sheet->cells.at("D2"), first->text(3).toStdString());
}

}  // namespace
}  // namespace qavo
