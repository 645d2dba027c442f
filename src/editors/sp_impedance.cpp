#include "editors/sp_impedance.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QVBoxLayout>

#include "editors/editor_look.h"
#include "widgets/shade_button.h"

namespace qavo {

CSpImpedance::CSpImpedance(ConsoleServices& services, QWidget* parent)
    : QDialog(parent), services_(services) {
    setObjectName("spImpedance");
    setWindowTitle("Sensitivity adjustment");
    SetEditorBackground(this);

    // Not editable: only the five levels can be chosen.
    list_ = new QComboBox(this);
    list_->setObjectName("levelList");
    list_->setEditable(false);
    for (const char* entry : SpImpedanceLogic::kEntries)
        list_->addItem(entry);
    auto* label = new QLabel("Detection Level：", this);
    label->setBuddy(list_);
    // Mouse, keys or wheel: whatever moved the list moves the selection.
    connect(list_, &QComboBox::currentIndexChanged, this, [this](int index) {
        logic_.Select(index);
        if (list_->currentIndex() != logic_.selection()) list_->setCurrentIndex(logic_.selection());
    });

    auto* row = new QHBoxLayout;
    row->addWidget(label);
    row->addWidget(list_, 1);

    auto* ok = MakeEditorButton("OK", kEditorOkIcon, "okButton", this);
    auto* exit = MakeEditorButton("Exit", kEditorCancelIcon, "exitButton", this);
    ok->setDefault(true);
    connect(ok, &ShadeButton::clicked, this, &CSpImpedance::onOk);
    connect(exit, &ShadeButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(exit);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(row);
    layout->addSpacing(12);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetMinimumSize);
    showLiveLevel();
}

void CSpImpedance::notify(WindowMessage message) {
    if (message == WM_IMPEDANCE_LEVEL) showLiveLevel();
}

void CSpImpedance::showLiveLevel() {
    uint8_t level;
    {
        auto lock = services_.model.Lock();
        level = services_.model.live.impedance_level;
    }
    logic_.ShowLevel(level);
    list_->setCurrentIndex(logic_.selection());
}

void CSpImpedance::onOk() {
    // The request goes out with the worker; the dialog does not wait for it.
    services_.jobs.Queue(logic_.Ok(services_.model));
    accept();
}

}  // namespace qavo
