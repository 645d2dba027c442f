// The system timing dialog: what its pickers start at, and what
// "Application" and "Cancel" send and store.
#include "maintenance/sys_timing.h"

#include <gtest/gtest.h>

#include <QCheckBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QTemporaryDir>
#include <QTimeEdit>

#include "persistence/console_database.h"
#include "persistence/settings_store.h"
#include "support/fake_file_picker.h"
#include "support/fake_prompter.h"
#include "support/fake_ui_bus.h"
#include "support/services_harness.h"
#include "users/user_session.h"
#include "widgets/shade_button.h"

namespace qavo {
namespace {

QDateTime Qt(const char* text) {
    const CivilTime t = *ReadScheduleText(text);
    return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second));
}

class SysTimingTest : public ::testing::Test, protected testing::ServicesHarness {
  protected:
    void SetUp() override {
        ASSERT_TRUE(dir.isValid());
        ASSERT_TRUE(database.OpenDatabase(prompter, Path()));
        bool lock = false;
        LoadOperatorAndTiming(database, prompter, lock, auto_timing);  // the first start
    }
    std::string Path() const { return dir.filePath("qavo900.db").toStdString(); }

    CSysTiming& Open(AutoTiming timing) {
        auto_timing = timing;
        dialog = std::make_unique<CSysTiming>(services, [this] { return now; });
        dialog->show();
        return *dialog;
    }
    // What the next start of the console loads.
    AutoTiming Stored() {
        ConsoleDatabase reopened;
        EXPECT_TRUE(reopened.OpenDatabase(prompter, Path()));
        bool lock = false;
        AutoTiming loaded{"none", true};
        LoadOperatorAndTiming(reopened, prompter, lock, loaded);
        return loaded;
    }

    long long now = *LocalToSeconds(CivilTime{2026, 12, 10, 7, 15, 42});
    QTemporaryDir dir;
    std::unique_ptr<CSysTiming> dialog;
};

TEST_F(SysTimingTest, PickersStartAtNowAndAtTheStoredMoment) {
    const QDateTime pc = Qt("2026/12/10 07:15:42");
    struct Case {
        AutoTiming stored;
        QDateTime schedule;
    };
    const Case cases[] = {
        {{"2018/18/18 23:59:59", true}, pc},  // cannot be read: starts at now
        {{"23:59:59", true}, Qt("1899/12/30 23:59:59")},
        {{"2026/12/11 08:30:00", false}, Qt("2026/12/11 08:30:00")},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.stored.a_timing);
        CSysTiming& d = Open(c.stored);
        EXPECT_EQ(d.windowTitle(), "QAVO system timing");
        EXPECT_EQ(d.datePicker()->date(), pc.date());
        EXPECT_EQ(d.timePicker()->time(), pc.time());
        EXPECT_EQ(d.schedulePicker()->dateTime(), c.schedule);
        EXPECT_EQ(d.schedulePicker()->displayFormat(), "HH:mm:ss");
        EXPECT_EQ(d.autoBox()->isChecked(), c.stored.auto_enabled);
    }
}

TEST_F(SysTimingTest, ApplicationSendsThePickedTimeAndStoresTodaysMoment) {
    CSysTiming& d = Open(AutoTiming{"2018/18/18 23:59:59", true});
    d.datePicker()->setDate(QDate(2026, 3, 5));
    d.timePicker()->setTime(QTime(14, 7, 9));
    d.schedulePicker()->setTime(QTime(8, 30, 0));
    d.findChild<ShadeButton*>("applyButton")->click();

    const std::vector<Job> sent = TakeJobs();
    ASSERT_EQ(sent.size(), 1u);
    EXPECT_EQ(sent[0].job_op, SET_CLOCK);
    EXPECT_EQ(sent[0].job_param, 0);
    EXPECT_EQ(sent[0].clock_to_set, LocalToSeconds(CivilTime{2026, 3, 5, 14, 7, 9}));
    const AutoTiming expected{"2026/12/10 08:30:00", true};
    EXPECT_EQ(auto_timing, expected);
    EXPECT_EQ(Stored(), expected);
    EXPECT_FALSE(d.isVisible());
    EXPECT_TRUE(prompter.asked().empty());
}

TEST_F(SysTimingTest, AnUncheckedAutoStopsTheSettingAndIsStoredToo) {
    CSysTiming& d = Open(AutoTiming{"2026/12/11 08:30:00", true});
    d.autoBox()->setChecked(false);
    d.apply();
    EXPECT_EQ(TakeJobs().size(), 1u);  // the clock is still set now
    const AutoTiming expected{"2026/12/11 08:30:00", false};
    EXPECT_EQ(auto_timing, expected);
    EXPECT_EQ(Stored(), expected);  // it survives a restart
}

TEST_F(SysTimingTest, ReapplyingKeepsTheStoredMoment) {
    Open(AutoTiming{"2026/12/11 08:30:00", true}).apply();
    TakeJobs();
    Open(auto_timing).apply();
    EXPECT_EQ(auto_timing, (AutoTiming{"2026/12/11 08:30:00", true}));
}

TEST_F(SysTimingTest, CancelSendsAndStoresNothing) {
    const AutoTiming before = Stored();
    CSysTiming& d = Open(AutoTiming{"2026/12/11 08:30:00", true});
    d.autoBox()->setChecked(false);
    d.findChild<ShadeButton*>("cancelButton")->click();
    EXPECT_TRUE(TakeJobs().empty());
    EXPECT_EQ(auto_timing, (AutoTiming{"2026/12/11 08:30:00", true}));
    EXPECT_EQ(Stored(), before);
    EXPECT_FALSE(d.isVisible());
}

}  // namespace
}  // namespace qavo
