#include "users/dialog_credentials_prompt.h"

#include "users/password_check.h"
#include "users/user_login.h"

namespace qavo {

std::optional<Credentials> DialogCredentialsPrompt::AskLogin(const std::string& shown_user) {
    CUserLogin dialog(session_, QString::fromStdString(shown_user), parent_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return Credentials{session_.entered_user, session_.entered_password};
}

std::optional<std::string> DialogCredentialsPrompt::AskPassword() {
    CPasswordCheck dialog(session_, parent_);
    if (dialog.exec() != QDialog::Accepted) return std::nullopt;
    return session_.check_password;
}

}  // namespace qavo
