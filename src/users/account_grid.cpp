#include "users/account_grid.h"

namespace qavo {

std::string AccountGrid::text(int column) const {
    if (!row_) return {};
    if (column == kUserColumn) return row_->user;
    if (column == kCodeColumn) return row_->code;
    return {};
}

std::string* AccountGrid::Cell(int column) {
    if (!row_) return nullptr;
    if (column == kUserColumn) return &row_->user;
    if (column == kCodeColumn) return &row_->code;
    return nullptr;
}

AccountGrid::DoubleClickResult AccountGrid::DoubleClick(int row, int column,
                                                        const std::string& edit_text) {
    if (row != 0 || Cell(column) == nullptr) return DoubleClickResult::kIgnored;
    if (open_column_ == column) return DoubleClickResult::kFocused;
    CloseEdit(edit_text);
    open_column_ = column;
    return DoubleClickResult::kOpened;
}

void AccountGrid::CloseEdit(const std::string& edit_text) {
    if (!open_column_) return;
    if (std::string* cell = Cell(*open_column_)) *cell = edit_text;
    open_column_.reset();
}

Account AccountGrid::Stored() const {
    return row_.value_or(Account{});
}

}  // namespace qavo
