#pragma once

#include <optional>
#include <string>

namespace qavo {

// What the operator confirmed in the login dialog.
struct Credentials {
    std::string user;
    std::string password;
    friend bool operator==(const Credentials&, const Credentials&) = default;
};

// The operator's answers to the login and password dialogs. The console
// shows CUserLogin and CPasswordCheck; tests answer from a script.
class CredentialsPrompt {
  public:
    virtual ~CredentialsPrompt() = default;
    // The login dialog, with `shown_user` in its name field and an empty
    // password field. Nothing when the operator cancels.
    virtual std::optional<Credentials> AskLogin(const std::string& shown_user) = 0;
    // The password check dialog, starting empty. Nothing when cancelled.
    virtual std::optional<std::string> AskPassword() = 0;
};

}  // namespace qavo
