#pragma once

#include <span>
#include <string_view>

struct sqlite3;
struct sqlite3_stmt;

namespace qavo {

// One prepared SQL statement whose parameters are all text. Owns the
// statement and finalizes it. Values are always bound, never pasted into
// the SQL text.
class Statement {
  public:
    enum class StepResult { kRow, kDone, kError };

    // How bound texts are kept: kCopy lets the caller's strings go at once;
    // kBorrow (no copy, for bulk inserts) needs them alive until the Step
    // that follows; they must be bound again before any later Step.
    enum class Binding { kCopy, kBorrow };

    Statement() = default;
    // Prepares `sql`, a single statement. The result is not valid() when the
    // SQL does not compile (for example a table or column that does not
    // exist) or holds more than one statement.
    Statement(sqlite3* db, std::string_view sql);
    ~Statement();
    Statement(Statement&& other) noexcept;
    Statement& operator=(Statement&& other) noexcept;
    Statement(const Statement&) = delete;
    Statement& operator=(const Statement&) = delete;

    bool valid() const { return stmt_ != nullptr; }

    // Binds `values` to the parameters 1..n. False when their number differs
    // from the statement's parameters or the database refuses a value.
    bool BindTexts(std::span<const std::string_view> values, Binding binding);

    StepResult Step();
    // Makes the statement ready to run again; the bindings are kept.
    void Reset();
    void Finalize();

    int column_count() const;
    std::string_view column_name(int index) const;
    // The value of column `index` of the current row, converted to text;
    // NULL reads as "". Valid until the next Step, Reset or Finalize.
    std::string_view column_text(int index) const;

  private:
    sqlite3_stmt* stmt_ = nullptr;
};

}  // namespace qavo
