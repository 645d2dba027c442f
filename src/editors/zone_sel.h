#pragma once

#include <QDialog>
#include <array>

#include "editors/zone_sel_logic.h"

class QCheckBox;
class QLabel;

namespace qavo {

class ShadeButton;

// "Partition Selection": picks the zones of every host, one host at a
// time, out of the zones that may be chosen. An editor owns one, sets its
// input before every opening and opens it without a nested event loop:
//
//     zone_sel_->openWith(input);  // returns at once
//     connect(zone_sel_, &CZoneSel::zonesSelected, this, &Editor::takeZones);
//
// zonesSelected comes on "OK" only; "Cancel" leaves the caller's masks alone.
class CZoneSel : public QDialog {
    Q_OBJECT
  public:
    explicit CZoneSel(QWidget* parent = nullptr);

    // Starts afresh from `input`: caption, host shown and its page.
    void setInput(const ZoneSelInput& input);
    // setInput(), then open() (window-modal, returns at once).
    void openWith(const ZoneSelInput& input);
    // The masks as the clicks left them; the result once accepted.
    ZoneMasks selectedZones() const { return logic_.selected_zones(); }

    QCheckBox* zoneCheck(unsigned zone) const { return zones_[zone]; }
    QCheckBox* selectAllCheck() const { return select_all_; }
    QLabel* hostLabel() const { return host_label_; }

  signals:
    // "OK": the masks chosen, one per host.
    void zonesSelected(const qavo::ZoneMasks& selected_zones);

  private:
    void showPage();

    ZoneSelLogic logic_{ZoneSelInput{}};
    std::array<QCheckBox*, ZoneSelLogic::kZones> zones_{};
    QCheckBox* select_all_ = nullptr;
    QLabel* host_label_ = nullptr;
};

}  // namespace qavo
