#include "console/report_list.h"

#include <QHeaderView>
#include <QMouseEvent>
#include <algorithm>

#include "console/control_logic.h"

namespace qavo {

ReportList::ReportList(QWidget* parent) : QTreeWidget(parent) {
    setRootIsDecorated(false);
    setIndentation(0);
    setItemsExpandable(false);
    setUniformRowHeights(true);
    setAllColumnsShowFocus(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    header()->setStretchLastSection(false);
    header()->setSectionsMovable(false);
    header()->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);

    QPalette pal = palette();
    pal.setColor(QPalette::Base, QColor(204, 204, 204));
    pal.setColor(QPalette::AlternateBase, QColor(204, 204, 204));
    pal.setColor(QPalette::Text, QColor(0, 0, 255));
    setPalette(pal);
}

void ReportList::setColumns(const QStringList& headers, const QList<int>& widths) {
    setColumnCount(static_cast<int>(headers.size()));
    setHeaderLabels(headers);
    header()->setMinimumSectionSize(0);
    for (int c = 0; c < widths.size(); ++c) {
        header()->setSectionResizeMode(c, QHeaderView::Interactive);
        setColumnWidth(c, widths[c]);
    }
    setColumnHidden(0, true);
}

QList<unsigned> ReportList::selectedRows() const {
    QList<unsigned> rows;
    for (const QModelIndex& index : selectionModel()->selectedRows()) {
        rows.append(static_cast<unsigned>(index.row()));
    }
    std::sort(rows.begin(), rows.end());
    return rows;
}

void ReportList::setFitColumns(const QList<int>& columns, int preferred, int minimum) {
    fit_columns_ = columns;
    fit_preferred_ = preferred;
    fit_minimum_ = minimum;
    fitColumns();
}

bool ReportList::viewportEvent(QEvent* event) {
    // The viewport also narrows when a scroll bar appears.
    if (event->type() == QEvent::Resize) fitColumns();
    return QTreeWidget::viewportEvent(event);
}

void ReportList::fitColumns() {
    if (fit_columns_.isEmpty()) return;
    int others = 0;
    for (int c = 0; c < columnCount(); ++c) {
        if (!fit_columns_.contains(c) && !isColumnHidden(c)) others += columnWidth(c);
    }
    const int available = (viewport()->width() - others) / static_cast<int>(fit_columns_.size());
    const int width = FitColumnWidth(fit_preferred_, available, fit_minimum_);
    for (int c : fit_columns_)
        setColumnWidth(c, width);
}

void ReportList::mouseReleaseEvent(QMouseEvent* event) {
    QTreeWidget::mouseReleaseEvent(event);
    if (event->button() != Qt::LeftButton) return;
    if (ignore_next_release_) {
        ignore_next_release_ = false;
        return;
    }
    const QModelIndex index = indexAt(event->position().toPoint());
    if (index.isValid()) {
        emit clickedAt(index.row(), index.column());
    } else {
        emit clickedAt(-1, -1);
    }
}

void ReportList::mouseDoubleClickEvent(QMouseEvent* event) {
    QTreeWidget::mouseDoubleClickEvent(event);
    ignore_next_release_ = true;
    emit doubleClickedAnywhere();
}

}  // namespace qavo
