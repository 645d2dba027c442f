#include "console/zone_list.h"

#include <QHeaderView>
#include <QScrollBar>

namespace qavo {

ZoneList::ZoneList(QWidget* parent) : ReportList(parent) {
    setSelectionMode(QAbstractItemView::SingleSelection);
    setIconSize(QSize(kCellImageWidth, kCellImageWidth));

    QStringList headers{" ", kHostIdHeader};
    QList<int> widths{0, kHostIdColumnWidth};
    for (int c = kFirstZoneColumn; c < kZoneColumnCount; ++c) {
        headers << kZoneHeader;
        widths << kZoneColumnWidth;
    }
    setColumns(headers, widths);
    // When the list is too narrow for eight full zone columns they shrink,
    // but never below what the image and "ZONE 08" need.
    QList<int> zones;
    for (int c = kFirstZoneColumn; c < kZoneColumnCount; ++c)
        zones << c;
    setFitColumns(zones, kZoneColumnWidth,
                  kCellImageWidth + fontMetrics().horizontalAdvance("ZONE 08") + 18);

    connect(this, &ReportList::clickedAt, this, [this](int row, int column) {
        clickCell(row < 0 ? std::nullopt : std::optional<CellRef>(CellRef{row, column}));
    });
    connect(this, &ReportList::doubleClickedAnywhere, this, &ZoneList::closeCellButton);
    connect(horizontalScrollBar(), &QScrollBar::valueChanged, this, &ZoneList::placeCellButton);
    connect(verticalScrollBar(), &QScrollBar::valueChanged, this, &ZoneList::placeCellButton);
    connect(header(), &QHeaderView::sectionResized, this, &ZoneList::placeCellButton);
}

void ZoneList::setRows(const std::vector<ZoneRow>& rows) {
    setUpdatesEnabled(false);
    clear();
    QList<QTreeWidgetItem*> items;
    for (const ZoneRow& row : rows) {
        auto* item = new QTreeWidgetItem;
        item->setText(1, QString::fromStdString(row.host_text));
        for (size_t i = 0; i < row.cells.size(); ++i) {
            const int column = kFirstZoneColumn + static_cast<int>(i);
            const ZoneCell& cell = row.cells[i];
            item->setText(column, QString::fromStdString(cell.text));
            item->setIcon(column, images_[cell.image]);
            item->setData(column, kImageRole, static_cast<int>(cell.image));
        }
        items.append(item);
    }
    addTopLevelItems(items);
    setUpdatesEnabled(true);

    if (open_ && !showsZone(*open_)) {
        delete button_;
        open_.reset();
    }
    placeCellButton();
}

bool ZoneList::showsZone(const CellRef& cell) const {
    const QTreeWidgetItem* item = topLevelItem(cell.row);
    return item != nullptr && cell.column >= kFirstZoneColumn && cell.column < kZoneColumnCount &&
           !item->text(cell.column).isEmpty();
}

void ZoneList::clickCell(std::optional<CellRef> cell) {
    switch (DecideCellClick(open_, cell, cell && showsZone(*cell))) {
        case CellClick::kOpen:
            openCellButton(*cell);
            break;
        case CellClick::kFocus:
            if (button_) button_->setFocus();
            break;
        case CellClick::kClose:
            closeCellButton();
            break;
        case CellClick::kNothing:
            break;
    }
}

void ZoneList::openCellButton(const CellRef& cell) {
    open_ = cell;
    button_ = new QPushButton(topLevelItem(cell.row)->text(cell.column), viewport());
    button_->setObjectName("cellButton");
    button_->setFont(font());
    connect(button_, &QPushButton::clicked, this, [this] {
        if (open_) emit cellCommand(open_->row, open_->column);
    });
    placeCellButton();
    button_->show();
}

void ZoneList::closeCellButton() {
    if (!open_) return;
    if (QTreeWidgetItem* item = topLevelItem(open_->row); item != nullptr && button_) {
        item->setText(open_->column, button_->text());
    }
    open_.reset();
    delete button_;
}

void ZoneList::placeCellButton() {
    if (!open_ || !button_) return;
    const QRect cell = visualRect(model()->index(open_->row, open_->column));
    const Rect r = CellButtonRect({cell.x(), cell.y(), cell.width(), cell.height()});
    button_->setGeometry(r.x, r.y, r.w, r.h);
}

}  // namespace qavo
