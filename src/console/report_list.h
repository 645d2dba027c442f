#pragma once

#include <QTreeWidget>

namespace qavo {

// A report list in the console's list look: light grey background, blue
// text, full-row selection, no tree decoration. It reports where a click
// landed so that the view decides what the click means.
class ReportList : public QTreeWidget {
    Q_OBJECT
  public:
    explicit ReportList(QWidget* parent = nullptr);

    // Sets the header texts and the fixed column widths; column 0 carries
    // no text and stays hidden.
    void setColumns(const QStringList& headers, const QList<int>& widths);
    // The selected rows, top-down.
    QList<unsigned> selectedRows() const;
    // Columns that give up width, all alike, when the list is too narrow to
    // show every column at full width; never below `minimum` each.
    void setFitColumns(const QList<int>& columns, int preferred, int minimum);

  signals:
    // A left click on row/column, or on empty space (-1, -1).
    void clickedAt(int row, int column);
    void doubleClickedAnywhere();

  protected:
    bool viewportEvent(QEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;

  private:
    void fitColumns();

    QList<int> fit_columns_;
    int fit_preferred_ = 0;
    int fit_minimum_ = 0;
    // The release that ends a double click is not a click of its own.
    bool ignore_next_release_ = false;
};

}  // namespace qavo
