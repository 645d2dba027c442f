#include "widgets/ipv4_edit.h"

#include <QEvent>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>
#include <algorithm>

namespace qavo {

Ipv4Edit::Ipv4Edit(QWidget* parent) : QWidget(parent) {
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->setSpacing(0);
    auto* digits = new QRegularExpressionValidator(QRegularExpression("[0-9]{0,3}"), this);
    for (int i = 0; i < 4; ++i) {
        auto* box = new QLineEdit(this);
        box->setObjectName(QString("octet%1").arg(i));
        box->setValidator(digits);
        box->setMaxLength(3);
        box->setAlignment(Qt::AlignCenter);
        box->setFixedWidth(box->fontMetrics().horizontalAdvance("0000") + 8);
        box->installEventFilter(this);
        connect(box, &QLineEdit::textEdited, this, [this, i] { onTextEdited(i); });
        boxes_[static_cast<size_t>(i)] = box;
        if (i > 0) {
            auto* dot = new QLabel(".", this);
            dot->setAlignment(Qt::AlignCenter);
            layout->addWidget(dot);
        }
        layout->addWidget(box);
    }
    layout->addStretch();
    setFocusProxy(boxes_[0]);
}

uint32_t Ipv4Edit::value() const {
    uint32_t address = 0;
    for (QLineEdit* box : boxes_) {
        const uint32_t octet = box->text().isEmpty() ? 0u : std::min(box->text().toUInt(), 255u);
        address = address << 8 | octet;
    }
    return address;
}

void Ipv4Edit::setValue(uint32_t address) {
    for (int i = 0; i < 4; ++i) {
        const uint32_t octet = (address >> (24 - 8 * i)) & 0xFF;
        boxes_[static_cast<size_t>(i)]->setText(QString::number(octet));
    }
}

void Ipv4Edit::clear() {
    for (QLineEdit* box : boxes_)
        box->clear();
}

int Ipv4Edit::indexOf(QObject* box) const {
    for (int i = 0; i < 4; ++i) {
        if (boxes_[static_cast<size_t>(i)] == box) return i;
    }
    return -1;
}

void Ipv4Edit::moveTo(int index, bool select_all) {
    if (index < 0 || index > 3) return;
    QLineEdit* box = boxes_[static_cast<size_t>(index)];
    box->setFocus(Qt::OtherFocusReason);
    if (select_all) {
        box->selectAll();
    } else {
        box->deselect();
        box->end(false);
    }
}

void Ipv4Edit::onTextEdited(int index) {
    QLineEdit* box = boxes_[static_cast<size_t>(index)];
    if (box->text().toUInt() > 255) box->setText("255");
    // A third digit fills the box.
    if (box->text().size() == 3 && box->cursorPosition() == 3) moveTo(index + 1, true);
    emit edited();
}

bool Ipv4Edit::eventFilter(QObject* watched, QEvent* event) {
    const int index = indexOf(watched);
    if (index < 0 || event->type() != QEvent::KeyPress) return QWidget::eventFilter(watched, event);
    const auto* key = static_cast<QKeyEvent*>(event);
    QLineEdit* box = boxes_[static_cast<size_t>(index)];
    if (key->text() == ".") {
        // A dot in a box that holds nothing yet stays where it is.
        if (!box->text().isEmpty() && !box->hasSelectedText()) moveTo(index + 1, true);
        return true;
    }
    if (key->key() == Qt::Key_Backspace && box->text().isEmpty() && index > 0) {
        moveTo(index - 1, false);
        return true;
    }
    return QWidget::eventFilter(watched, event);
}

}  // namespace qavo
