#pragma once

#include <QDialog>

#include "editors/sp_impedance_logic.h"
#include "platform/window_messages.h"
#include "shell/console_services.h"

class QComboBox;

namespace qavo {

// "Sensitivity adjustment": shows the sensitivity of the host's
// speaker-line supervision and sends a new one on "OK". While it is open
// it follows the levels the host reports.
class CSpImpedance : public QDialog {
    Q_OBJECT
  public:
    explicit CSpImpedance(ConsoleServices& services, QWidget* parent = nullptr);

    // WM_IMPEDANCE_LEVEL: the host reported a level; the list shows it.
    void notify(WindowMessage message);

    QComboBox* levelList() const { return list_; }

  private:
    // The list selects impedance_level as the live status holds it now.
    void showLiveLevel();
    void onOk();

    ConsoleServices& services_;
    SpImpedanceLogic logic_{0};
    QComboBox* list_ = nullptr;
};

}  // namespace qavo
