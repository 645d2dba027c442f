#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "persistence/statement.h"

namespace qavo {

// The rows of one select, read forward one at a time, every value as text.
// Made by ConsoleDatabase::OpenTable, which already positions it on the
// first row (or at its end when the select returns nothing). Used and closed
// within one operation, before its ConsoleDatabase is closed.
class RecordSet {
  public:
    RecordSet() = default;  // not open
    RecordSet(RecordSet&& other) noexcept;
    RecordSet& operator=(RecordSet&& other) noexcept;

    // False when OpenTable failed; such a set is at its end.
    bool IsOpen() const { return open_; }
    // True past the last row, when not open, and after a database error.
    bool AtEnd() const { return at_end_; }
    // True once the database reported an error while moving.
    bool failed() const { return failed_; }

    // Moves to the next row. False when there was no current row or the
    // database reported an error (the set is then at its end and failed()).
    bool MoveNext();

    // The value of `column` (matched without regard to letter case, as SQL
    // does) in the current row. Empty when there is no current row or no
    // such column: a column missing from the table is a database error for
    // the caller.
    std::optional<std::string> Text(std::string_view column) const;

    // The position of `column` in the rows, for reading many rows fast.
    std::optional<int> ColumnIndex(std::string_view column) const;
    // The value at `index` of the current row; valid until the next move.
    std::string_view TextAt(int index) const;

    const std::vector<std::string>& column_names() const { return column_names_; }

    void Close();

  private:
    friend class ConsoleDatabase;
    explicit RecordSet(Statement statement);
    // Runs the select up to its first row. False on a database error.
    bool Start();

    Statement statement_;
    std::vector<std::string> column_names_;
    bool open_ = false;
    bool at_end_ = true;
    bool failed_ = false;
};

}  // namespace qavo
