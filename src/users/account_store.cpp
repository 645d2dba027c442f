#include "users/account_store.h"

#include "persistence/table_access.h"

namespace qavo {
namespace {

constexpr const char* kLocked = "TRUE";

void Show(Prompter& prompter, const char* text) {
    prompter.Ask(BoxRequest{text});
}

}  // namespace

std::optional<Account> LoadAccountForLogin(ConsoleDatabase& db, Prompter& prompter) {
    if (!db.IsOpen()) return Account{};
    FirstRow row = ReadFirstRow(db, Table::kUserAdmin, {"user", "code"});
    if (row.status == DbStatus::kOpenFailed) return std::nullopt;
    if (row.status == DbStatus::kError) {
        Show(prompter, kUserLoadError);
        return std::nullopt;
    }
    if (row.has_row) return Account{row.values[0], row.values[1]};
    if (AppendRow(db, Table::kUserAdmin, {kDefaultAccountUser, kDefaultAccountCode, kLocked}) !=
        DbStatus::kOk) {
        Show(prompter, kUserLoadError);
        return std::nullopt;
    }
    return Account{kDefaultAccountUser, kDefaultAccountCode};
}

std::optional<Account> ReadAccount(ConsoleDatabase& db, Prompter& prompter) {
    if (!db.IsOpen()) return Account{};
    FirstRow row = ReadFirstRow(db, Table::kUserAdmin, {"user", "code"});
    if (row.status == DbStatus::kOpenFailed) return std::nullopt;
    if (row.status == DbStatus::kError) {
        Show(prompter, kUserLoadError);
        return std::nullopt;
    }
    if (!row.has_row) return Account{};
    return Account{row.values[0], row.values[1]};
}

bool WriteAccount(ConsoleDatabase& db, Prompter& prompter, const Account& account) {
    DbStatus status =
        UpdateFirstRow(db, Table::kUserAdmin, {{"user", account.user}, {"code", account.code}});
    if (status == DbStatus::kError) Show(prompter, kUserWriteError);
    return status == DbStatus::kOk;
}

}  // namespace qavo
