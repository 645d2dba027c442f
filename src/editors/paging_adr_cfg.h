#pragma once

#include <QDialog>
#include <array>
#include <cstdint>

#include "editors/paging_adr_cfg_logic.h"
#include "platform/prompter.h"
#include "widgets/cell_editor.h"

class QTableWidget;

namespace qavo {

// "Paging Address Configuration": the paging consoles in use as a table
// whose TYPE and ADDRESS cells take their values from a drop-down list
// opened over the cell by a double click. The equipment editor sets the
// values with setInput() before every opening and, on accepted(), takes
// types() and addresses() back.
class CPagingAdrCfg : public QDialog {
    Q_OBJECT
  public:
    explicit CPagingAdrCfg(Prompter& prompter, QWidget* parent = nullptr);

    void setInput(const PagingAdrInput& input);

    // The 32 types and addresses the table read back on "OK".
    const std::array<uint8_t, 32>& types() const { return result_.types; }
    const std::array<uint8_t, 32>& addresses() const { return result_.addresses; }

    QTableWidget* table() const { return table_; }
    CellEditor& cellEditor() { return cell_; }

    // "Cancel" and the close box.
    void reject() override;

  public slots:
    // The operator's double click and click on a cell of the table, or
    // outside the rows (-1, -1).
    void onCellDoubleClicked(int row, int column);
    void onCellClicked(int row, int column);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    void onOk();
    void fillTable();
    // The cells' texts and the in-place list as the logic has them.
    void showState();
    void layColumns();

    Prompter& prompter_;
    PagingAdrLogic logic_;
    PagingAdrResult result_;
    QTableWidget* table_ = nullptr;
    CellEditor cell_;
};

}  // namespace qavo
