#include "persistence/record_set.h"

#include <utility>

namespace qavo {
namespace {

bool SameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i) {
        auto lower = [](char c) {
            return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
        };
        if (lower(a[i]) != lower(b[i])) return false;
    }
    return true;
}

}  // namespace

RecordSet::RecordSet(Statement statement) : statement_(std::move(statement)) {
    int count = statement_.column_count();
    column_names_.reserve(static_cast<size_t>(count));
    for (int i = 0; i < count; ++i)
        column_names_.emplace_back(statement_.column_name(i));
}

RecordSet::RecordSet(RecordSet&& other) noexcept
    : statement_(std::move(other.statement_)),
      column_names_(std::move(other.column_names_)),
      open_(std::exchange(other.open_, false)),
      at_end_(std::exchange(other.at_end_, true)),
      failed_(std::exchange(other.failed_, false)) {}

RecordSet& RecordSet::operator=(RecordSet&& other) noexcept {
    if (this != &other) {
        statement_ = std::move(other.statement_);
        column_names_ = std::move(other.column_names_);
        open_ = std::exchange(other.open_, false);
        at_end_ = std::exchange(other.at_end_, true);
        failed_ = std::exchange(other.failed_, false);
    }
    return *this;
}

bool RecordSet::Start() {
    switch (statement_.Step()) {
        case Statement::StepResult::kRow:
            at_end_ = false;
            break;
        case Statement::StepResult::kDone:
            at_end_ = true;
            break;
        case Statement::StepResult::kError:
            return false;
    }
    open_ = true;
    return true;
}

bool RecordSet::MoveNext() {
    if (at_end_) return false;
    switch (statement_.Step()) {
        case Statement::StepResult::kRow:
            return true;
        case Statement::StepResult::kDone:
            at_end_ = true;
            return true;
        case Statement::StepResult::kError:
            break;
    }
    at_end_ = true;
    failed_ = true;
    return false;
}

std::optional<int> RecordSet::ColumnIndex(std::string_view column) const {
    for (size_t i = 0; i < column_names_.size(); ++i) {
        if (SameName(column_names_[i], column)) return static_cast<int>(i);
    }
    return std::nullopt;
}

std::string_view RecordSet::TextAt(int index) const {
    if (at_end_ || index < 0 || static_cast<size_t>(index) >= column_names_.size()) return {};
    return statement_.column_text(index);
}

std::optional<std::string> RecordSet::Text(std::string_view column) const {
    if (at_end_) return std::nullopt;
    std::optional<int> index = ColumnIndex(column);
    if (!index) return std::nullopt;
    return std::string(TextAt(*index));
}

void RecordSet::Close() {
    statement_.Finalize();
    open_ = false;
    at_end_ = true;
}

}  // namespace qavo
