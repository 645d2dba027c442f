#pragma once

#include <QDialog>
#include <array>
#include <memory>

#include "editors/dev_param_cfg_logic.h"
#include "shell/console_services.h"

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;

namespace qavo {

class CPagingAdrCfg;
class CZoneSel;
struct ListState;

// "Equipment Parameter": edits blocks 0 and 1 on a working copy. It shows
// what DevParamLogic answers and forwards the operator's choices; "OK"
// stores the copy, "Application" stores and sends it, "Cancel" asks before
// giving up a changed copy. Enter and Esc never close it. Open it with
// openEditor(): modal, without a nested event loop.
class CDevParamCfg : public QDialog {
    Q_OBJECT
  public:
    explicit CDevParamCfg(ConsoleServices& services, QWidget* parent = nullptr);
    ~CDevParamCfg() override;

    // Takes a fresh working copy from the image, with the console's code
    // page of the moment for the key names, and shows host 1, console 1 and
    // key 1; then opens.
    void openEditor();

    const DevParamLogic& logic() const { return *logic_; }
    CZoneSel* zoneSelection() const { return zone_sel_; }
    CPagingAdrCfg* addressDialog() const { return address_; }

    void reject() override;  // "Cancel" and the close box

  protected:
    void keyPressEvent(QKeyEvent* event) override;

  private:
    QComboBox* addList(const char* object_name);
    QCheckBox* addCheck(const QString& text, const QString& object_name);
    void buildLayout();
    void connectControls();
    void showView();
    void showList(QComboBox* box, const ListState& state);
    QString nameText() const;
    void ask(const std::optional<BoxRequest>& box);
    void onApplication();
    void onOk();
    void openZoneSelection();
    void openAddresses();

    ConsoleServices& services_;
    std::unique_ptr<DevParamLogic> logic_;
    unsigned name_version_ = ~0u;  // of the name last put into the edit
    CZoneSel* zone_sel_ = nullptr;
    CPagingAdrCfg* address_ = nullptr;

    // GLOBAL
    QComboBox* host_number_ = nullptr;
    QComboBox* group_number_ = nullptr;
    QComboBox* bgm_play_mode_ = nullptr;
    QComboBox* mic_push_ = nullptr;
    QComboBox* mic_release_ = nullptr;
    // LINE AUDIO AND PARTITION ENABLE CONFIGURATION
    QLabel* host_label_ = nullptr;
    QPushButton* host_up_ = nullptr;
    QPushButton* host_down_ = nullptr;
    QCheckBox* all_ = nullptr;
    std::array<QCheckBox*, kZonesPerHost> work_{};
    std::array<QCheckBox*, kZonesPerHost> detect_{};
    // PAGING
    QComboBox* quantity_ = nullptr;
    QPushButton* address_button_ = nullptr;
    QComboBox* console_push_ = nullptr;
    QComboBox* console_release_ = nullptr;
    QComboBox* work_mode_ = nullptr;
    QComboBox* bgm_type_ = nullptr;
    QComboBox* message_ = nullptr;
    QLabel* name_label_ = nullptr;
    QLineEdit* name_edit_ = nullptr;
    QListWidget* zone_summary_ = nullptr;
    QPushButton* zone_button_ = nullptr;
    QLabel* key_label_ = nullptr;
    QPushButton* key_up_ = nullptr;
    QPushButton* key_down_ = nullptr;
    QLabel* console_label_ = nullptr;
    QPushButton* console_previous_ = nullptr;
    QPushButton* console_next_ = nullptr;
};

}  // namespace qavo
