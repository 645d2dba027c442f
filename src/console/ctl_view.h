#pragma once

#include <QIcon>
#include <array>

#include "console/control_logic.h"
#include "shell/console_services.h"
#include "shell/console_view.h"

class QAction;
class QGroupBox;
class QLabel;
class QMenu;
class QTimer;

namespace qavo {

class ReportList;
class ShadeButton;
class ZoneList;

// The operator's control screen: the zone groups, the zones of every host
// with their live state, the EMERGENCY and FAULT lamps, and the buttons that
// put the QAVO message, the alert message or a line input on the zones of
// the selected groups, switch them off and acknowledge a fault.
class CCtlView : public ConsoleView {
    Q_OBJECT
  public:
    explicit CCtlView(ConsoleServices& services, QWidget* parent = nullptr);
    ~CCtlView() override;

    int viewId() const override { return kControlView; }
    void notify(WindowMessage message, intptr_t wparam) override;

    // One tick of each lamp's one-second timer.
    void tickFaultLamp();
    void tickEmergencyLamp();
    bool faultLampLit() const { return fault_lamp_lit_; }
    bool emergencyLampLit() const { return emergency_lamp_lit_; }

    const ControlPanel& panel() const { return panel_; }
    // The context menu (its one entry: "Reflash").
    QMenu* contextMenu() const { return menu_; }

    // Asks the host for the status of every host.
    void reflash();
    // Shows the group names again in the console's code page (it changed).
    void refreshGroupNames();

  protected:
    void resizeEvent(QResizeEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    ShadeButton* makeButton(const char* name, const QString& text, QColor tint);
    QGroupBox* makeBox(const char* name, const QString& title);
    QLabel* makeLamp(const char* name);
    QLabel* makeLampLabel(const QString& text);
    std::vector<GroupRow> readGroupRows() const;
    void fillGroupList();
    void rebuildZoneList();
    void refreshDots();
    void showLamp(QLabel* lamp, bool lit, const QIcon& lit_icon);
    void layoutControls();

    void groupListClicked(int row);
    void pressAudioButton(AudioButton button);
    void pressAllZones();
    void pressAckReset();

    ConsoleServices& services_;
    ControlPanel panel_;
    bool emergency_lamp_lit_ = false;
    bool fault_lamp_lit_ = false;

    ReportList* group_list_ = nullptr;
    ZoneList* zone_list_ = nullptr;
    QGroupBox* system_box_ = nullptr;
    QGroupBox* message_box_ = nullptr;
    QGroupBox* line_box_ = nullptr;
    QGroupBox* function_box_ = nullptr;
    QLabel* emergency_lamp_ = nullptr;
    QLabel* emergency_label_ = nullptr;
    QLabel* fault_lamp_ = nullptr;
    QLabel* fault_label_ = nullptr;
    ShadeButton* ack_reset_ = nullptr;
    ShadeButton* qavo_ = nullptr;
    ShadeButton* alert_ = nullptr;
    std::array<ShadeButton*, 6> lines_{};
    ShadeButton* all_zones_ = nullptr;
    ShadeButton* off_ = nullptr;
    QTimer* fault_timer_ = nullptr;
    QTimer* emergency_timer_ = nullptr;
    QMenu* menu_ = nullptr;

    QIcon lamp_red_, lamp_yellow_, lamp_dark_;
};

// The colour of a button state dot.
QColor DotColour(StateDot dot);

}  // namespace qavo
