// The console as an operator uses it, against the simulated host on the
// loopback inside the private network namespace: log in, read the
// configuration, watch a line fault appear, acknowledge it; read the host's
// event log, filter it and export it to a workbook.
#include "console_sim_fixture.h"

namespace qavo {
namespace {

using e2e::ConsoleAgainstSimulator;
using e2e::kLoopback;
using e2e::PumpUntil;

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
