#pragma once

#include <cstdint>
#include <string>
#include <string_view>

#include "link/network_settings.h"
#include "model/auto_timing.h"
#include "persistence/console_database.h"
#include "platform/prompter.h"

namespace qavo {

// The settings that the console keeps in its database: the network settings
// (table `network`), the account's lock (table `user_admin`) and the
// automatic clock setting (table `auto_timing`). Database errors are shown
// with each operation's own message; none is fatal.

// Fills `settings` from the first row of `network`. Without a database, a
// table that cannot be opened or no row, every field takes its default. On
// a database error while reading shows "Save network card information";
// the fields not yet read keep their defaults.
void LoadNetworkSettings(ConsoleDatabase& db, Prompter& prompter, NetworkSettings& settings);

// Replaces the rows of `network` by one row holding `settings`. On failure
// (no database included) shows "Save network card information" and returns
// false; the table then keeps its old rows.
bool SaveNetworkSettings(ConsoleDatabase& db, Prompter& prompter, const NetworkSettings& settings);

// The start-up load of the account's `lock` and of `timing`. An empty
// `user_admin` gets the default account and an empty `auto_timing` the row
// that never fires; both are stored and `lock` and `timing` left as they
// come ("TRUE" for the new account's lock). When `user_admin` cannot be
// opened, nothing more is read. A database error shows "Error loading user
// information!" or "Error loading auto timing!" and ends the load; the value
// being loaded keeps what it had.
void LoadOperatorAndTiming(ConsoleDatabase& db, Prompter& prompter, bool& lock, AutoTiming& timing);

// Replaces the rows of `auto_timing` by one row holding `timing` ("TRUE" or
// "FALSE" for `auto`). A database error shows "Error with database exchange
// data." and returns false; without a database, or when the table cannot be
// opened, nothing is shown and false is returned.
bool SaveAutoTiming(ConsoleDatabase& db, Prompter& prompter, const AutoTiming& timing);

// A stored boolean is true only for the exact text "TRUE".
inline bool StoredTrue(std::string_view text) {
    return text == "TRUE";
}

// "a.b.c.d" of an address with its first octet in the most significant byte.
std::string FormatIPv4(uint32_t address);

// The leading decimal number of `text` (blanks and a sign allowed before it,
// as the C library reads a number), kept in one byte; no number gives 0.
uint8_t LeadingNumberByte(std::string_view text);

}  // namespace qavo
