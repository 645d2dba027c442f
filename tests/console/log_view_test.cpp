// The log view over a database in a temporary directory: the table rebuilt
// from the host log area, the filters, "Empty all log", the database errors.
#include "console/log_view.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QCalendarWidget>
#include <QCheckBox>
#include <QComboBox>
#include <QContextMenuEvent>
#include <QDateEdit>
#include <QDialog>
#include <QHeaderView>
#include <QMenu>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <memory>
#include <string>
#include <vector>

#include "console/log_events.h"
#include "link/frame.h"
#include "persistence/console_database.h"
#include "support/fake_file_picker.h"
#include "support/fake_prompter.h"
#include "support/fake_ui_bus.h"
#include "support/services_harness.h"
#include "users/user_session.h"

namespace qavo {
namespace {

constexpr const char* kErrorText = "Save network card information";

// One record of the host log: kind, date and time, bytes 8 and 9.
struct Entry {
    uint8_t kind;
    uint8_t year, month, day, hour, minute, second;
    uint8_t b8, b9;
};

class LogViewTest : public ::testing::Test, protected testing::ServicesHarness {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(database.OpenDatabase(prompter, DbFile()));
    }

    std::string DbFile() const { return dir.filePath("qavo900.db").toStdString(); }

    CLog& View() {
        view = std::make_unique<CLog>(services);
        view->resize(1000, 600);
        view->show();
        QApplication::processEvents();
        return *view;
    }

    template <typename T>
    T* Find(const char* name) {
        T* widget = view->findChild<T*>(name);
        EXPECT_NE(widget, nullptr) << name;
        return widget;
    }
    QTreeWidget* List() { return Find<QTreeWidget>("logList"); }
    QComboBox* Type() { return Find<QComboBox>("logType"); }
    QCheckBox* Filter() { return Find<QCheckBox>("logFilter"); }
    QDateEdit* Start() { return Find<QDateEdit>("logStart"); }
    QDateEdit* End() { return Find<QDateEdit>("logEnd"); }

    // Writes the host log area as the link leaves it after a transfer.
    void SetHostLog(const std::vector<Entry>& entries, unsigned count_field) {
        auto lock = model.Lock();
        auto& log = model.live.host_log;
        std::fill(log.begin(), log.end(), 0);
        log[0] = static_cast<uint8_t>(count_field);
        log[1] = static_cast<uint8_t>(count_field >> 8);
        for (size_t i = 0; i < entries.size() && i < kHostLogMaxRecords; ++i) {
            const Entry& e = entries[i];
            uint8_t* r = log.data() + kHostLogHeaderSize + i * kHostLogRecordSize;
            const uint8_t bytes[10] = {e.kind, 0,        e.year,   e.month, e.day,
                                       e.hour, e.minute, e.second, e.b8,    e.b9};
            std::copy(std::begin(bytes), std::end(bytes), r);
        }
    }
    void ReceiveLog(const std::vector<Entry>& entries) {
        SetHostLog(entries, static_cast<unsigned>(entries.size()));
        view->notify(WM_HOST_LOG_RECEIVED, 0);
    }

    // The lines of the list, each as its four columns.
    std::vector<LogRow> Lines() {
        std::vector<LogRow> lines;
        QTreeWidget* list = List();
        for (int r = 0; r < list->topLevelItemCount(); ++r) {
            const QTreeWidgetItem* item = list->topLevelItem(r);
            lines.push_back({item->text(0).toStdString(), item->text(1).toStdString(),
                             item->text(2).toStdString(), item->text(3).toStdString()});
        }
        return lines;
    }
    std::vector<std::string> LineIds() {
        std::vector<std::string> ids;
        for (const LogRow& line : Lines())
            ids.push_back(line.order);
        return ids;
    }
    std::vector<LogRow> Table() { return LoadLog(database).rows; }

    void ChooseType(int index) {
        Type()->setCurrentIndex(index);
        emit Type()->activated(index);
    }
    // Picks `date` in the picker's calendar, which then closes.
    void PickDate(QDateEdit* edit, QDate date) {
        QCalendarWidget* calendar = edit->calendarWidget();
        calendar->window()->show();
        calendar->setSelectedDate(date);
        emit calendar->activated(date);
        QApplication::processEvents();
        ASSERT_FALSE(calendar->window()->isVisible());
        ASSERT_EQ(edit->date(), date);
    }

    std::vector<BoxRequest> ErrorBoxes() {
        std::vector<BoxRequest> boxes;
        for (const BoxRequest& box : prompter.asked()) {
            if (box.text == kErrorText) boxes.push_back(box);
        }
        return boxes;
    }

    QTemporaryDir dir;
    std::unique_ptr<CLog> view;
};

// Records of several kinds around 2024-05-01, in host order (not by date).
const std::vector<Entry> kMixedLog = {
    {6, 24, 5, 1, 0, 0, 0, 1, 1},         // 1: first second of the day
    {7, 24, 5, 1, 23, 59, 59, 5, 0x41},   // 2: last second, a fire console
    {5, 24, 4, 30, 23, 59, 59, 1, 0x03},  // 3: the day before
    {7, 24, 5, 2, 0, 0, 0, 6, 0x00},      // 4: the day after, a remote console
    {5, 24, 5, 1, 12, 30, 0, 1, 0x01},    // 5
    {6, 24, 5, 1, 8, 0, 0, 2, 0},         // 6
};

TEST_F(LogViewTest, StartsWithTheWholeTableUnfiltered) {
    const std::vector<LogRow> stored = {
        {"1", "2024-05-02,00:00:00", "Host online", "Host 01 online."},
        {"2", "2023-01-01,10:00:00", "System test", "System into test mode."},
    };
    ASSERT_EQ(ReplaceLog(database, stored), DbStatus::kOk);
    View();
    EXPECT_EQ(Lines(), stored);
    EXPECT_EQ(Type()->currentIndex(), 0);
    EXPECT_EQ(Type()->currentText(), "All");
    EXPECT_EQ(Type()->count(), 12);
    EXPECT_FALSE(Filter()->isChecked());
    EXPECT_EQ(Start()->date(), QDate::currentDate());
    EXPECT_EQ(End()->date(), QDate::currentDate());
    EXPECT_TRUE(Start()->calendarPopup());
    EXPECT_EQ(List()->geometry(), QRect(0, 55, 1000, 545));
    QStringList headers;
    for (int c = 0; c < List()->columnCount(); ++c)
        headers << List()->headerItem()->text(c) + ":" + QString::number(List()->columnWidth(c));
    EXPECT_EQ(headers, QStringList({"ID:60", "CALENDAR:160", "LOG TYPE:180", "DETAILED:512"}));
    EXPECT_EQ(view->viewId(), kLogView);
    EXPECT_TRUE(prompter.asked().empty());
}

TEST_F(LogViewTest, AFullLogReplacesTableAndList) {
    View();
    ReceiveLog(kMixedLog);
    ASSERT_EQ(Table().size(), kMixedLog.size());

    std::vector<Entry> full;
    for (unsigned i = 0; i < kHostLogMaxRecords; ++i) {
        full.push_back({static_cast<uint8_t>(i % 11), 24, 6, static_cast<uint8_t>(1 + i % 28),
                        static_cast<uint8_t>(i % 24), static_cast<uint8_t>(i % 60), 0,
                        static_cast<uint8_t>(1 + i % 20), static_cast<uint8_t>(i)});
    }
    HostConfig config;
    {
        auto lock = model.Lock();
        model.live.host_config[1] = 0x20;  // host 2 has a DC supply
        config = model.live.host_config;
    }
    ReceiveLog(full);
    std::vector<uint8_t> area;
    {
        auto lock = model.Lock();
        area = model.live.host_log;
    }
    const std::vector<LogRow> expected = DecodeHostLog(area, config);
    ASSERT_EQ(expected.size(), kHostLogMaxRecords);
    EXPECT_EQ(Table(), expected);
    EXPECT_EQ(Lines(), expected);
    EXPECT_TRUE(prompter.asked().empty());
}

TEST_F(LogViewTest, ACountAboveTheAreaIsCutAt5000) {
    View();
    SetHostLog({{6, 24, 5, 1, 0, 0, 0, 1, 1}}, 65535);
    view->notify(WM_HOST_LOG_RECEIVED, 0);
    EXPECT_EQ(List()->topLevelItemCount(), static_cast<int>(kHostLogMaxRecords));
    EXPECT_EQ(Table().size(), kHostLogMaxRecords);
}

TEST_F(LogViewTest, AnEmptyLogEmptiesTableAndList) {
    View();
    ReceiveLog(kMixedLog);
    ASSERT_EQ(List()->topLevelItemCount(), 6);
    ReceiveLog({});
    EXPECT_TRUE(Table().empty());
    EXPECT_EQ(List()->topLevelItemCount(), 0);
    EXPECT_TRUE(prompter.asked().empty());
}

TEST_F(LogViewTest, OtherNotificationsLeaveTheTableAlone) {
    View();
    ReceiveLog(kMixedLog);
    SetHostLog({}, 0);
    for (WindowMessage m : {WM_STATUS_CHANGED, WM_FLAGS_CHANGED, WM_SOURCES_CHANGED})
        view->notify(m, 0);
    EXPECT_EQ(Table().size(), kMixedLog.size());
    EXPECT_EQ(List()->topLevelItemCount(), 6);
}

TEST_F(LogViewTest, TypeAndDayFilters) {
    View();
    ReceiveLog(kMixedLog);
    Start()->setDate({2024, 5, 1});
    End()->setDate({2024, 5, 1});
    const struct {
        const char* what;
        int type;
        bool filter;
        std::vector<std::string> ids;
    } cases[] = {
        {"all", 0, false, {"1", "2", "3", "4", "5", "6"}},
        {"power, entry 1", 1, false, {"3", "5"}},
        {"power, entry 7", 7, false, {"3", "5"}},
        {"fire paing: the consoles' lines", 9, false, {"2", "4"}},
        {"host online", 8, false, {"1", "6"}},
        {"nothing of this type", 11, false, {}},
        {"one day, both ends included", 0, true, {"1", "2", "5", "6"}},
        {"type and day", 8, true, {"1", "6"}},
        {"consoles on that day", 9, true, {"2"}},
    };
    for (const auto& c : cases) {
        ChooseType(c.type);
        if (Filter()->isChecked() != c.filter) QTest::mouseClick(Filter(), Qt::LeftButton);
        EXPECT_EQ(LineIds(), c.ids) << c.what;
    }
    EXPECT_EQ(Lines()[0].event_context, "Fire paging 05 online.");
    EXPECT_TRUE(prompter.asked().empty());
}

TEST_F(LogViewTest, ClosingACalendarAppliesItsDate) {
    View();
    ReceiveLog(kMixedLog);
    QTest::mouseClick(Filter(), Qt::LeftButton);
    EXPECT_TRUE(LineIds().empty());  // today has no entries

    PickDate(End(), {2024, 5, 1});
    EXPECT_TRUE(LineIds().empty());  // from today back to 2024-05-01: no day at all
    PickDate(Start(), {2024, 4, 30});
    EXPECT_EQ(LineIds(), (std::vector<std::string>{"1", "2", "3", "5", "6"}));

    // A date typed in counts once it is finished.
    End()->setDate({2024, 5, 2});
    EXPECT_EQ(LineIds().size(), 5u);
    QTest::keyClick(End(), Qt::Key_Return);
    EXPECT_EQ(LineIds(), (std::vector<std::string>{"1", "2", "3", "4", "5", "6"}));
}

TEST_F(LogViewTest, EmptyAllLogAnsweredWithCancelChangesNothing) {
    View();
    ReceiveLog(kMixedLog);
    prompter.Script({BoxAnswer::kCancel});
    view->emptyAllLog();
    ASSERT_EQ(prompter.asked().size(), 1u);
    EXPECT_EQ(prompter.asked()[0],
              (BoxRequest{"You sure you want to delete all of the records system?",
                          "QAVO system log", BoxButtons::kOkCancel}));
    EXPECT_EQ(List()->topLevelItemCount(), 6);
    EXPECT_EQ(Table().size(), kMixedLog.size());
    EXPECT_TRUE(TakeJobs().empty());
}

TEST_F(LogViewTest, EmptyAllLogAnsweredWithOkClearsAndAsksTheHost) {
    View();
    ReceiveLog(kMixedLog);
    prompter.Script({BoxAnswer::kOk});
    view->emptyAllLog();
    EXPECT_EQ(List()->topLevelItemCount(), 0);
    EXPECT_TRUE(Table().empty());
    const std::vector<Job> queued = TakeJobs();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].job_kind, JobKind::kSingle);
    EXPECT_EQ(queued[0].job_op, LOG_COMMAND);
    EXPECT_EQ(queued[0].job_param, 1);
    EXPECT_EQ(prompter.asked().size(), 1u);  // nothing waits for an answer
}

// A trigger that makes the database refuse a write of the log.
void Refuse(const std::string& file, const char* when) {
    ConsoleDatabase db;
    testing::FakePrompter silent;
    ASSERT_TRUE(db.OpenDatabase(silent, file));
    ASSERT_TRUE(db.Execute(std::string("create trigger refuse before ") + when +
                           " on log begin select raise(abort, 'refused'); end;"));
}

TEST_F(LogViewTest, DatabaseErrorsShowTheMessage) {
    View();
    ReceiveLog(kMixedLog);

    // A refused rebuild keeps the stored log, which the list shows again.
    Refuse(DbFile(), "insert");
    ReceiveLog({{9, 24, 6, 1, 0, 0, 0, 0x22, 0}});
    ASSERT_EQ(ErrorBoxes().size(), 1u);
    EXPECT_EQ(ErrorBoxes()[0], (BoxRequest{kErrorText, kAppTitle, BoxButtons::kOk}));
    EXPECT_EQ(Table().size(), kMixedLog.size());
    EXPECT_EQ(List()->topLevelItemCount(), 6);

    // A refused clear still empties the list and still asks the host.
    ASSERT_TRUE(database.Execute("drop trigger refuse"));
    Refuse(DbFile(), "delete");
    prompter.Script({BoxAnswer::kOk});
    view->emptyAllLog();
    EXPECT_EQ(ErrorBoxes().size(), 2u);
    EXPECT_EQ(List()->topLevelItemCount(), 0);
    const std::vector<Job> queued = TakeJobs();
    ASSERT_EQ(queued.size(), 1u);
    EXPECT_EQ(queued[0].job_param, 1);

    // A table without its columns cannot be loaded.
    ASSERT_TRUE(database.Execute(
        "drop table log; create table log (\"order\" text); insert into log values ('1');"));
    ChooseType(0);
    EXPECT_EQ(ErrorBoxes().size(), 3u);
    EXPECT_EQ(List()->topLevelItemCount(), 0);
}

TEST_F(LogViewTest, WithoutADatabaseEveryOperationShowsTheMessage) {
    database.Close();
    View();
    EXPECT_EQ(ErrorBoxes().size(), 1u);  // the first load
    ReceiveLog(kMixedLog);
    EXPECT_EQ(ErrorBoxes().size(), 3u);  // the rebuild and the load after it
    EXPECT_EQ(List()->topLevelItemCount(), 0);
    prompter.Script({BoxAnswer::kOk});
    view->emptyAllLog();
    EXPECT_EQ(ErrorBoxes().size(), 4u);
    EXPECT_EQ(TakeJobs().size(), 1u);
}

TEST_F(LogViewTest, ContextMenuAsksForAReflash) {
    View();
    QSignalSpy reflash(view.get(), &CLog::reflashRequested);
    const QPoint at = List()->viewport()->rect().center();
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, List()->viewport()->mapToGlobal(at));
    QApplication::sendEvent(List()->viewport(), &event);
    QMenu* menu = view->contextMenu();
    ASSERT_TRUE(menu->isVisible());
    ASSERT_EQ(menu->actions().size(), 1);
    EXPECT_EQ(menu->actions()[0]->text(), "Reflash");
    menu->actions()[0]->trigger();
    EXPECT_EQ(reflash.count(), 1);
    menu->hide();
}

TEST_F(LogViewTest, EnterAndEscapeDoNotReachTheWindowAround) {
    QDialog dialog;
    auto* log = new CLog(services, &dialog);
    auto* layout = new QVBoxLayout(&dialog);
    layout->addWidget(log);
    dialog.show();
    QApplication::processEvents();
    for (Qt::Key key : {Qt::Key_Escape, Qt::Key_Return, Qt::Key_Enter}) {
        QTest::keyClick(log, key);
        QTest::keyClick(log->findChild<QTreeWidget*>("logList"), key);
        EXPECT_TRUE(dialog.isVisible()) << key;
    }
}

}  // namespace
}  // namespace qavo
