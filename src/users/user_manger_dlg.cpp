#include "users/user_manger_dlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTableWidget>

#include "users/user_dialog_look.h"
#include "widgets/shade_button.h"

namespace qavo {
namespace {

constexpr int kUserColumnWidth = 100;
constexpr int kCodeColumnWidth = 128;
// The edit box leaves this much of the cell free at its left, top, bottom
// and right.
constexpr int kEditInset = 2;

QTableWidget* MakeAccountList(QWidget* parent) {
    auto* list = new QTableWidget(0, AccountGrid::kColumns, parent);
    list->setObjectName("accountList");
    list->setHorizontalHeaderLabels({"   USER NAME", "PASSWORD"});
    list->horizontalHeader()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    list->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    list->setColumnWidth(AccountGrid::kUserColumn, kUserColumnWidth);
    list->setColumnWidth(AccountGrid::kCodeColumn, kCodeColumnWidth);
    list->verticalHeader()->hide();
    list->setShowGrid(true);
    list->setSelectionBehavior(QAbstractItemView::SelectRows);
    list->setSelectionMode(QAbstractItemView::SingleSelection);
    list->setEditTriggers(QAbstractItemView::NoEditTriggers);
    list->setMouseTracking(true);  // hover selects the row under the mouse
    QPalette palette = list->palette();
    palette.setColor(QPalette::Base, QColor(204, 204, 204));
    palette.setColor(QPalette::Text, Qt::blue);
    list->setPalette(palette);
    list->setMinimumWidth(kUserColumnWidth + kCodeColumnWidth + 2 * list->frameWidth());
    return list;
}

}  // namespace

CUserMangerDlg::CUserMangerDlg(std::optional<Account> account, ApplyFunction apply, QWidget* parent)
    : QDialog(parent), grid_(std::move(account)), apply_(std::move(apply)) {
    setWindowTitle("User Password Modification");
    SetUserDialogBackground(this);

    list_ = MakeAccountList(this);
    if (grid_.has_row()) {
        list_->setRowCount(1);
        for (int column = 0; column < AccountGrid::kColumns; ++column)
            list_->setItem(0, column, new QTableWidgetItem);
    }
    showTexts();
    list_->viewport()->installEventFilter(this);
    connect(list_, &QTableWidget::cellEntered, list_,
            [this](int row, int) { list_->selectRow(row); });

    ShadeButton* apply_button = MakeUserDialogButton("Application", kSaveIcon, "applyButton", this);
    ShadeButton* cancel = MakeUserDialogButton("Cancel", kCancelIcon, "cancelButton", this);
    connect(apply_button, &QPushButton::clicked, this, &CUserMangerDlg::onApplication);
    connect(cancel, &QPushButton::clicked, this, &CUserMangerDlg::reject);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(apply_button);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(list_);
    layout->addLayout(buttons);
}

bool CUserMangerDlg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == list_->viewport()) {
        const QEvent::Type type = event->type();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                if (type == QEvent::MouseButtonPress) {
                    closeEdit();
                } else {
                    onDoubleClick(mouse->position().toPoint());
                }
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CUserMangerDlg::onDoubleClick(const QPoint& position) {
    const QModelIndex index = list_->indexAt(position);
    const int row = index.isValid() ? index.row() : -1;
    const int column = index.isValid() ? index.column() : -1;
    switch (grid_.DoubleClick(row, column, editText().toStdString())) {
        case AccountGrid::DoubleClickResult::kIgnored:
            return;
        case AccountGrid::DoubleClickResult::kFocused:
            cell_edit_->setFocus();
            return;
        case AccountGrid::DoubleClickResult::kOpened:
            showTexts();
            openEdit(column);
            return;
    }
}

void CUserMangerDlg::openEdit(int column) {
    delete cell_edit_;
    cell_edit_ = new QLineEdit(list_->viewport());
    cell_edit_->setObjectName("cellEdit");
    cell_edit_->setFont(list_->font());
    const QRect cell = list_->visualRect(list_->model()->index(0, column));
    cell_edit_->setGeometry(cell.adjusted(kEditInset, kEditInset, -kEditInset, -kEditInset));
    cell_edit_->setText(QString::fromStdString(grid_.text(column)));
    cell_edit_->deselect();
    cell_edit_->end(false);
    cell_edit_->show();
    cell_edit_->setFocus();
}

void CUserMangerDlg::closeEdit() {
    if (!grid_.open_column()) return;
    grid_.CloseEdit(editText().toStdString());
    delete cell_edit_;
    cell_edit_ = nullptr;
    showTexts();
}

QString CUserMangerDlg::editText() const {
    return cell_edit_ != nullptr ? cell_edit_->text() : QString();
}

void CUserMangerDlg::showTexts() {
    if (!grid_.has_row()) return;
    for (int column = 0; column < AccountGrid::kColumns; ++column)
        list_->item(0, column)->setText(QString::fromStdString(grid_.text(column)));
}

void CUserMangerDlg::onApplication() {
    closeEdit();
    if (apply_) apply_(grid_.Stored());
    accept();
}

}  // namespace qavo
