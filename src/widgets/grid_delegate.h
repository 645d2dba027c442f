#pragma once

#include <QColor>
#include <QStyledItemDelegate>

namespace qavo {

// The grid lines of a report list: each cell is drawn with a line on its
// right and bottom edges. Views derive from it for their own extras.
class GridDelegate : public QStyledItemDelegate {
  public:
    explicit GridDelegate(QObject* parent = nullptr, QColor line = QColor(160, 160, 160))
        : QStyledItemDelegate(parent), line_(line) {}

    void paint(QPainter* painter, const QStyleOptionViewItem& option,
               const QModelIndex& index) const override;

  private:
    QColor line_;
};

}  // namespace qavo
