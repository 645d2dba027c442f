#pragma once

#include "persistence/console_database.h"
#include "platform/prompter.h"
#include "users/credentials_prompt.h"
#include "users/user_access.h"
#include "users/user_session.h"

class QWidget;

namespace qavo {

// The user commands as the main window and the navigation pane call them.
// The callers do what follows in their own windows: after a login the link
// icon, the one-second timer and the read of the configuration; after a
// log-out the timer stops, the OTHER view and the logged-out icon.
class UserCommands {
  public:
    UserCommands(ConsoleDatabase& db, Prompter& prompter, UserSession& session,
                 CredentialsPrompt& prompt, QWidget* parent);

    // Login (command 32818). True when the operator logged in.
    bool Login() { return access_.Login(); }
    // Exit (command 32819). True when the operator is now logged out.
    bool Logout() { return access_.Logout(); }
    // Before closing the main window (`always` false) and before the
    // protected navigation items (`always` true).
    bool CheckPrivilege(bool always) { return access_.CheckPrivilege(always); }

    // Shows the account editor and stores what "Application" confirms. The
    // caller checks the privilege first.
    void EditAccount();

  private:
    ConsoleDatabase& db_;
    Prompter& prompter_;
    QWidget* parent_;
    UserAccess access_;
};

}  // namespace qavo
