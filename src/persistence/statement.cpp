#include "persistence/statement.h"

#include <sqlite3.h>

#include <utility>

namespace qavo {
namespace {

bool OnlyBlanks(const char* text, const char* end) {
    for (; text < end; ++text) {
        if (*text != ' ' && *text != '\t' && *text != '\n' && *text != '\r' && *text != ';') {
            return false;
        }
    }
    return true;
}

}  // namespace

Statement::Statement(sqlite3* db, std::string_view sql) {
    if (db == nullptr) return;
    const char* tail = nullptr;
    sqlite3_stmt* stmt = nullptr;
    int rc = sqlite3_prepare_v2(db, sql.data(), static_cast<int>(sql.size()), &stmt, &tail);
    if (rc != SQLITE_OK || stmt == nullptr) {
        sqlite3_finalize(stmt);
        return;
    }
    // A second statement in the text would be silently ignored: refuse it.
    if (tail != nullptr && !OnlyBlanks(tail, sql.data() + sql.size())) {
        sqlite3_finalize(stmt);
        return;
    }
    stmt_ = stmt;
}

Statement::~Statement() {
    Finalize();
}

Statement::Statement(Statement&& other) noexcept : stmt_(std::exchange(other.stmt_, nullptr)) {}

Statement& Statement::operator=(Statement&& other) noexcept {
    if (this != &other) {
        Finalize();
        stmt_ = std::exchange(other.stmt_, nullptr);
    }
    return *this;
}

void Statement::Finalize() {
    if (stmt_ != nullptr) sqlite3_finalize(std::exchange(stmt_, nullptr));
}

bool Statement::BindTexts(std::span<const std::string_view> values, Binding binding) {
    if (stmt_ == nullptr) return false;
    if (static_cast<size_t>(sqlite3_bind_parameter_count(stmt_)) != values.size()) return false;
    auto destructor = binding == Binding::kCopy ? SQLITE_TRANSIENT : SQLITE_STATIC;
    for (size_t i = 0; i < values.size(); ++i) {
        // A null data pointer would bind NULL: an empty text stays text.
        const char* data = values[i].data() != nullptr ? values[i].data() : "";
        if (sqlite3_bind_text(stmt_, static_cast<int>(i + 1), data,
                              static_cast<int>(values[i].size()), destructor) != SQLITE_OK) {
            return false;
        }
    }
    return true;
}

Statement::StepResult Statement::Step() {
    if (stmt_ == nullptr) return StepResult::kError;
    switch (sqlite3_step(stmt_)) {
        case SQLITE_ROW:
            return StepResult::kRow;
        case SQLITE_DONE:
            return StepResult::kDone;
        default:
            return StepResult::kError;
    }
}

void Statement::Reset() {
    if (stmt_ != nullptr) sqlite3_reset(stmt_);
}

int Statement::column_count() const {
    return stmt_ != nullptr ? sqlite3_column_count(stmt_) : 0;
}

std::string_view Statement::column_name(int index) const {
    const char* name = stmt_ != nullptr ? sqlite3_column_name(stmt_, index) : nullptr;
    return name != nullptr ? std::string_view(name) : std::string_view();
}

std::string_view Statement::column_text(int index) const {
    if (stmt_ == nullptr) return {};
    const unsigned char* text = sqlite3_column_text(stmt_, index);
    if (text == nullptr) return {};
    int size = sqlite3_column_bytes(stmt_, index);
    return std::string_view(reinterpret_cast<const char*>(text), static_cast<size_t>(size));
}

}  // namespace qavo
