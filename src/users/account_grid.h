#pragma once

#include <optional>
#include <string>

#include "users/account_store.h"

namespace qavo {

// The list of the account editor: one row (name, password) or none when the
// account could not be read, and the cell that has an edit box open over
// it. The dialog shows it and forwards the operator's clicks.
class AccountGrid {
  public:
    static constexpr int kUserColumn = 0;
    static constexpr int kCodeColumn = 1;
    static constexpr int kColumns = 2;

    // Nothing gives an empty list.
    explicit AccountGrid(std::optional<Account> row) : row_(std::move(row)) {}

    bool has_row() const { return row_.has_value(); }
    // The text of a cell; empty without a row.
    std::string text(int column) const;
    // The column whose cell is being edited.
    std::optional<int> open_column() const { return open_column_; }

    enum class DoubleClickResult {
        kIgnored,  // not on a cell
        kOpened,   // an edit box is to be opened over the cell, holding text(column)
        kFocused,  // the cell is being edited already: its edit box takes the focus
    };
    // A double click on `column` of row `row`. An edit box open on another
    // cell is written back (with `edit_text`) and closed first.
    DoubleClickResult DoubleClick(int row, int column, const std::string& edit_text);

    // A single click anywhere in the list, or "Application": the open edit
    // box's `edit_text` goes into its cell and the box closes.
    void CloseEdit(const std::string& edit_text);

    // What "Application" stores: the texts of the row, empty without one.
    Account Stored() const;

  private:
    std::string* Cell(int column);

    std::optional<Account> row_;
    std::optional<int> open_column_;
};

}  // namespace qavo
