#pragma once

#include <string>

namespace qavo {

// Login state of the console operator, shared by the main window and the
// user commands.
struct UserSession {
    bool logged_in = false;
    bool lock = true;
    std::string entered_user;
    std::string entered_password;
    std::string check_password;
};

}  // namespace qavo
