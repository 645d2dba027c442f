#pragma once

#include "users/credentials_prompt.h"
#include "users/user_session.h"

class QWidget;

namespace qavo {

// Asks the operator with the real dialogs, CUserLogin and CPasswordCheck,
// shown modally over `parent`. The dialogs store what was confirmed into
// the session as well.
class DialogCredentialsPrompt final : public CredentialsPrompt {
  public:
    DialogCredentialsPrompt(UserSession& session, QWidget* parent)
        : session_(session), parent_(parent) {}

    std::optional<Credentials> AskLogin(const std::string& shown_user) override;
    std::optional<std::string> AskPassword() override;

  private:
    UserSession& session_;
    QWidget* parent_;
};

}  // namespace qavo
