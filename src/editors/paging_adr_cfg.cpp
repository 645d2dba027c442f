#include "editors/paging_adr_cfg.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QMouseEvent>
#include <QTableWidget>
#include <QVBoxLayout>
#include <algorithm>

#include "editors/editor_look.h"
#include "widgets/shade_button.h"

namespace qavo {
namespace {

using Logic = PagingAdrLogic;

Qt::Alignment CellAlignment(int column) {
    return (Logic::Centred(column) ? Qt::AlignHCenter : Qt::AlignLeft) | Qt::AlignVCenter;
}

QTableWidget* MakeAddressTable(QWidget* parent) {
    auto* table = new QTableWidget(0, Logic::kColumns, parent);
    table->setObjectName("addressTable");
    for (int column = 0; column < Logic::kColumns; ++column) {
        auto* header = new QTableWidgetItem(Logic::kHeaders[static_cast<size_t>(column)]);
        header->setTextAlignment(CellAlignment(column));
        table->setHorizontalHeaderItem(column, header);
    }
    table->horizontalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->horizontalHeader()->setStretchLastSection(false);
    table->horizontalHeader()->setHighlightSections(false);
    table->verticalHeader()->hide();
    table->setShowGrid(true);
    table->setWordWrap(false);
    table->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    ApplyEditorListLook(table);
    // Rows tall enough for the list that opens over a cell.
    QComboBox probe;
    probe.setFont(table->font());
    probe.addItem(Logic::kTypeEntries[0]);
    table->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    table->verticalHeader()->setDefaultSectionSize(
        std::max(table->verticalHeader()->defaultSectionSize(), probe.sizeHint().height()));
    return table;
}

}  // namespace

CPagingAdrCfg::CPagingAdrCfg(Prompter& prompter, QWidget* parent)
    : QDialog(parent), prompter_(prompter) {
    setObjectName("pagingAdrCfg");
    setWindowTitle("Paging Address Configuration");
    SetEditorBackground(this);

    table_ = MakeAddressTable(this);
    table_->viewport()->installEventFilter(this);
    connect(&cell_, &CellEditor::comboIndexChanged, this,
            [this](int index) { logic_.Choose(index); });

    ShadeButton* ok = MakeEditorButton("OK", kEditorOkIcon, "okButton", this);
    ShadeButton* cancel = MakeEditorButton("Cancel", kEditorCancelIcon, "cancelButton", this);
    ok->setDefault(true);
    connect(ok, &ShadeButton::clicked, this, &CPagingAdrCfg::onOk);
    connect(cancel, &ShadeButton::clicked, this, &CPagingAdrCfg::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(table_, 1);
    layout->addSpacing(6);
    layout->addLayout(buttons);
    setMinimumSize(420, 300);
    resize(600, 480);

    setInput(PagingAdrInput{});
}

void CPagingAdrCfg::setInput(const PagingAdrInput& input) {
    cell_.Close();
    logic_ = PagingAdrLogic(input);
    result_ = PagingAdrResult{input.types, input.addresses};
    fillTable();
}

void CPagingAdrCfg::fillTable() {
    table_->clearContents();
    table_->setRowCount(static_cast<int>(logic_.rows().size()));
    for (int row = 0; row < table_->rowCount(); ++row) {
        for (int column = 0; column < Logic::kColumns; ++column) {
            auto* item = new QTableWidgetItem;
            item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsSelectable);
            item->setTextAlignment(CellAlignment(column));
            table_->setItem(row, column, item);
        }
    }
    showState();
    layColumns();
}

void CPagingAdrCfg::showState() {
    for (int row = 0; row < table_->rowCount(); ++row) {
        for (int column = 0; column < Logic::kColumns; ++column)
            table_->item(row, column)->setText(QString::fromStdString(logic_.text(row, column)));
    }
    if (!logic_.open_list() && cell_.isOpen()) cell_.Close();
}

void CPagingAdrCfg::layColumns() {
    const int width = table_->viewport()->width();
    for (int column = 0; column < Logic::kColumns; ++column)
        table_->setColumnWidth(column, Logic::ColumnWidth(column, width));
}

bool CPagingAdrCfg::eventFilter(QObject* watched, QEvent* event) {
    if (watched == table_->viewport()) {
        const QEvent::Type type = event->type();
        if (type == QEvent::Resize) layColumns();
        if (type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            if (mouse->button() == Qt::LeftButton) {
                const QModelIndex index = table_->indexAt(mouse->position().toPoint());
                const int row = index.isValid() ? index.row() : -1;
                const int column = index.isValid() ? index.column() : -1;
                if (type == QEvent::MouseButtonPress) {
                    onCellClicked(row, column);
                } else {
                    onCellDoubleClicked(row, column);
                }
            }
        }
    }
    return QDialog::eventFilter(watched, event);
}

void CPagingAdrCfg::onCellDoubleClicked(int row, int column) {
    switch (logic_.DoubleClick(row, column)) {
        case PagingAdrLogic::DoubleClickResult::kIgnored:
            showState();
            return;
        case PagingAdrLogic::DoubleClickResult::kFocused:
            cell_.focus();
            return;
        case PagingAdrLogic::DoubleClickResult::kOpened: {
            showState();
            const PagingAdrList& list = *logic_.open_list();
            QStringList entries;
            for (const std::string& entry : list.entries)
                entries.append(QString::fromStdString(entry));
            cell_.OpenCombo(table_, table_->model()->index(list.row, list.column), entries,
                            list.selected);
            return;
        }
    }
}

void CPagingAdrCfg::onCellClicked(int row, int column) {
    logic_.Click(row, column);
    showState();
}

void CPagingAdrCfg::onOk() {
    result_ = logic_.OK();
    showState();
    accept();
}

void CPagingAdrCfg::reject() {
    if (std::optional<BoxRequest> question = logic_.Cancel()) {
        if (!logic_.CancelAnswered(prompter_.Ask(*question))) return;
    }
    showState();
    QDialog::reject();
}

}  // namespace qavo
