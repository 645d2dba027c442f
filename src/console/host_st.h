#pragma once

#include <QDialog>
#include <array>

#include "console/state_logic.h"
#include "shell/console_services.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace qavo {

// The detailed state of one host: its general state, both lines of its
// eight speaker zones, its eight contact inputs and its eight relay
// outputs, which the operator switches here.
class CHostSt : public QDialog {
    Q_OBJECT
  public:
    explicit CHostSt(ConsoleServices& services, QWidget* parent = nullptr);

    // The host shown (0 = the main host); set before the dialog opens.
    void setHost(unsigned host) { host_ = host; }
    unsigned host() const { return host_; }

    // Reads the host's state from the model and shows it.
    void refresh();
    // WM_HOST_DETAIL_CHANGED refreshes; other messages are ignored.
    void notify(WindowMessage message);

    // What the dialog shows now.
    const HostDetail& shown() const { return shown_; }

  private:
    QGroupBox* makeBox(const char* name, const char* title);
    QLabel* makeValue(const QString& name);
    void buildGeneral(QGroupBox* box);
    void buildZones(QGroupBox* box);
    void buildInputs(QGroupBox* box);
    void buildRelays(QGroupBox* box);
    void relayClicked();

    ConsoleServices& services_;
    unsigned host_ = 0;
    HostDetail shown_;

    std::array<QLabel*, kGeneralRows.size()> general_labels_{};
    std::array<QLabel*, kGeneralRows.size()> general_values_{};
    std::array<QLabel*, 8> line_a_{};
    std::array<QLabel*, 8> line_b_{};
    std::array<QLabel*, 8> inputs_{};
    std::array<QCheckBox*, 8> relays_{};
    QPushButton* return_ = nullptr;
};

}  // namespace qavo
