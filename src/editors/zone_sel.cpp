#include "editors/zone_sel.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "editors/editor_look.h"
#include "widgets/shade_button.h"

namespace qavo {

CZoneSel::CZoneSel(QWidget* parent) : QDialog(parent) {
    setObjectName("zoneSel");
    setWindowTitle("Partition Selection");
    SetEditorBackground(this);

    auto* zones_box = new QGroupBox(this);
    auto* grid = new QGridLayout(zones_box);
    grid->setHorizontalSpacing(18);
    grid->setVerticalSpacing(10);
    constexpr unsigned kPerRow = 4;
    for (unsigned z = 0; z < ZoneSelLogic::kZones; ++z) {
        auto* box = new QCheckBox(QString("zone %1").arg(z + 1, 2, 10, QChar('0')), zones_box);
        box->setObjectName(QString("zoneCheck%1").arg(z + 1));
        connect(box, &QCheckBox::clicked, this, [this, z](bool checked) {
            logic_.ClickZone(z, checked);
            showPage();
        });
        grid->addWidget(box, static_cast<int>(z / kPerRow), static_cast<int>(z % kPerRow));
        zones_[z] = box;
    }

    select_all_ = new QCheckBox("  Select all", this);
    select_all_->setObjectName("selectAllCheck");
    connect(select_all_, &QCheckBox::clicked, this, [this] {
        logic_.ClickSelectAll();
        showPage();
    });

    host_label_ = MakeCursorLabel("hostLabel", this);
    host_label_->setMinimumWidth(host_label_->fontMetrics().horizontalAdvance("Host 00") + 24);
    auto* previous = MakeEditorButton("<", "", "previousHost", this);
    auto* next = MakeEditorButton(">", "", "nextHost", this);
    connect(previous, &ShadeButton::clicked, this, [this] {
        logic_.Previous();
        showPage();
    });
    connect(next, &ShadeButton::clicked, this, [this] {
        logic_.Next();
        showPage();
    });
    auto* browse = new QHBoxLayout;
    browse->addWidget(select_all_);
    browse->addStretch();
    browse->addWidget(previous);
    browse->addWidget(host_label_);
    browse->addWidget(next);

    auto* ok = MakeEditorButton("OK", kEditorOkIcon, "okButton", this);
    auto* cancel = MakeEditorButton("Cancel", kEditorCancelIcon, "cancelButton", this);
    ok->setDefault(true);
    connect(ok, &ShadeButton::clicked, this, &QDialog::accept);
    connect(cancel, &ShadeButton::clicked, this, &QDialog::reject);
    connect(this, &QDialog::accepted, this,
            [this] { emit zonesSelected(logic_.selected_zones()); });
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(zones_box);
    layout->addLayout(browse);
    layout->addSpacing(8);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    showPage();
}

void CZoneSel::setInput(const ZoneSelInput& input) {
    logic_ = ZoneSelLogic(input);
    setWindowTitle(QString::fromStdString(logic_.caption()));
    showPage();
}

void CZoneSel::openWith(const ZoneSelInput& input) {
    setInput(input);
    open();
}

void CZoneSel::showPage() {
    for (unsigned z = 0; z < ZoneSelLogic::kZones; ++z) {
        zones_[z]->setEnabled(logic_.zone_enabled(z));
        zones_[z]->setChecked(logic_.zone_checked(z));
    }
    select_all_->setChecked(logic_.select_all_checked());
    host_label_->setText(QString::fromStdString(logic_.host_label()));
}

}  // namespace qavo
