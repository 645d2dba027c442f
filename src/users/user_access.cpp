#include "users/user_access.h"

#include <cstdio>

#include "users/account_store.h"

namespace qavo {
namespace {

constexpr int kAttempts = 3;

std::string ChanceText(const char* format, int chances) {
    char text[64];
    std::snprintf(text, sizeof text, format, chances);
    return text;
}

}  // namespace

bool UserAccess::Login() {
    std::optional<Account> expected = LoadAccountForLogin(db_, prompter_);
    if (!expected) return false;
    int chances = kAttempts - 1;
    for (int attempt = 1;; ++attempt, --chances) {
        // The dialog shows the stored name, read again each time it opens.
        std::optional<Account> shown = ReadAccount(db_, prompter_);
        std::optional<Credentials> entered = prompt_.AskLogin(shown ? shown->user : std::string());
        if (!entered) return false;
        session_.entered_user = entered->user;
        session_.entered_password = entered->password;

        const char* error = nullptr;
        if (entered->user != expected->user) {
            error = "User name error, you have a %d chance!";
        } else if (entered->password != expected->code) {
            error = "User password  error, you have a %d chance!";
        } else {
            session_.logged_in = true;
            return true;
        }
        if (attempt == kAttempts) return false;
        prompter_.Ask(BoxRequest{ChanceText(error, chances)});
    }
}

bool UserAccess::Logout() {
    std::optional<Account> account = ReadAccount(db_, prompter_);
    if (!account) return false;
    if (session_.lock && !PasswordMatches(account->code)) return false;
    session_.logged_in = false;
    return true;
}

bool UserAccess::CheckPrivilege(bool always) {
    if (!always && !(session_.logged_in && session_.lock)) return true;
    std::optional<Account> account = ReadAccount(db_, prompter_);
    if (!account) return false;
    return PasswordMatches(account->code);
}

bool UserAccess::PasswordMatches(const std::string& code) {
    std::optional<std::string> entered = prompt_.AskPassword();
    if (!entered) return false;
    session_.check_password = *entered;
    if (session_.check_password == code) return true;
    prompter_.Ask(BoxRequest{"You do not have permission inadequate.", "", BoxButtons::kOk,
                             BoxIcon::kWarning});
    return false;
}

}  // namespace qavo
