#pragma once

#include <gtest/gtest.h>

#include <deque>
#include <optional>
#include <string>
#include <vector>

#include "users/credentials_prompt.h"

namespace qavo::testing {

// Answers the login and password dialogs from scripts and records what the
// login dialog was opened with. An answer that is not scripted cancels and
// fails the test.
class ScriptedPrompt final : public CredentialsPrompt {
  public:
    std::optional<Credentials> AskLogin(const std::string& shown_user) override {
        shown_users.push_back(shown_user);
        if (logins.empty()) {
            ADD_FAILURE() << "the login dialog was not expected";
            return std::nullopt;
        }
        std::optional<Credentials> answer = logins.front();
        logins.pop_front();
        return answer;
    }

    std::optional<std::string> AskPassword() override {
        ++password_asks;
        if (passwords.empty()) {
            ADD_FAILURE() << "the password dialog was not expected";
            return std::nullopt;
        }
        std::optional<std::string> answer = passwords.front();
        passwords.pop_front();
        return answer;
    }

    std::deque<std::optional<Credentials>> logins;
    std::deque<std::optional<std::string>> passwords;
    std::vector<std::string> shown_users;
    int password_asks = 0;
};

}  // namespace qavo::testing
