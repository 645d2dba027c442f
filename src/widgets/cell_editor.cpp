#include "widgets/cell_editor.h"

#include <QAbstractItemView>
#include <QComboBox>
#include <QEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QScrollBar>
#include <QTableView>
#include <QTreeView>

namespace qavo {

CellEditor::CellEditor(QObject* parent) : QObject(parent) {}

CellEditor::~CellEditor() {
    Close();
}

QComboBox* CellEditor::OpenCombo(QAbstractItemView* view, const QModelIndex& index,
                                 const QStringList& entries, int selected, bool dropped_down) {
    Close();
    auto* combo = new QComboBox(view->viewport());
    combo->setObjectName("cellCombo");
    combo->setEditable(false);
    combo->addItems(entries);
    combo->setCurrentIndex(selected >= 0 && selected < entries.size() ? selected : -1);
    attach(view, index, combo);
    // Connected once the list holds its first entry, so that only the
    // operator's moves are reported.
    connect(combo, &QComboBox::currentIndexChanged, this, &CellEditor::comboIndexChanged);
    if (dropped_down) combo->showPopup();
    return combo;
}

QLineEdit* CellEditor::OpenLineEdit(QAbstractItemView* view, const QModelIndex& index,
                                    const QString& text) {
    Close();
    auto* edit = new QLineEdit(view->viewport());
    edit->setObjectName("cellEdit");
    edit->setText(text);
    edit->deselect();
    edit->end(false);
    attach(view, index, edit);
    connect(edit, &QLineEdit::textEdited, this, &CellEditor::lineEdited);
    return edit;
}

void CellEditor::attach(QAbstractItemView* view, const QModelIndex& index, QWidget* control) {
    view_ = view;
    index_ = index;
    control_ = control;
    control->setFont(view->font());
    reposition();
    control->show();
    control->setFocus();

    // The connections end with the control.
    view->viewport()->installEventFilter(this);
    connect(view->horizontalScrollBar(), &QScrollBar::valueChanged, control,
            [this] { reposition(); });
    connect(view->verticalScrollBar(), &QScrollBar::valueChanged, control,
            [this] { reposition(); });
    QList<QHeaderView*> headers;
    if (auto* table = qobject_cast<QTableView*>(view)) {
        headers = {table->horizontalHeader(), table->verticalHeader()};
    } else if (auto* tree = qobject_cast<QTreeView*>(view)) {
        headers = {tree->header()};
    }
    for (QHeaderView* header : headers)
        connect(header, &QHeaderView::sectionResized, control, [this] { reposition(); });
}

void CellEditor::Close() {
    if (view_ != nullptr) view_->viewport()->removeEventFilter(this);
    delete control_.data();
    control_.clear();
    view_.clear();
    index_ = QPersistentModelIndex();
}

QComboBox* CellEditor::combo() const {
    return qobject_cast<QComboBox*>(control_.data());
}

QLineEdit* CellEditor::lineEdit() const {
    return qobject_cast<QLineEdit*>(control_.data());
}

QString CellEditor::text() const {
    if (QComboBox* list = combo()) return list->currentText();
    if (QLineEdit* edit = lineEdit()) return edit->text();
    return {};
}

int CellEditor::currentIndex() const {
    QComboBox* list = combo();
    return list != nullptr ? list->currentIndex() : -1;
}

void CellEditor::focus() {
    if (control_ != nullptr) control_->setFocus();
}

void CellEditor::reposition() {
    if (control_ == nullptr || view_ == nullptr) return;
    if (!index_.isValid()) {
        control_->hide();
        return;
    }
    control_->setGeometry(view_->visualRect(index_));
}

bool CellEditor::eventFilter(QObject* watched, QEvent* event) {
    if (view_ != nullptr && watched == view_->viewport() && event->type() == QEvent::Resize)
        reposition();
    return QObject::eventFilter(watched, event);
}

}  // namespace qavo
