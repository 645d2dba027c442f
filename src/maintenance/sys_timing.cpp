#include "maintenance/sys_timing.h"

#include <QCheckBox>
#include <QDateEdit>
#include <QDateTimeEdit>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLocale>
#include <QTimeEdit>
#include <QVBoxLayout>

#include "persistence/settings_store.h"
#include "users/user_dialog_look.h"
#include "widgets/shade_button.h"

namespace qavo {
namespace {

QDateTime ToQt(const CivilTime& t) {
    return QDateTime(QDate(t.year, t.month, t.day), QTime(t.hour, t.minute, t.second));
}

CivilTime FromQt(const QDate& date, const QTime& time) {
    return CivilTime{date.year(), date.month(),  date.day(),
                     time.hour(), time.minute(), time.second()};
}

}  // namespace

CSysTiming::CSysTiming(ConsoleServices& services, std::function<long long()> now, QWidget* parent)
    : QDialog(parent), services_(services) {
    setObjectName("sysTiming");
    setWindowTitle("QAVO system timing");
    SetUserDialogBackground(this);
    const QDateTime start = ToQt(LocalFromSeconds(now()));

    date_ = new QDateEdit(start.date(), this);
    date_->setObjectName("timingDate");
    date_->setDisplayFormat(QLocale().dateFormat(QLocale::LongFormat));
    date_->setCalendarPopup(true);
    // The host dates its log within 2000 to 2099; a clock outside that
    // range would scramble the log's dates.
    date_->setDateRange(QDate(2000, 1, 1), QDate(2099, 12, 31));
    time_ = new QTimeEdit(start.time(), this);
    time_->setObjectName("timingTime");
    time_->setDisplayFormat("HH:mm:ss");

    auto_ = new QCheckBox("Auto", this);
    auto_->setObjectName("timingAuto");
    auto_->setChecked(services_.auto_timing.auto_enabled);
    schedule_ = new QDateTimeEdit(this);
    schedule_->setObjectName("timingSchedule");
    schedule_->setMinimumDateTime(ToQt(kTimeOnlyDay));
    schedule_->setDisplayFormat("HH:mm:ss");
    // The date part is kept though not shown: a stored moment is applied
    // again unchanged, and one that cannot be read starts from now.
    const auto stored = ReadScheduleText(services_.auto_timing.a_timing);
    schedule_->setDateTime(stored ? ToQt(*stored) : start);

    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel("Date:", this), 0, 0);
    grid->addWidget(date_, 0, 1);
    grid->addWidget(new QLabel("Time:", this), 1, 0);
    grid->addWidget(time_, 1, 1);
    grid->addWidget(auto_, 2, 0);
    grid->addWidget(schedule_, 2, 1);
    grid->setColumnStretch(1, 1);

    auto* apply_button = MakeUserDialogButton("Application", kSaveIcon, "applyButton", this);
    auto* cancel_button = MakeUserDialogButton("Cancel", kCancelIcon, "cancelButton", this);
    connect(apply_button, &ShadeButton::clicked, this, &CSysTiming::apply);
    connect(cancel_button, &ShadeButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(apply_button);
    buttons->addWidget(cancel_button);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    setMinimumWidth(360);
}

void CSysTiming::apply() {
    SysTimingInput input;
    input.set_now = FromQt(date_->date(), time_->time());
    input.auto_checked = auto_->isChecked();
    const QDateTime schedule = schedule_->dateTime();
    input.schedule = FromQt(schedule.date(), schedule.time());
    const SysTimingOutcome outcome = ApplySysTiming(input, services_.auto_timing);

    services_.auto_timing = outcome.timing;
    if (outcome.clock_to_set) {
        Job job;
        job.job_op = SET_CLOCK;
        job.job_param = 0;
        job.clock_to_set = *outcome.clock_to_set;
        services_.jobs.Queue(job);
    }
    SaveAutoTiming(services_.database, services_.prompter, services_.auto_timing);
    accept();
}

}  // namespace qavo
