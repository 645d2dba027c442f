#pragma once

#include <QIcon>
#include <QPointer>
#include <QPushButton>
#include <array>
#include <optional>
#include <vector>

#include "console/control_logic.h"
#include "console/report_list.h"

namespace qavo {

// The zone list of the control view: one row per host, a zone per cell
// with its state image. A click on a zone cell opens a push button over the
// cell; pressing that button asks the view to send CELL_COMMAND.
class ZoneList : public ReportList {
    Q_OBJECT
  public:
    // The item data role under which a cell keeps its image index.
    static constexpr int kImageRole = Qt::UserRole + 1;

    explicit ZoneList(QWidget* parent = nullptr);

    void setImages(const std::array<QIcon, kCellImageCount>& images) { images_ = images; }
    // Empties the list and fills it with `rows`. An open cell button stays
    // open while its cell still shows a zone.
    void setRows(const std::vector<ZoneRow>& rows);

    // The cell button and the cell it covers.
    QPushButton* cellButton() const { return button_; }
    std::optional<CellRef> cellButtonCell() const { return open_; }
    // Writes the button's caption back to its cell and removes the button.
    void closeCellButton();
    // A click on `cell` (nullopt: empty space), as a mouse click would do it.
    void clickCell(std::optional<CellRef> cell);

  signals:
    void cellCommand(int row, int column);

  private:
    bool showsZone(const CellRef& cell) const;
    void openCellButton(const CellRef& cell);
    void placeCellButton();

    std::array<QIcon, kCellImageCount> images_;
    QPointer<QPushButton> button_;
    std::optional<CellRef> open_;
};

}  // namespace qavo
