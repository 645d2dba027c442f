#pragma once

#include <QDialog>
#include <functional>

#include "maintenance/sys_timing_logic.h"
#include "shell/console_services.h"

class QCheckBox;
class QDateEdit;
class QDateTimeEdit;
class QTimeEdit;

namespace qavo {

// The system timing dialog: sets the host's clock now to the date and time
// picked, and keeps the moment at which the console sets it once by itself
// with the PC's clock.
class CSysTiming : public QDialog {
    Q_OBJECT
  public:
    // `now`: the PC's clock in seconds (tests give their own).
    CSysTiming(ConsoleServices& services, std::function<long long()> now,
               QWidget* parent = nullptr);

    // "Application": sends the picked time, keeps and stores the schedule.
    void apply();

    QDateEdit* datePicker() const { return date_; }
    QTimeEdit* timePicker() const { return time_; }
    QCheckBox* autoBox() const { return auto_; }
    QDateTimeEdit* schedulePicker() const { return schedule_; }

  private:
    ConsoleServices& services_;
    QDateEdit* date_ = nullptr;
    QTimeEdit* time_ = nullptr;
    QCheckBox* auto_ = nullptr;
    QDateTimeEdit* schedule_ = nullptr;
};

}  // namespace qavo
