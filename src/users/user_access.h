#pragma once

#include "persistence/console_database.h"
#include "platform/prompter.h"
#include "users/credentials_prompt.h"
#include "users/user_session.h"

namespace qavo {

// The login, the log-out and the password check, deciding on the account
// read from the database and the operator's answers. What the main window
// does around them (status-bar icon, timer, read after login, view switch)
// is left to the caller.
class UserAccess {
  public:
    UserAccess(ConsoleDatabase& db, Prompter& prompter, UserSession& session,
               CredentialsPrompt& prompt)
        : db_(db), prompter_(prompter), session_(session), prompt_(prompt) {}

    // Up to three attempts; the first two failures are reported with the
    // chances left. True when the operator logged in.
    bool Login();

    // Asks for the password when the account is locked. True when the
    // operator is now logged out.
    bool Logout();

    // Whether a protected action may go on. With `always` false the password
    // is asked only while logged in with the account locked.
    bool CheckPrivilege(bool always);

  private:
    // The password check dialog against `code`; reports a wrong password.
    bool PasswordMatches(const std::string& code);

    ConsoleDatabase& db_;
    Prompter& prompter_;
    UserSession& session_;
    CredentialsPrompt& prompt_;
};

}  // namespace qavo
