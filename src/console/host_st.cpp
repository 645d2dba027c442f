#include "console/host_st.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include "users/user_dialog_look.h"

namespace qavo {
namespace {

// The dialogs' grey, behind a disabled label.
const QColor kDialogGrey(153, 153, 153);
// The values sit on light fields: orange and red on the dialog's grey are
// hard to tell from the grey itself.
const QColor kValueField(250, 250, 250);
// A label that does not apply to the host: lighter than the dialog's text.
const QColor kDisabledText(210, 210, 210);

// Gives `widget` its own colours for the disabled state. The main window's
// style sheet keeps the dialog's palette from reaching its children, so
// each sets what it needs itself.
void SetDisabledColours(QWidget* widget, const QColor& window) {
    QPalette pal = widget->palette();
    pal.setColor(QPalette::Disabled, QPalette::WindowText, kDisabledText);
    pal.setColor(QPalette::Disabled, QPalette::Window, window);
    widget->setPalette(pal);
}

// Shows `value` in `label`. The colour is set for the enabled states only,
// so a disabled value is drawn grey like its label.
void Show(QLabel* label, const ValueText& value) {
    label->setText(QString::fromStdString(value.text));
    QPalette pal = label->palette();
    const QColor colour(value.colour.r, value.colour.g, value.colour.b);
    pal.setColor(QPalette::Active, QPalette::WindowText, colour);
    pal.setColor(QPalette::Inactive, QPalette::WindowText, colour);
    label->setPalette(pal);
}

QString Numbered(const char* format, int number) {
    return QString::asprintf(format, number);
}

}  // namespace

CHostSt::CHostSt(ConsoleServices& services, QWidget* parent)
    : QDialog(parent), services_(services) {
    setObjectName("hostStDialog");
    SetUserDialogBackground(this);

    auto* general = makeBox("generalBox", "GENERAL STATUS");
    auto* zones = makeBox("zoneBox", "SPEAKERS PARTITION BUS STATUS");
    auto* inputs = makeBox("inputBox", "CONTACT INPUT STATUS");
    auto* relays = makeBox("relayBox", "CONTACT OUTPUT STATUS");
    buildGeneral(general);
    buildZones(zones);
    buildInputs(inputs);
    buildRelays(relays);

    return_ = new QPushButton("Return", this);
    return_->setObjectName("returnButton");
    return_->setDefault(true);
    connect(return_, &QPushButton::clicked, this, &QDialog::accept);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(return_);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(general);
    layout->addWidget(zones);
    layout->addWidget(inputs);
    layout->addWidget(relays);
    layout->addLayout(buttons);

    refresh();
}

QGroupBox* CHostSt::makeBox(const char* name, const char* title) {
    auto* box = new QGroupBox(title, this);
    box->setObjectName(name);
    return box;
}

QLabel* CHostSt::makeValue(const QString& name) {
    auto* label = new QLabel(this);
    label->setObjectName(name);
    label->setMinimumWidth(56);
    label->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    label->setMargin(1);
    label->setAutoFillBackground(true);
    QPalette pal = label->palette();
    pal.setColor(QPalette::Active, QPalette::Window, kValueField);
    pal.setColor(QPalette::Inactive, QPalette::Window, kValueField);
    label->setPalette(pal);
    SetDisabledColours(label, kDialogGrey);
    return label;
}

void CHostSt::buildGeneral(QGroupBox* box) {
    auto* grid = new QGridLayout(box);
    grid->setColumnStretch(2, 1);
    for (size_t i = 0; i < kGeneralRows.size(); ++i) {
        const GeneralRow& row = kGeneralRows[i];
        auto* label = new QLabel(row.label, box);
        label->setObjectName(QStringLiteral("label%1").arg(row.value_id));
        SetDisabledColours(label, kDialogGrey);
        general_labels_[i] = label;
        general_values_[i] = makeValue(QStringLiteral("value%1").arg(row.value_id));
        grid->addWidget(label, static_cast<int>(i), 0);
        grid->addWidget(general_values_[i], static_cast<int>(i), 1);
    }
}

void CHostSt::buildZones(QGroupBox* box) {
    auto* grid = new QGridLayout(box);
    grid->addWidget(new QLabel("A:", box), 1, 0);
    grid->addWidget(new QLabel("B:", box), 2, 0);
    for (int z = 0; z < 8; ++z) {
        grid->addWidget(new QLabel(Numbered("ZONE %.2d", z + 1), box), 0, z + 1);
        line_a_[z] = makeValue(QStringLiteral("zoneA%1").arg(z + 1));
        line_b_[z] = makeValue(QStringLiteral("zoneB%1").arg(z + 1));
        grid->addWidget(line_a_[z], 1, z + 1);
        grid->addWidget(line_b_[z], 2, z + 1);
    }
}

void CHostSt::buildInputs(QGroupBox* box) {
    auto* grid = new QGridLayout(box);
    for (int i = 0; i < 8; ++i) {
        grid->addWidget(new QLabel(Numbered("INPUT %.2d", i + 1), box), 0, i);
        inputs_[i] = makeValue(QStringLiteral("input%1").arg(i + 1));
        grid->addWidget(inputs_[i], 1, i);
    }
}

void CHostSt::buildRelays(QGroupBox* box) {
    auto* grid = new QGridLayout(box);
    for (int r = 0; r < 8; ++r) {
        relays_[r] = new QCheckBox(Numbered("  RELAY %.2d", r + 1), box);
        relays_[r]->setObjectName(QStringLiteral("relay%1").arg(r + 1));
        grid->addWidget(relays_[r], 0, r);
        connect(relays_[r], &QCheckBox::clicked, this, &CHostSt::relayClicked);
    }
}

void CHostSt::refresh() {
    HostDetailInput input;
    {
        auto lock = services_.model.Lock();
        input = TakeHostDetailInput(services_.model.live, host_);
    }
    shown_ = BuildHostDetail(input);

    setWindowTitle(QString::fromStdString(shown_.caption));
    for (size_t i = 0; i < kGeneralRows.size(); ++i) {
        Show(general_values_[i], shown_.general[i].value);
        general_values_[i]->setEnabled(shown_.general[i].enabled);
        general_labels_[i]->setEnabled(shown_.general[i].enabled);
    }
    for (size_t z = 0; z < 8; ++z) {
        Show(line_a_[z], shown_.line_a[z]);
        Show(line_b_[z], shown_.line_b[z]);
        Show(inputs_[z], shown_.inputs[z]);
        // Setting a check state is not the operator's click.
        const QSignalBlocker block(relays_[z]);
        relays_[z]->setChecked(shown_.relays[z]);
    }
}

void CHostSt::notify(WindowMessage message) {
    if (message == WM_HOST_DETAIL_CHANGED) refresh();
}

void CHostSt::relayClicked() {
    std::array<bool, 8> checked{};
    for (size_t r = 0; r < 8; ++r)
        checked[r] = relays_[r]->isChecked();
    const uint8_t byte = RelayByte(checked);
    shown_.relays = checked;
    if (host_ >= kMaxHosts) return;
    {
        auto lock = services_.model.Lock();
        services_.model.live.relay_outputs[host_] = byte;
    }
    services_.send_to_main(WM_SET_RELAYS, static_cast<intptr_t>(host_) + 1);
}

}  // namespace qavo
