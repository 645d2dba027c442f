#pragma once

#include <optional>
#include <string>

#include "persistence/console_database.h"
#include "platform/prompter.h"

namespace qavo {

// The operator account: the first row of `user_admin`. It is never kept in
// memory; every operation reads it afresh.
struct Account {
    std::string user;
    std::string code;
    friend bool operator==(const Account&, const Account&) = default;
};

// The row stored when the login finds the table empty.
inline constexpr const char* kDefaultAccountUser = "admin";
inline constexpr const char* kDefaultAccountCode = "qvl704219";

inline constexpr const char* kUserLoadError = "Error loading user information!";
inline constexpr const char* kUserWriteError = "Error with database exchange data.";

// The account as the login compares it. Without a database connection the
// name and password are empty. An empty table first gets the default account
// (locked). Nothing when the table cannot be opened (silently) or on a
// database error, which shows "Error loading user information!".
std::optional<Account> LoadAccountForLogin(ConsoleDatabase& db, Prompter& prompter);

// The account as the log-out, the password check and the dialogs read it:
// empty without a database connection or without a row. Nothing when the
// table cannot be opened (silently) or on a database error, which shows
// "Error loading user information!".
std::optional<Account> ReadAccount(ConsoleDatabase& db, Prompter& prompter);

// Stores `account` into the first row, texts unchecked. False when the table
// cannot be opened (silently) or on a database error, an empty table
// included, which shows "Error with database exchange data."; the table is
// then unchanged.
bool WriteAccount(ConsoleDatabase& db, Prompter& prompter, const Account& account);

}  // namespace qavo
